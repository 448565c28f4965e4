#include "fortune_curve.h"

#include <algorithm>

#include "engine/calendar/calendar.h"
#include "engine/fortune/fortune.h"
#include "engine/fortune/levels.h"
#include "engine/fortune/luck_chart.h"
#include "paint_helpers.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

// The last luck pillar the ten-year chart pages to: its ten years end at 120.
constexpr int LastPagedLuck = 10;

bool Convertible(const ChartRecord& rec, int year) { return rec.SolarTerms != nullptr && rec.SolarTerms->Covers(year); }

int RoundedMean(int sum, int count) { return count > 0 ? (sum + count / 2) / count : 0; }

int Counted(int value) { return value == UnbornValue ? 0 : value; }

// The years of the ten-year chart: index into the year table of the first.
int FirstYearIndex(const ChartRecord& rec, const FortunePeriod& period) {
    return period.LuckView ? LuckStartIndex(rec, period.Luck) : period.Year - BirthSolarYear(rec);
}

void FillLuckBars(FortuneCurve& c, const ChartRecord& rec, const FortuneSet& set) {
    LuckBar bars[MaxLuckBars];
    c.Count = LuckChartBars(rec, set, c.Category, bars);
    for (int i = 0; i < c.Count; ++i) {
        const LuckBar& b = bars[i];
        const bool before = b.Pillar < 0;
        c.Bars[i] = CurveBar{b.Value, b.Change,
                             before ? NoPillar : SexagenaryOf(rec.Natal.LuckStem[b.Pillar], rec.Natal.LuckBranch[b.Pillar]),
                             before ? 1 : rec.Natal.LuckStartAge + 10 * b.Pillar};
    }
}

void FillLifetimeBars(FortuneCurve& c, const ChartRecord& rec, const FortuneSet& set) {
    for (int i = 0; i < YearsOfLife; ++i) {
        const int value = set.YearValue[i];
        const int change = i == 0 ? 0 : value - set.YearValue[i - 1];
        const int year = BirthSolarYear(rec) + i;
        c.Bars[i] = CurveBar{value, change, YearPillarOf(year), i % 10 == 0 ? i + 1 : 0};
        c.Bars[i].OutOfTable = !Convertible(rec, year);
    }
    c.Count = YearsOfLife;
}

// Ten years from a year of life on, all within the year table and the solar-term table.
bool DecadeFits(const ChartRecord& rec, int firstIndex) {
    const int first = BirthSolarYear(rec) + firstIndex;
    return firstIndex >= 0 && firstIndex + 9 < YearsOfLife && Convertible(rec, first) && Convertible(rec, first + 9);
}

// The decade the ten-year chart opens on: the period's own, or the last one
// before it whose years the tables all hold.
void FitDecade(const ChartRecord& rec, FortunePeriod& p) {
    if (p.LuckView) {
        while (p.Luck > -1 && !DecadeFits(rec, LuckStartIndex(rec, p.Luck))) --p.Luck;
        return;
    }
    const int born = BirthSolarYear(rec);
    p.Year = std::max(p.Year, born);
    while (p.Year > born && !DecadeFits(rec, p.Year - born)) --p.Year;
}

bool FillTenYearBars(FortuneCurve& c, ChartRecord& rec, const FortuneSet& set) {
    const int first = FirstYearIndex(rec, c.Period);
    if (!DecadeFits(rec, first)) return false;
    ComputeTenYearValuesFrom(rec, c.Category, first);
    for (int i = 0; i < 10; ++i) {
        c.Bars[i] = CurveBar{set.TenYearValue[i], set.TenYearDelta[i], YearPillarOf(BirthSolarYear(rec) + first + i),
                             first + i + 1};
    }
    c.Count = 10;
    return true;
}

bool FillMonthBars(FortuneCurve& c, ChartRecord& rec, const FortuneSet& set) {
    if (!ComputeMonthValues(rec, c.Category, c.Period.Year)) return false;
    for (int i = 0; i < 12; ++i) {
        Moment start{};
        FortuneMonthStart(*rec.SolarTerms, c.Period.Year, i, start);
        CurveBar& bar = c.Bars[i];
        bar = CurveBar{set.MonthValue[i], set.MonthDelta[i], MonthPillarAt(*rec.SolarTerms, start), 0};
        bar.Month = start.Month, bar.Day = start.Day;
    }
    c.Count = 12;
    return true;
}

