// render: draws a person's chart as the program's chart view shows it (natal, a luck
// pillar or a year), the sixty-year strip of the flow-year window, or the
// potential window in one of its styles, into a PNG or PDF.

#include "engine/calendar/calendar.h"
#include "chart_draw.h"
#include "chart_period.h"
#include "charting.h"
#include "cli.h"
#include "flow_year_paint.h"
#include "paint_helpers.h"
#include "person_text.h"
#include "picture_out.h"
#include "potential_exchange.h"
#include "potential_paint.h"

namespace qv::cli {
namespace {

struct RenderOptions {
    PictureOptions Picture;
    std::string Name;
    int YearDisplay = 1;
    ui::ChartDrawContext Context;
    int Kind = -1;      // -1: from --luck / --year, else the natal chart
    int Luck = 0;       // 1-12: the luck pillar of the 十年盤
    int Year = 0;       // the lunar year of the 流年盤
    bool UpperHalf = true;  // --half: the stem (upper) or branch (lower) half of the cell
    bool FlowYears = false;
    int PotentialStyle = -1;  // 0-7: the potential window instead of the chart
    int Category = 0;         // of the potential window, from 0
    bool Print = false;       // the potential window's printed page
};

// --kind, --luck, --year and --flow-years, checked against each other.
bool TakePeriodOptions(Args& args, RenderOptions& options) {
    std::optional<int> kind, luck, year;
    if (!TakeNumberOption(args, "--kind", 0, 2, kind, "0 (本命盤), 1 (十年盤) or 2 (流年盤)") ||
        !TakeNumberOption(args, "--luck", 1, LuckPillarCount, luck, "a luck pillar from 1 to 12") ||
        !TakeNumberOption(args, "--year", LunarFirstYear, LunarLastYear, year, "a year from 1900 to 2099"))
        return false;
    options.Kind = kind.value_or(-1);
    options.Luck = luck.value_or(0);
    options.Year = year.value_or(0);
    options.FlowYears = args.TakeFlag("--flow-years");
    if (options.Luck && options.Year) {
        Complain("--luck and --year choose different charts; give one");
        return false;
    }
    const int implied = options.Luck ? LuckKind : options.Year ? YearKind : -1;
    if (implied >= 0 && options.Kind >= 0 && options.Kind != implied) {
        Complain(std::string(options.Luck ? "--luck" : "--year") + " needs --kind " + std::to_string(implied));
        return false;
    }
    if (options.FlowYears && (options.Kind >= 0 || implied >= 0)) {
        Complain("--flow-years draws the sixty-year strip and takes no --kind, --luck or --year");
        return false;
    }
    if (options.Kind < 0) options.Kind = implied >= 0 ? implied : NatalKind;
    return true;
}

// --potential-style, --compare-year and --category, after the period options:
// the window compares with the year chosen as the chart view would choose it.
bool TakePotentialOptions(Args& args, RenderOptions& options) {
    std::optional<int> style, compare, category;
    if (!TakeNumberOption(args, "--potential-style", 0, ui::PotentialStyleCount - 1, style) ||
        !TakeNumberOption(args, "--compare-year", LunarFirstYear, LunarLastYear, compare, "a year from 1900 to 2099") ||
        !TakeNumberOption(args, "--category", 1, MaxPotentialCategories, category))
        return false;
    if (!style) {
        if (!compare && !category) return true;
        Complain("--compare-year and --category belong to --potential-style");
        return false;
    }
    if (options.FlowYears || options.Luck || options.Year || options.Kind != NatalKind) {
        Complain("--potential-style compares with a year through --compare-year and takes no --kind, --luck, --year or --flow-years");
        return false;
    }
    options.PotentialStyle = *style;
    options.Print = args.TakeFlag("--print");
    options.Category = category.value_or(1) - 1;
    if (compare) {
        options.Year = *compare;
        options.Kind = YearKind;
    }
    return true;
}

// --half stem|branch: which half of the chosen luck pillar or year a click took.
bool TakeHalfOption(Args& args, RenderOptions& options) {
    const auto half = args.TakeValue("--half");
    if (!half) return true;
    if (*half != "stem" && *half != "branch") {
        Complain("--half takes stem or branch, not " + *half);
        return false;
    }
    if (!options.Luck && !options.Year) {
        Complain("--half goes with --luck, --year or --compare-year");
        return false;
    }
    options.UpperHalf = *half == "stem";
    return true;
}

bool TakeRenderOptions(Args& args, RenderOptions& options) {
    if (!TakePictureOptions(args, options.Picture)) return false;
    std::optional<int> display;
    if (!TakeNumberOption(args, "--year-display", 0, 1, display, "0 (AD) or 1 (ROC)")) return false;
    if (display) options.YearDisplay = *display;
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
    return TakePeriodOptions(args, options) && TakePotentialOptions(args, options) && TakeHalfOption(args, options);
}

// The chart kind and period of the options, chosen as the view's clicks would.
bool ChoosePeriod(ChartingSession& session, const RenderOptions& options) {
    ChartRecord& rec = session.Record();
    ClearPeriod(rec);
    if (options.Context.todayYear)
        session.SetToday(CivilDate{options.Context.todayYear, options.Context.todayMonth, options.Context.todayDay});
    if (options.Year) {
        if (AgeInYear(rec, options.Year) < 1) {
            Complain("the year " + std::to_string(options.Year) + " lies before the birth year");
            return false;
        }
        ChooseYear(rec, options.Year, options.UpperHalf);
    } else if (options.Luck) {
        ChooseCell(rec, options.Luck - 1, options.UpperHalf);
    } else if (options.Kind != NatalKind) {
        ChooseKind(rec, options.Kind);
    }
    return true;
}

// The potential window of the category as the program shows it on a screen
// of the logical page's size, one picture pixel a screen pixel.
int WritePotentials(RenderOptions& options, const ChartRecord& rec, const PotentialTable& table) {
    if (options.Category >= table.CategoryCount) {
        Complain(table.CategoryCount == 0 ? "no potential categories are defined; render draws them once they are"
                                          : "--category takes 1-" + std::to_string(table.CategoryCount));
        return ExitBadInput;
    }
    const ui::FrameMetrics frame;
    const int items = table.Categories[options.Category].ItemCount;
    const ui::PotentialLayout layout = ui::LayoutPotentialWindow(QSize(ui::kLogicalPageWidth, ui::kLogicalPageHeight),
                                                                 frame, items, options.PotentialStyle, false);
    const QSize client = ui::PotentialDrawingSize(layout, frame);
    const QSize page = options.Print ? QSize(PrintedPageWidth, PrintedPageHeight) : client;
    return WritePicture(options.Picture, page, [&](QPainter& painter) {
        // The fonts follow the layout's base size and need the application WritePicture makes.
        const ui::PotentialPicture picture =
            ui::MakePotentialPicture(table, rec, options.Category, options.PotentialStyle, layout);
        if (options.Print)
            ui::PaintPotentialPage(painter, QSizeF(page), picture);
        else
            ui::DrawPotentialWindow(painter, picture, client);
    });
}

}  // namespace

int RunRender(Args& args) {
    RenderOptions options;
    if (!TakeRenderOptions(args, options)) return ExitBadInput;
    Charting charting;
    if (options.PotentialStyle >= 0 && !LoadSessionTable(args, charting.Session)) return ExitNoData;
    Birth birth;
    if (const int code = ChartOneBirth(args, charting, birth); code != ExitOk) return code;
    ChartRecord& rec = charting.Record();
    rec.Person.sex = birth.Sex;
    if (!options.Name.empty() && !StoreName(rec.Person, options.Name)) return ExitBadInput;
    rec.YearDisplay = static_cast<int16_t>(options.YearDisplay);
    if (!ChoosePeriod(charting.Session, options)) return ExitBadInput;
    if (options.PotentialStyle >= 0) return WritePotentials(options, rec, charting.Session.Potentials());
    if (options.FlowYears) {
        // The strip as the window lays it out: 30 by 8 units of a fortieth of the width.
        const int unit = (options.Picture.Width ? options.Picture.Width : ui::kLogicalPageWidth) / 40;
        options.Picture.Width = 30 * unit;
        return WritePicture(options.Picture, QSize(30 * unit, 8 * unit),
                            [&](QPainter& painter) { ui::DrawFlowYears(painter, rec, unit); });
    }
    const QSize page(ui::kLogicalPageWidth, ui::kLogicalPageHeight);
    return WritePicture(options.Picture, page, [&](QPainter& painter) {
        const ui::ChartLayout layout = ui::ViewChartLayout(page.width(), page.height());
        ui::DrawChart(painter, rec, options.Context, page.width(), page.height(), layout.side);
    });
}

}  // namespace qv::cli
