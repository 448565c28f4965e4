// calendar --render: the month drawn by the calendar window's own painting.
#include "calendar_command.h"
#include "calendar_paint.h"
#include "picture_out.h"

#include <memory>

namespace qv::cli {
namespace {

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

}  // namespace

int RunCalendarPicture(Args& args) {
    const auto render = args.TakeValue("--render");
    if (args.RejectUnknownOptions()) return ExitBadInput;
    auto table = std::make_unique<SolarTermTable>();
    if (!LoadTermTable(args, *table)) return ExitNoData;
    int year = 0, month = 0;
    if (!render || args.Items.size() != 1 || !ParseCalendarMonth(args.Items[0], *table, year, month)) {
        Complain("--render draws one month YYYY-MM from " + std::to_string(table->FirstYear) + "-01 to " +
                 std::to_string(table->LastYear) + "-12");
        return ExitBadInput;
    }
    auto days = std::make_unique<MonthCalendar>();
    FillMonthCalendar(*table, year, month, *days);
    return RenderCalendarMonth(*render, *days);
}

}  // namespace qv::cli