bool FillDayBars(FortuneCurve& c, ChartRecord& rec, const FortuneSet& set) {
    const int year = c.Period.Year, month = c.Period.Month;
    if (month < 1 || month > 12 || !ComputeDayValues(rec, c.Category, year, month)) return false;
    c.Count = set.DayCount;
    for (int d = 1; d <= c.Count; ++d) {
        PillarQuad q{};
        MomentToPillars(*rec.SolarTerms, rec.Options.FirstTimeBase, Moment{year, month, d, 12, 0}, q);
        CurveBar& bar = c.Bars[d - 1];
        bar = CurveBar{set.DayValue[d - 1], set.DayDelta[d - 1], q.Pillar[DayPillar], 0};
        bar.Month = month, bar.Day = d;
        LunarDate lunar{};
        if (SolarToLunar(CivilDate{year, month, d}, lunar)) bar.LunarMonth = lunar.Month, bar.LunarDay = lunar.Day, bar.LunarLeap = lunar.Leap;
    }
    return true;
}

void TakeStatistics(FortuneCurve& c) {
    int sum = 0;
    c.Minimum = c.Maximum = Counted(c.Bars[0].Value);
    for (int i = 0; i < c.Count; ++i) {
        const int v = Counted(c.Bars[i].Value);
        c.Minimum = std::min(c.Minimum, v);
        c.Maximum = std::max(c.Maximum, v);
        sum += v;
    }
    c.Mean = RoundedMean(sum, c.Count);
}

std::string Number(int n) { return std::to_string(n); }

std::string TitleYear(const ChartRecord& rec, int year) { return DisplayedYearText(year, rec.YearDisplay); }

}  // namespace

FortunePeriod PeriodInForce(const ChartRecord& rec, int year, int month) {
    FortunePeriod period;
    period.Year = year;
    period.Month = std::clamp(month, 1, 12);
    period.Luck = std::min(LuckPillarAt(rec, year - BirthSolarYear(rec) + 1), LastPagedLuck);
    return period;
}

bool OpenCurve(FortuneCurve& curve, ChartRecord& rec, int category, int mode, bool lifetime,
               const FortunePeriod& period) {
    const FortuneSet* set = FortuneSetOf(rec, category);
    if (set == nullptr || mode < LuckCurve || mode > DayCurve || rec.SolarTerms == nullptr) return false;
    FortuneCurve c;
    c.Category = category, c.Mode = mode, c.Lifetime = mode == LuckCurve && lifetime, c.Period = period;
    if (mode == TenYearCurve) FitDecade(rec, c.Period);
    bool filled = true;
    switch (mode) {
        case LuckCurve: c.Lifetime ? FillLifetimeBars(c, rec, *set) : FillLuckBars(c, rec, *set); break;
        case TenYearCurve: filled = FillTenYearBars(c, rec, *set); break;
        case MonthCurve: filled = FillMonthBars(c, rec, *set); break;
        default: filled = FillDayBars(c, rec, *set); break;
    }
    if (!filled || c.Count <= 0) return false;
    c.Baseline = category == OverallCategory ? 0 : set->Baseline;
    c.Band = category == OverallCategory ? 10 : 30;
    TakeStatistics(c);
    c.Axis = OpeningAxis(category, c.Minimum, c.Maximum);
    curve = c;
    return true;
}

int OpeningAxis(int category, int minimum, int maximum) {
    const int floor = category == OverallCategory                                                     ? 70
                      : category == LoveCategory || category == WealthCategory || category == TravelCategory ? 60
                                                                                                      : 50;
    const int axis = std::max(maximum, floor);
    return minimum < 0 ? std::max(axis, -minimum) : axis;
}

int PagedAxis(int minimum, int maximum) { return std::max({maximum, 70, -minimum}); }

