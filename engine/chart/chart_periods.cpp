#include "engine/chart/chart_periods.h"

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
#include "engine/fortune/fortune.h"
#include "engine/chart/luck.h"

namespace qv {
namespace {


int BoundaryShift(const ChartRecord& rec) {
    return rec.BirthYearBoundary == 1 ? 1 : rec.BirthYearBoundary == 2 ? -1 : 0;
}

CivilDate TodayOf(const ChartRecord& rec) { return {rec.Now.Year, rec.Now.Month, rec.Now.Day}; }

void SelectLuckPillar(ChartRecord& rec, int k, bool upperHalf) {
    PeriodSelection& p = rec.Period;
    const ChartBlock& n = rec.Natal;
    p.Cell = static_cast<int16_t>(k);
    p.UpperHalf = upperHalf;
    p.Age = static_cast<int16_t>((upperHalf ? n.LuckStartAge : n.LuckStartAgeMid) + 10 * k);
    p.Stem = n.LuckStem[k];
    p.Branch = n.LuckBranch[k];
}

// The first pillar whose half holds the age; an age past every pillar keeps
// the last one rather than a stale selection.
void SelectLuckOfAge(ChartRecord& rec, int age) {
    const ChartBlock& n = rec.Natal;
    for (int i = 0; i < LuckPillarCount; ++i) {
        if (age < n.LuckStartAge + 10 * i + 5) return SelectLuckPillar(rec, i, true);
        if (age < n.LuckStartAgeMid + 10 * i + 5) return SelectLuckPillar(rec, i, false);
    }
    SelectLuckPillar(rec, LuckPillarCount - 1, false);
}

// The selected period's lunar date and the Gregorian date that follows from it.
void SetPeriodDate(ChartRecord& rec, const LunarDate& lunar, int hour) {
    PeriodSelection& p = rec.Period;
    p.LunarYear = static_cast<int16_t>(lunar.Year);
    p.LunarMonth = static_cast<int16_t>(lunar.Month);
    p.LunarDay = static_cast<int16_t>(lunar.Day);
    p.LunarLeap = lunar.Leap;
    CivilDate date{};
    if (!LunarToSolar(lunar, date)) date = CivilDate{};
    p.Year = static_cast<int16_t>(date.Year);
    p.Month = static_cast<int16_t>(date.Month);
    p.Day = static_cast<int16_t>(date.Day);
    p.Hour = static_cast<int16_t>(hour);
}

void SelectYearCell(ChartRecord& rec, int cell) {
    PeriodSelection& p = rec.Period;
    p.Cell = static_cast<int16_t>(cell);
    p.Age = static_cast<int16_t>(p.FirstAge + cell);
    const int pillar = YearPillarOf(YearOfAge(rec, p.Age));
    p.Stem = static_cast<int16_t>(pillar % 10);
    p.Branch = static_cast<int16_t>(pillar % 12);
}

// Twelve years around the selected one: two before it from the third year of
// life on, fewer at the start of life.
void CentreYearRow(ChartRecord& rec) {
    PeriodSelection& p = rec.Period;
    if (p.LunarYear == 0) {
        LunarDate today{};
        if (!SolarToLunar(TodayOf(rec), today)) today = LunarDate{YearOfAge(rec, 1), 1, 1, false};
        SetPeriodDate(rec, today, rec.Now.Hour);
    } else {
        SetPeriodDate(rec, LunarDate{p.LunarYear, p.LunarMonth, p.LunarDay, p.LunarLeap != 0}, p.Hour);
    }
    p.UpperHalf = p.LunarMonth < 7;
    int age = AgeInYear(rec, p.LunarYear);
    // The row keeps to the ages its paging reaches: from 1 to the last row's end.
    const int lastAge = LastFirstAge + LuckPillarCount - 1;
    if (age < 1 || age > lastAge) {
        age = age < 1 ? 1 : lastAge;
        SetPeriodDate(rec, LunarDate{YearOfAge(rec, age), p.LunarMonth, p.LunarDay, false}, p.Hour);
    }
    int cell = age >= 3 ? 2 : age == 2 ? 1 : 0;
    p.FirstAge = static_cast<int16_t>(age - cell);
    if (p.FirstAge > LastFirstAge) {
        p.FirstAge = LastFirstAge;
        cell = age - LastFirstAge;
    }
    SelectYearCell(rec, cell);
}

void ChooseYearCell(ChartRecord& rec, int column, bool upperHalf) {
    PeriodSelection& p = rec.Period;
    SetPeriodDate(rec, LunarDate{YearOfAge(rec, p.FirstAge + column), upperHalf ? 3 : 10, 1, false}, 10);
    p.UpperHalf = upperHalf;
    int cell = column;
    if (column == 0 && p.FirstAge > 2) {
        p.FirstAge -= 2;
        cell = 2;
    } else if (column == 0 && p.FirstAge == 2) {
        p.FirstAge = 1;
        cell = 1;
    } else if (column == LuckPillarCount - 1 && p.FirstAge < LastFirstAge) {
        p.FirstAge += 1;
        cell = LuckPillarCount - 2;
    }
    SelectYearCell(rec, cell);
}

}  // namespace

int AgeInYear(const ChartRecord& rec, int lunarYear) { return lunarYear - rec.Birth.LunarYear + 1 + BoundaryShift(rec); }

int YearOfAge(const ChartRecord& rec, int age) { return rec.Birth.LunarYear + age - 1 - BoundaryShift(rec); }


int CurrentNominalAge(const ChartRecord& rec, const CivilDate& today) {
    LunarDate lunar{today.Year, today.Month, today.Day, false};
    SolarToLunar(today, lunar);
    int age = AgeInYear(rec, lunar.Year);
    // Between 立春 and the lunar new year the year pillar is a year ahead of (or behind) the
    // lunar year; the age follows the pillar.
    PillarQuad pillars{};
    if (rec.SolarTerms && MomentToPillars(*rec.SolarTerms, rec.Options.FirstTimeBase,
                                          Moment{today.Year, today.Month, today.Day, 12, 0}, pillars)) {
        const int pillarBranch = pillars.Pillar[YearPillar] % 12;
        const int lunarBranch = FloorMod(lunar.Year - 4, 12);
        if (pillarBranch == (lunarBranch + 1) % 12) ++age;
        if (pillarBranch == (lunarBranch + 11) % 12) --age;
    }
    return age;
}







void ChooseKind(ChartRecord& rec, int kind) {
    rec.ChartKind = static_cast<int16_t>(kind);
    PeriodSelection& p = rec.Period;
    if (kind == NatalKind) {
        p.Cell = -1;
        p.FirstAge = 0;
        return;
    }
    if (kind == LuckKind) {
        p.CurrentAge = static_cast<int16_t>(CurrentNominalAge(rec, TodayOf(rec)));
        SelectLuckOfAge(rec, p.CurrentAge);
    } else {
        CentreYearRow(rec);
    }
    RebuildFlow(rec);
}

void ChooseCell(ChartRecord& rec, int column, bool upperHalf) {
    if (column < 0 || column >= LuckPillarCount) return;
    if (rec.ChartKind == YearKind) {
        ChooseYearCell(rec, column, upperHalf);
    } else {
        rec.ChartKind = LuckKind;
        SelectLuckPillar(rec, column, upperHalf);
    }
    RebuildFlow(rec);
}

void ChooseYear(ChartRecord& rec, int lunarYear, bool upperHalf) {
    SetPeriodDate(rec, LunarDate{lunarYear, upperHalf ? 3 : 10, 1, false}, 10);
    ChooseKind(rec, YearKind);
}

bool StepCell(ChartRecord& rec, int leftward) {
    const int column = rec.Period.Cell + leftward;
    if (rec.ChartKind == NatalKind || rec.Period.Cell < 0 || column < 0 || column >= LuckPillarCount) return false;
    ChooseCell(rec, column, rec.Period.UpperHalf);
    return true;
}

bool ChooseHalf(ChartRecord& rec, bool upperHalf) {
    PeriodSelection& p = rec.Period;
    if (rec.ChartKind == NatalKind || p.Cell < 0) return false;
    if (rec.ChartKind != YearKind) {
        ChooseCell(rec, p.Cell, upperHalf);
        return true;
    }
    // The date a click on that half gives, the row staying where it is.
    SetPeriodDate(rec, LunarDate{YearOfAge(rec, p.FirstAge + p.Cell), upperHalf ? 3 : 10, 1, false}, 10);
    p.UpperHalf = upperHalf;
    SelectYearCell(rec, p.Cell);
    RebuildFlow(rec);
    return true;
}

void RebuildFlow(ChartRecord& rec) {
    const PeriodSelection& p = rec.Period;
    // Both evaluations start Flow afresh from Natal, so the year row's own
    // pillars go in afterwards.
    if (p.UpperHalf)
        EvaluateStem(rec, p.Stem, p.Branch, false);
    else
        EvaluateBranch(rec, p.Stem, p.Branch, false, WholeBranch);
    if (rec.ChartKind == YearKind) {
        const int first = YearPillarOf(YearOfAge(rec, p.FirstAge));
        BuildLuckPillars(rec.Flow, rec.Natal.Stem[DayPillar], true, first % 10, first % 12, false);
    }
}

void ClearPeriod(ChartRecord& rec) {
    rec.ChartKind = NatalKind;
    rec.Period = PeriodSelection{};
    rec.Period.Cell = -1;
}

}  // namespace qv
