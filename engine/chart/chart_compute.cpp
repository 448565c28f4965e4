#include "engine/chart/chart_compute.h"

#include <algorithm>
#include <iterator>

#include "engine/calendar/calendar.h"
#include "engine/analysis/combinations.h"
#include "engine/analysis/index_values.h"
#include "engine/chart/luck.h"
#include "engine/fortune/potential.h"
#include "engine/analysis/roles.h"
#include "engine/chart/spirits.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

void PlacePillar(ChartBlock& block, int slot, int sexagenary) {
    block.NaYin[slot] = static_cast<uint8_t>(sexagenary / 2);
    block.Stem[slot] = static_cast<uint8_t>(sexagenary % 10);
    block.Branch[slot] = static_cast<uint8_t>(sexagenary % 12);
}

void SetLuckDirection(ChartRecord& rec) {
    rec.Natal.YearPolarity = rec.Birth.YearPolarity;
    rec.LuckForward = IsLuckForward(rec.Natal.YearPolarity, rec.Person.sex) ? 1 : 0;
}

void PlaceNatalPillars(ChartRecord& rec, const PillarQuad& pillars) {
    ChartBlock& natal = rec.Natal;
    SetLuckDirection(rec);
    for (int p = YearPillar; p <= DayPillar; ++p) PlacePillar(natal, p, pillars.Pillar[p]);
    const int hour = BirthTimeUnknown(rec) ? ConceptionPillar(pillars.Pillar[MonthPillar]) : pillars.Pillar[HourPillar];
    PlacePillar(natal, HourPillar, hour);
}

// Ages count the years of the year pillar, which turns at 立春, while the
// birth's lunar year turns at the new moon of the first month. Between the
// two the lunar year is one ahead of the pillar's (new year first: 1) or one
// behind it (立春 first: 2); ages add 1 to the lunar count for 1, take 1 for 2.
uint8_t BirthYearBoundaryOf(int lunarYear, int yearPillar) {
    if (lunarYear == 0) return 0;
    const int ahead = FloorMod(yearPillar - (lunarYear - 4), 60);
    return ahead == 59 ? 1 : ahead == 1 ? 2 : 0;
}

void FillBirthSummary(ChartRecord& rec, const PillarQuad& pillars, const Moment& m) {
    BirthSummary& b = rec.Birth;
    b = BirthSummary{};
    LunarDate lunar{};
    // Births before lunar 1900 have pillars but no lunar date; the summary keeps zeros.
    if (SolarToLunar(CivilDate{m.Year, m.Month, m.Day}, lunar)) {
        AdvanceLunarDay(lunar, m.Hour, m.Minute, LunarRatHourRule(rec.Options));
        b.LunarYear = static_cast<int16_t>(lunar.Year);
        b.LunarMonth = static_cast<int16_t>(lunar.Month);
        b.LunarDay = static_cast<int16_t>(lunar.Day);
        b.LeapMonth = lunar.Leap ? 1 : 0;
    }
    b.Hour = rec.Person.hour;
    b.Minute = rec.Person.minute;
    b.Year = static_cast<int16_t>(m.Year);
    b.Month = static_cast<int16_t>(m.Month);
    b.Day = static_cast<int16_t>(m.Day);
    b.YearStem = static_cast<int16_t>(pillars.Pillar[YearPillar] % 10);
    b.YearBranch = static_cast<int16_t>(pillars.Pillar[YearPillar] % 12);
    b.YearPolarity = static_cast<int16_t>(b.YearStem % 2);
    b.Sex = rec.Person.sex & 1;
    rec.BirthYearBoundary = BirthYearBoundaryOf(b.LunarYear, pillars.Pillar[YearPillar]);
}

}  // namespace

bool IsLuckForward(int yearPolarity, int sex) { return (yearPolarity & 1) == (sex & 1); }

int ConceptionPillar(int monthPillar) { return (monthPillar + 51) % 60; }

bool BirthTimeUnknown(const ChartRecord& rec) { return rec.Person.hour == HourUnknown; }