bool CanPage(const FortuneCurve& c, const ChartRecord& rec, int direction) {
    const FortunePeriod& p = c.Period;
    const int born = BirthSolarYear(rec);
    switch (c.Mode) {
        case TenYearCurve:
            if (p.LuckView) {
                if (direction < 0) return p.Luck > -1;
                return p.Luck < LastPagedLuck && DecadeFits(rec, LuckStartIndex(rec, p.Luck + 1));
            }
            if (direction < 0) return p.Year - 10 >= born;
            return Convertible(rec, p.Year + 20) && DecadeFits(rec, p.Year + 10 - born);
        case MonthCurve:
            if (direction < 0) return p.Year > born && Convertible(rec, p.Year - 1);
            if (p.Paging == ForwardPaging::ChartProgram) return Convertible(rec, p.Year + 2);
            return Convertible(rec, p.Year + 1);
        case DayCurve:
            // The chart program runs on across the turn of a year both ways, keeping a year of the table in hand.
            if (p.Paging == ForwardPaging::ChartProgram && direction < 0 && p.Month == 1)
                return p.Year > born && Convertible(rec, p.Year - 1);
            if (p.Paging == ForwardPaging::ChartProgram && direction > 0 && p.Month == 12)
                return Convertible(rec, p.Year + 2);
            return direction < 0 ? p.Month > 1 : p.Month < 12;
        default: return false;
    }
}

bool PageCurve(FortuneCurve& curve, ChartRecord& rec, int direction) {
    if (direction == 0 || !CanPage(curve, rec, direction)) return false;
    const int step = direction < 0 ? -1 : 1;
    FortunePeriod next = curve.Period;
    if (curve.Mode == TenYearCurve) {
        next.LuckView ? next.Luck += step : next.Year += 10 * step;
    } else if (curve.Mode == MonthCurve) {
        next.Year += step;
    } else if (next.Month + step > 12) {
        next.Month = 1, ++next.Year;
    } else if (next.Month + step < 1) {
        next.Month = 12, --next.Year;
    } else {
        next.Month += step;
    }
    FortuneCurve paged;
    if (!OpenCurve(paged, rec, curve.Category, curve.Mode, curve.Lifetime, next)) return false;
    paged.Axis = PagedAxis(paged.Minimum, paged.Maximum);
    curve = paged;
    return true;
}

int BarLength(int value, int axis, int halfSpan) {
    if (axis <= 0) return 0;
    return value >= 0 ? (axis / 2 + halfSpan * value) / axis : -((axis / 2 - halfSpan * value) / axis);
}

int BandOffset(int band, int axis, int halfSpan) { return axis <= 0 ? 0 : (axis / 2 + halfSpan * band) / axis; }

std::string CategoryTitle(int category) {
    switch (category) {
        case OverallCategory: return "運勢圖";
        case LoveCategory: return "愛情運勢圖";
        case WealthCategory: return "財運圖";
        case HealthCategory: return "健康運勢圖";
        case TravelCategory: return "遷移運勢圖";
        case CareerCategory: return "事業運勢圖";
        case Category4: return "子女運勢圖";
        case Category8: return "人際運勢圖";
        case Category14: return "整體運勢圖";
        default: return {};
    }
}

std::string CurveTitle(const FortuneCurve& c, const ChartRecord& rec) {
    const std::string lunar = "農曆 ";
    std::string title;
    switch (c.Mode) {
        case LuckCurve: title = "終身"; break;
        case TenYearCurve: {
            // The years of the pillars of those ages, as the chart view's year row names them.
            const int first = BirthSolarYear(rec) + FirstYearIndex(rec, c.Period);
            title = lunar + TitleYear(rec, first) + " - " + TitleYear(rec, first + 9);
            break;
        }
        case MonthCurve: title = lunar + TitleYear(rec, c.Period.Year); break;
        default: title = lunar + TitleYear(rec, c.Period.Year) + Number(c.Period.Month) + "月"; break;
    }
    return title + CategoryTitle(c.Category);
}

std::string FeelingRowText(const FortuneCurve& c, const ChartRecord& rec, int i) {
    const CurveBar& bar = c.Bars[i];
    if (!bar.Drawn()) return {};
    if (c.Category == TravelCategory) {
        if (bar.Pillar == NoPillar) return {};
        return std::string(TravelLabelText(TravelLabelOfPillar(rec, bar.Pillar)).View());
    }
    const bool exempt = i == 0 && FirstBarExempt(c.Mode, 0);
    return std::string(FeelingLabel(FeelingOf(bar.Value, bar.Change, c.Step, exempt)).View());
}

std::string PillarRowText(const FortuneCurve& c, int i) {
    return c.Bars[i].Pillar == NoPillar ? std::string() : PillarText(c.Bars[i].Pillar);
}

std::string LunarRowText(const FortuneCurve& c, int i) {
    const CurveBar& bar = c.Bars[i];
    if (c.Mode != DayCurve || bar.LunarMonth == 0) return {};
    return (bar.LunarLeap ? "閏" : "") + Number(bar.LunarMonth) + "/" + Number(bar.LunarDay);
}

