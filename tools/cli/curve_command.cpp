// curve: a fortune-curve chart as the window draws it, or its printed page
// with the banner, into a PNG or PDF.
#include <algorithm>
#include <memory>

#include "charting.h"
#include "engine/fortune/fortune.h"
#include "cli.h"
#include "fortune_curve.h"
#include "fortune_paint.h"
#include "fortune_print.h"
#include "picture_out.h"
#include "second_series.h"
#include "two_persons.h"

namespace qv::cli {
namespace {

constexpr int CurveCategories[] = {1, 3, 4, 5, 6, 7, 8, 9, 14};

struct CurveRequest {
    int Mode = -1;
    int Category = 1;
    bool Lifetime = false;
    bool Print = false;
    std::optional<int> Luck, Year, Month;
    std::string Name;  // --name: the person a printed page names
    PictureOptions Picture;
};

bool TakeCurveRequest(Args& args, CurveRequest& r) {
    std::optional<int> mode, category;
    if (!TakeNumberOption(args, "--mode", 0, 3, mode) || !TakeNumberOption(args, "--category", 1, 14, category) ||
        !TakeNumberOption(args, "--luck", -1, 10, r.Luck) || !TakeNumberOption(args, "--year", 1, 9999, r.Year) ||
        !TakeNumberOption(args, "--month", 1, 12, r.Month))
        return false;
    if (!mode) {
        Complain("--mode 0|1|2|3 is required");
        return false;
    }
    r.Mode = *mode;
    r.Category = category.value_or(1);
    if (std::ranges::find(CurveCategories, r.Category) == std::end(CurveCategories)) {
        Complain("--category takes 1, 3, 4, 5, 6, 7, 8, 9 or 14, not " + std::to_string(r.Category));
        return false;
    }
    r.Lifetime = args.TakeFlag("--lifetime");
    r.Print = args.TakeFlag("--print");
    if (const auto name = args.TakeValue("--name")) r.Name = *name;
    const char* misplaced = r.Lifetime && r.Mode != 0   ? "--lifetime goes with --mode 0"
                            : r.Luck && r.Mode != 1     ? "--luck goes with --mode 1"
                            : r.Luck && r.Year          ? "give --luck or --year, not both"
                            : r.Month && r.Mode != 3    ? "--month goes with --mode 3"
                                                        : nullptr;
    if (misplaced) {
        Complain(misplaced);
        return false;
    }
    return TakePictureOptions(args, r.Picture);
}

// The period asked for; what is not given is today's.
ui::FortunePeriod PeriodOf(const ChartRecord& rec, const CurveRequest& r) {
    ui::FortunePeriod period = ui::PeriodInForce(rec, r.Year.value_or(rec.Now.Year), r.Month.value_or(rec.Now.Month));
    if (r.Luck) period.Luck = *r.Luck;
    period.LuckView = !r.Year;
    return period;
}

}  // namespace

int RunCurve(Args& args) {
    CurveRequest r;
    if (!TakeCurveRequest(args, r)) return ExitBadInput;
    Charting charting;
    TwoPersons two;
    if (const int code = ChartTwoPersons(args, charting, two, true); code != ExitOk) return code;
    ChartRecord& rec = *two.A;
    ComputeFortuneTables(rec);
    if (!r.Name.empty() && !StoreName(rec.Person, r.Name)) return ExitBadInput;
    ui::FortuneCurve curve;
    if (!ui::OpenCurve(curve, rec, r.Category, r.Mode, r.Lifetime, PeriodOf(rec, r))) {
        Complain("that period lies outside the solar-term table or the years of life");
        return ExitBadInput;
    }
    auto second = std::make_unique<ui::SecondSeries>();
    if (two.HasB) {
        ComputeFortuneTables(*two.B);
        if (r.Print || !ui::FillSecondSeries(curve, rec, *two.B, *second)) {
            Complain("a second person goes with the lifetime (--mode 0 --lifetime) and ten-year (--mode 1) charts, "
                     "not with --print");
            return ExitBadInput;
        }
    }
    const ui::CurveLayout layout = ui::LayoutCurve(curve, 1024, 768);
    const QSize page = r.Print ? QSize(PrintedPageWidth, PrintedPageHeight) : QSize(layout.Width, layout.Depth);
    if (r.Picture.Width == 0) r.Picture.Width = page.width();
    r.Picture.Title = ui::CurveTitle(curve, rec);
    return WritePicture(r.Picture, page, [&](QPainter& painter) {
        if (r.Print) {
            ui::PaintPrintedPage(painter, QSizeF(page), curve, rec, layout, ui::LoadBanner());
        } else {
            ui::PaintFortuneCurve(painter, curve, rec, layout, QRect(QPoint(0, 0), page));
            ui::PaintSecondSeries(painter, curve, *second, layout, QRect(QPoint(0, 0), page));
        }
    });
}

}  // namespace qv::cli
