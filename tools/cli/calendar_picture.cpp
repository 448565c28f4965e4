// calendar --render: the month drawn by the calendar window's own painting.
#include "calendar_command.h"
#include "calendar_paint.h"
#include "picture_out.h"

namespace qv::cli {

int RenderCalendarMonth(const std::string& file, const MonthCalendar& month) {
    const bool pdf = file.size() > 4 && file.compare(file.size() - 4, 4, ".pdf") == 0;
    const bool png = file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0;
    if (!pdf && !png) {
        Complain("--render takes FILE.png or FILE.pdf");
        return ExitBadInput;
    }
    PictureOptions options;
    options.Out = file;
    options.Pdf = pdf;
    options.Title = ui::CalendarMonthTitle(month.Year, month.Month).toStdString();
    ui::CalendarPicture picture;
    picture.Month = month;
    return WritePicture(options, ui::CalendarPageSize(), [&](QPainter& painter) { ui::PaintCalendar(painter, picture); });
}

}  // namespace qv::cli