Moment BirthMoment(const PersonRecord& person) {
    return Moment{person.year, person.month, person.day, PillarHour(person.hour),
                  person.hour == HourUnknown ? 0 : person.minute};
}

void StoreBirthMoment(PersonRecord& person, const CivilDate& date, int hour, int minute) {
    person.year = static_cast<int16_t>(date.Year);
    person.month = static_cast<int16_t>(date.Month);
    person.day = static_cast<int16_t>(date.Day);
    person.hour = static_cast<int16_t>(hour);
    person.minute = static_cast<int16_t>(hour == HourUnknown ? 0 : minute);
    person.hourBranch = static_cast<int16_t>(DoubleHourOf(PillarHour(hour)));
}

void ComputeSymbols(ChartRecord& rec, const PillarQuad& pillars, BlockSelector sel) {
    if (sel != BlockSelector::Natal) {
        FillHiddenStemsAndGods(SelectBlock(rec, sel), rec.Options.SkyBase);
        return;
    }
    ChartBlock& natal = rec.Natal;
    PlaceNatalPillars(rec, pillars);
    FillSeasonElements(natal);
    BuildLuckPillars(natal, natal.Stem[DayPillar], rec.LuckForward != 0, natal.Stem[MonthPillar],
                     natal.Branch[MonthPillar], true);
    FillStages(natal);
    FillHiddenStemsAndGods(natal, rec.Options.SkyBase);
    FillRelationElements(natal);
    // Before the copy into Transformed, so that it never keeps another person's factors.
    FillHiddenFactors(natal, rec.Options.SkyBase);
    FillSpirits(rec, pillars);
}

void ComputeChart(ChartRecord& rec, const PillarQuad& pillars) {
    SetLuckDirection(rec);
    ComputeLuckStart(rec, pillars);
    AnalyseChart(rec, pillars);
}

void AnalyseChart(ChartRecord& rec, const PillarQuad& pillars) {
    ComputeSymbols(rec, pillars, BlockSelector::Natal);
    rec.Transformed = rec.Natal;
    AnalyseCombinations(rec, CombinationMode::Natal);
    ComputeIndexValues(rec.Natal, rec.Scoring, true);
    ComputeScores(rec.Natal);
    SelectRoles(rec, RoleMode::Natal);
    ComputePotentials(rec, NatalPotentials);
    if (!rec.HasTransformed) {
        // Nothing changed a pillar: the transformed chart is the natal one,
        // analysis and potentials included, so nothing keeps the previous person's value.
        rec.Transformed = rec.Natal;
        std::copy(std::begin(rec.PotentialIndex[NatalPotentials]), std::end(rec.PotentialIndex[NatalPotentials]),
                  rec.PotentialIndex[TransformedPotentials]);
        return;
    }
    // Transformed is the block the combinations rewrote, whichever chart kind
    // is on show, so its symbols are refilled from its own pillars.
    ChartBlock& t = rec.Transformed;
    FillHiddenStemsAndGods(t, rec.Options.SkyBase);
    FillRelationElements(t);
    FillHiddenFactors(t, rec.Options.SkyBase);
    ComputeIndexValues(t, rec.Scoring, true);
    ComputeScores(t);
    SelectRoles(rec, RoleMode::Transformed);
    ComputePotentials(rec, TransformedPotentials);
}

bool ChartPerson(ChartRecord& rec, const PersonRecord& person, PillarQuad& pillars) {
    // The category tables have a row per sex and nothing else.
    if (person.sex != 0 && person.sex != 1) return false;
    const Moment m = BirthMoment(person);
    PillarQuad converted{};
    if (!DateToPillars(rec, converted, m)) return false;
    pillars = converted;
    rec.Person = person;
    rec.BirthTerm = rec.TermIndex;
    FillBirthSummary(rec, pillars, m);
    rec.BirthSeason = static_cast<uint8_t>(SeasonOf(*rec.SolarTerms, m));
    ComputeChart(rec, pillars);
    FillVoidMarks(rec);
    return true;
}

}  // namespace qv