std::string AgeRowText(const FortuneCurve& c, int i) {
    const CurveBar& bar = c.Bars[i];
    switch (c.Mode) {
        case MonthCurve: return Number(bar.Month) + "/" + Number(bar.Day);
        case DayCurve: return Number(bar.Day);
        default: return bar.Age > 0 ? Number(bar.Age) : std::string();
    }
}

std::string ValueText(const FortuneCurve& c, int i) {
    return c.Bars[i].Drawn() ? Number(c.Baseline + c.Bars[i].Value) : std::string();
}

bool HasLunarRow(const FortuneCurve& c) { return c.Mode == DayCurve; }

std::string BottomRowHeading(const FortuneCurve& c) {
    return c.Mode == MonthCurve ? "月" : c.Mode == DayCurve ? "日" : "歲";
}

CurveLayout LayoutCurve(const FortuneCurve& c, int screenWidth, int screenHeight) {
    // The lifetime chart takes the whole screen: its 120 slots are narrow even there.
    const int w = c.Lifetime ? screenWidth : std::min(screenWidth, 1024);
    const int h = c.Lifetime ? std::max(screenHeight, 768) : std::min(screenHeight, 768);
    const int usable = w - w / 16;
    CurveLayout l;
    int leftUnits = 1;
    if (c.Lifetime) {
        l.Unit = std::max(usable / (c.Count + 16), LifetimeMinimumUnit);
        l.Width = (c.Count + 16) * l.Unit;
        l.Depth = 3 * h / 4;
        leftUnits = 8;
    } else if (c.Mode == DayCurve) {
        l.Unit = usable / 34;
        l.Width = 34 * l.Unit;
        l.Depth = 18 * l.Unit;
        leftUnits = 2;
    } else {
        l.Unit = usable / (c.Count + 2);
        l.Width = (c.Count + 2) * l.Unit;
        l.Depth = 8 * l.Unit;
    }
    const int u = l.Unit;
    l.BarsLeft = leftUnits * u;
    // The lifetime chart's slots are a few pixels wide: its row texts stay within them.
    l.TextSize = c.Lifetime ? std::clamp((u - 4) * 4 / 5, 6, 14) : std::clamp(u * 2 / 5, 9, 16);
    l.RowFontSize = l.TextSize + l.TextSize / 4;
    l.LineHeight = l.RowFontSize + std::max(2, l.RowFontSize / 4);
    // A text wider than its slot (counted in half-width characters) stands as a column.
    auto fits = [&](int halfWidths) { return halfWidths * l.RowFontSize / 2 <= u - 2; };
    auto lines = [&](int halfWidths, int columnLines) { return fits(halfWidths) ? 1 : columnLines; };
    const bool travel = c.Category == TravelCategory;
    l.FeelingLines = lines(travel ? 8 : 6, travel ? 4 : 3);
    l.PillarLines = lines(4, 2);
    // A value such as "-120" split over two lines misreads: the lifetime chart turns it instead.
    l.ValueTurned = c.Lifetime && !fits(4);
    l.ValueLines = l.ValueTurned ? 3 : lines(4, 2);
    // Turned, a value's height is the slot's width: as large as that leaves a pixel each side.
    l.ValueFontSize = l.ValueTurned ? std::max(l.RowFontSize, u - 2) : l.RowFontSize;
    l.RowUnit = l.LineHeight + 4;
    l.TitleHeight = 2 * l.TextSize + 10;
    const int rows = (l.FeelingLines + l.PillarLines - 2) * l.LineHeight + (HasLunarRow(c) ? 4 : 3) * l.RowUnit;
    l.RowsTop = l.Depth - rows - 4;
    l.PlotTop = l.TitleHeight;
    l.PlotHeight = l.RowsTop - l.PlotTop - 4;
    l.BaseY = l.PlotTop + l.PlotHeight / 2;
    l.HalfSpan = l.PlotHeight / 2 - l.ValueLines * l.LineHeight - 2;
    return l;
}

int RowHeight(const CurveLayout& l, int lines) { return lines * l.LineHeight + 4; }

CurveBox FeelingCell(const CurveLayout& l, int i) {
    return CurveBox{l.BarsLeft + i * l.Unit, l.RowsTop, l.Unit, RowHeight(l, l.FeelingLines)};
}

}  // namespace qv::ui
