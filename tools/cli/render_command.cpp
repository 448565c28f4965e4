// render: draws a person's chart as the program's chart view shows it, into a PNG or PDF.
#include <cstring>

#include "big5.h"
#include "chart_draw.h"
#include "charting.h"
#include "cli.h"
#include "paint_helpers.h"
#include "picture_out.h"

namespace qv::cli {
namespace {

struct RenderOptions {
    PictureOptions Picture;
    std::string Name;
    int YearDisplay = 1;
    ui::ChartDrawContext Context;
};

bool TakeRenderOptions(Args& args, RenderOptions& options) {
    if (!TakePictureOptions(args, options.Picture, ui::kLogicalPageWidth)) return false;
    if (const auto display = args.TakeValue("--year-display"); display && (!ParseInt(*display, options.YearDisplay) || (options.YearDisplay != 0 && options.YearDisplay != 1))) {
        Complain("--year-display takes 0 (AD) or 1 (ROC), not " + *display);
        return false;
    }
    if (const auto today = args.TakeValue("--today")) {
        CivilDate date{};
        if (!ParseDate(*today, date)) {
            Complain("--today takes YYYY-MM-DD, not " + *today);
            return false;
        }
        options.Context.todayYear = date.Year;
        options.Context.todayMonth = date.Month;
        options.Context.todayDay = date.Day;
    }
    if (const auto name = args.TakeValue("--name")) options.Name = *name;
    return true;
}

// The name as the records keep it: Big5, at most 31 bytes.
bool StoreName(PersonRecord& person, const std::string& name) {
    std::string big5;
    if (!Utf8ToBig5(name, big5)) {
        Complain("--name has characters that Big5 cannot hold");
        return false;
    }
    if (big5.size() >= sizeof person.name) {
        Complain("--name is longer than " + std::to_string(sizeof person.name - 1) + " Big5 bytes");
        return false;
    }
    std::memcpy(person.name, big5.data(), big5.size());
    return true;
}

}  // namespace

int RunRender(Args& args) {
    RenderOptions options;
    if (!TakeRenderOptions(args, options)) return ExitBadInput;
    Charting charting;
    Birth birth;
    if (const int code = ChartOneBirth(args, charting, birth); code != ExitOk) return code;
    ChartRecord& rec = *charting.Rec;
    rec.Person.sex = birth.Sex;
    if (!options.Name.empty() && !StoreName(rec.Person, options.Name)) return ExitBadInput;
    rec.YearDisplay = static_cast<int16_t>(options.YearDisplay);
    rec.ChartKind = 0;
    const QSize page(ui::kLogicalPageWidth, ui::kLogicalPageHeight);
    return WritePicture(options.Picture, page, [&](QPainter& painter) {
        const ui::ChartLayout layout = ui::ViewChartLayout(page.width(), page.height());
        ui::DrawChart(painter, rec, options.Context, page.width(), page.height(), layout.side);
    });
}

}  // namespace qv::cli
