// The fortune tables: luck pillars and years of life once per chart, and the
// ten years, months and days of the period on show.
#include <climits>

#include "engine/calendar/calendar.h"
#include "engine/fortune/fortune.h"
#include "engine/fortune/levels.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

// Pillar values of one category, each pillar (and stem in command) evaluated once.
class PillarValues {
public:
    PillarValues(ChartRecord& rec, int category) : Rec(rec), Category(category) {
        for (auto& row : Known) {
            for (int16_t& v : row) v = INT16_MIN;
        }
    }
    int Of(int pillar, const MonthPart& part = WholeBranch) {
        const int column = part.MonthNumber < 0 ? 10 : CommandStem(part);
        int16_t& v = Known[pillar][column];
        if (v == INT16_MIN) v = static_cast<int16_t>(PillarValue(Rec, Category, pillar % 10, pillar % 12, part));
        return v;
    }

private:
    ChartRecord& Rec;
    int Category;
    int16_t Known[60][11];  // by stem in command, the last column for the whole branch
};

bool YearConvertible(const ChartRecord& rec, int year) {
    return rec.SolarTerms != nullptr && rec.SolarTerms->Covers(year);
}

int LuckValueAt(const ChartRecord& rec, const FortuneSet& set, int age, int fallback) {
    const int k = LuckPillarAt(rec, age);
    return k < 0 ? fallback : set.LuckValue[k];
}

int AgeIn(const ChartRecord& rec, int year) { return year - BirthSolarYear(rec) + 1; }

int16_t Narrow(int v) { return static_cast<int16_t>(v); }

// Minutes on one time line, for comparing moments with the birth.
int64_t MinuteKey(const Moment& m) {
    return int64_t(DayNumber(1, m.Year, m.Month, m.Day)) * 1440 + m.Hour * 60 + m.Minute;
}

Moment TermStart(const SolarTermTable& table, int year, int term) {
    const TermMoment& t = table.At(year, term);
    return Moment{year, t.Month, t.Day, t.Hour, t.Minute};
}

// Start of month i (0 寅 … 11 丑) of the solar year, and of the month after it.
bool MonthSpan(const SolarTermTable& table, int year, int i, Moment& start, Moment& end) {
    const int startYear = i == 11 ? year + 1 : year, startTerm = i == 11 ? 0 : 2 + 2 * i;
    const int endYear = i >= 10 ? year + 1 : year, endTerm = i == 11 ? 2 : (i == 10 ? 0 : 4 + 2 * i);
    if (!table.Covers(startYear) || !table.Covers(endYear)) return false;
    start = TermStart(table, startYear, startTerm);
    end = TermStart(table, endYear, endTerm);
    return TableCanPlace(table, start);
}

int64_t BirthKey(const ChartRecord& rec) {
    const PersonRecord& p = rec.Person;
    return MinuteKey(Moment{p.year, p.month, p.day, PillarHour(p.hour), p.hour == HourUnknown ? 0 : p.minute});
}

// Changes against the value before, the first against `previous`; a period
// before birth has no change, nor has the first one after it when nothing
// before it can be compared.
void FillDeltas(const int16_t* values, int16_t* deltas, int count, int previous) {
    for (int i = 0; i < count; ++i) {
        const bool unborn = values[i] == UnbornValue || previous == UnbornValue;
        deltas[i] = Narrow(unborn ? 0 : values[i] - previous);
        if (values[i] != UnbornValue) previous = values[i];
    }
}

}  // namespace

int YearPillarOf(int year) { return FloorMod(year - 4, 60); }

int BirthSolarYear(const ChartRecord& rec) {
    const int pillar = SexagenaryOf(rec.Natal.Stem[YearPillar], rec.Natal.Branch[YearPillar]);
    return rec.Person.year - (YearPillarOf(rec.Person.year) == pillar ? 0 : 1);
}

int LuckPillarAt(const ChartRecord& rec, int age) {
    const int start = rec.Natal.LuckStartAge;
    if (age < start) return -1;
    const int k = (age - start) / 10;
    return k < LuckPillarCount ? k : LuckPillarCount - 1;
}

int LuckStartIndex(const ChartRecord& rec, int luck) { return luck < 0 ? 0 : rec.Natal.LuckStartAge - 1 + 10 * luck; }

bool FortuneMonthStart(const SolarTermTable& table, int year, int i, Moment& start) {
    Moment end{};
    return MonthSpan(table, year, i, start, end);
}

namespace {
int TravelGodOfPillar(const ChartRecord& rec, int pillar) {
    return TenGod(rec.Natal.Stem[DayPillar], MainHiddenStem(pillar % 12));
}
}  // namespace

TravelLabel TravelLabelOfPillar(const ChartRecord& rec, int pillar) {
    const int god = TravelGodOfPillar(rec, pillar);
    return TravelLabelIds(god, rec.Natal.IsStrong != 0, CategoryTableValue(rec, TravelCategory, god));
}

int TravelValueOfPillar(const ChartRecord& rec, int pillar) {
    return CategoryTableValue(rec, TravelCategory, TravelGodOfPillar(rec, pillar));
}

FortuneSet* FortuneSetOf(ChartRecord& rec, int category) {
    if (category == HealthCategory || category == Category14) category = OverallCategory;
    for (int i = 0; i < FortuneCategoryCount; ++i) {
        if (FortuneCategories[i] == category) return &rec.Fortunes[i];
    }
    return nullptr;
}

const FortuneSet* FortuneSetOf(const ChartRecord& rec, int category) {
    return FortuneSetOf(const_cast<ChartRecord&>(rec), category);
}

void ComputeLuckAndYearValues(ChartRecord& rec, int category) {
    FortuneSet* set = FortuneSetOf(rec, category);
    if (set == nullptr) return;
    const int own = FortuneCategories[set - rec.Fortunes];
    PillarValues values(rec, own);
    set->Category = Narrow(own);
    set->Baseline = Narrow(CategoryBaseline(rec, own));
    for (int k = 0; k < LuckPillarCount; ++k) {
        set->LuckValue[k] = Narrow(values.Of(SexagenaryOf(rec.Natal.LuckStem[k], rec.Natal.LuckBranch[k])));
    }
    for (int i = 0; i < YearsOfLife; ++i) {
        const int year = BirthSolarYear(rec) + i;
        if (!YearConvertible(rec, year)) {
            set->YearValue[i] = 0;
            continue;
        }
        const int y = values.Of(YearPillarOf(year));
        const int k = LuckPillarAt(rec, i + 1);
        set->YearValue[i] = Narrow(k < 0 ? y : (3 * y + 2 * set->LuckValue[k] + 2) / 5);
    }
}

void ComputeFortuneTables(ChartRecord& rec) {
    for (int category : FortuneCategories) ComputeLuckAndYearValues(rec, category);
}

void ComputeTenYearValues(ChartRecord& rec, int category, int luck) {
    if (luck < -1 || luck >= LuckPillarCount) return;
    ComputeTenYearValuesFrom(rec, category, LuckStartIndex(rec, luck));
}

void ComputeTenYearValuesFrom(ChartRecord& rec, int category, int start) {
    FortuneSet* set = FortuneSetOf(rec, category);
    if (set == nullptr || start < 0) return;
    auto yearValue = [&](int i) { return i >= 0 && i < YearsOfLife ? set->YearValue[i] : 0; };
    for (int i = 0; i < 10; ++i) set->TenYearValue[i] = Narrow(yearValue(start + i));
    const int previous = yearValue(start - 1);
    set->PreviousValue[0] = Narrow(previous);
    FillDeltas(set->TenYearValue, set->TenYearDelta, 10, previous);
    if (start == 0) set->TenYearDelta[0] = 0;
}

bool ComputeMonthValues(ChartRecord& rec, int category, int year) {
    FortuneSet* set = FortuneSetOf(rec, category);
    if (set == nullptr || rec.SolarTerms == nullptr) return false;
    const SolarTermTable& table = *rec.SolarTerms;
    const int own = FortuneCategories[set - rec.Fortunes];
    PillarValues values(rec, own);
    const int y = values.Of(YearPillarOf(year));
    const int l = LuckValueAt(rec, *set, AgeIn(rec, year), y);
    const int64_t birth = BirthKey(rec);
    int16_t monthValues[12];
    for (int i = 0; i < 12; ++i) {
        Moment start{}, end{};
        if (!MonthSpan(table, year, i, start, end)) return false;
        const int m = values.Of(MonthPillarAt(table, start));
        monthValues[i] = Narrow(MinuteKey(end) <= birth ? UnbornValue : (3 * (l + y) + 4 * m + 5) / 10);
    }
    // The month before the first: the 丑 month that closes the previous year.
    int previousMonth = 0;
    if (year != BirthSolarYear(rec)) {
        if (!table.Covers(year) || !TableCanPlace(table, TermStart(table, year, 0))) return false;
        previousMonth = values.Of(MonthPillarAt(table, TermStart(table, year, 0)));
    }
    const int index = year - BirthSolarYear(rec);
    const int yearValue = index >= 0 && index < YearsOfLife ? set->YearValue[index] : 0;
    const int previous = (6 * yearValue + 4 * previousMonth + 5) / 10;
    for (int i = 0; i < 12; ++i) set->MonthValue[i] = monthValues[i];
    set->PreviousValue[1] = Narrow(previous);
    FillDeltas(set->MonthValue, set->MonthDelta, 12, previous);
    return true;
}

namespace {

// Value of one day from the pillars of its noon; false when it cannot be placed.
bool DayValueOf(ChartRecord& rec, PillarValues& values, const CivilDate& date, int64_t birth, int& out) {
    const SolarTermTable& table = *rec.SolarTerms;
    const Moment noon{date.Year, date.Month, date.Day, 12, 0};
    PillarQuad q{};
    if (!MomentToPillars(table, PillarRatHourRule(rec.Options), noon, q)) return false;
    if (MinuteKey(Moment{date.Year, date.Month, date.Day, 23, 59}) < birth) {
        out = UnbornValue;
        return true;
    }
    const TermPlace place = TermPosition(table, noon);
    const int monthNumber = place.Index / 2 == 0 ? 12 : place.Index / 2;
    const MonthPart part{monthNumber, place.Days, place.Minutes / 60};
    const int y = values.Of(q.Pillar[YearPillar]);
    const int m = values.Of(q.Pillar[MonthPillar], part);
    const int d = values.Of(q.Pillar[DayPillar]);
    out = (3 * (y + m) + 4 * d + 5) / 10;
    return true;
}

}  // namespace

bool ComputeDayValues(ChartRecord& rec, int category, int year, int month) {
    FortuneSet* set = FortuneSetOf(rec, category);
    if (set == nullptr || rec.SolarTerms == nullptr || month < 1 || month > 12) return false;
    const int own = FortuneCategories[set - rec.Fortunes];
    PillarValues values(rec, own);
    const int64_t birth = BirthKey(rec);
    const int days = MonthLength(year, month);
    int16_t dayValues[31];
    int previous = 0;
    if (!DayValueOf(rec, values, AddDays(CivilDate{year, month, 1}, -1), birth, previous)) return false;
    for (int d = 1; d <= days; ++d) {
        int v = 0;
        if (!DayValueOf(rec, values, CivilDate{year, month, d}, birth, v)) return false;
        dayValues[d - 1] = Narrow(v);
    }
    for (int d = 0; d < days; ++d) set->DayValue[d] = dayValues[d];
    set->DayCount = Narrow(days);
    set->PreviousValue[2] = Narrow(previous);
    FillDeltas(set->DayValue, set->DayDelta, days, previous);
    return true;
}

}  // namespace qv
