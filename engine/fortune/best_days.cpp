#include "engine/fortune/best_days.h"

#include <algorithm>

#include "engine/fortune/fortune.h"

namespace qv {
namespace {

constexpr int NoonDoubleHour = 6;  // 11:00-13:00, as the day tables count a day

int32_t DayKey(const CivilDate& d) { return DayNumber(1801, d.Year, d.Month, d.Day); }

BranchRelationKind FirstRelation(int dayBranch, int personBranch, bool& clash) {
    BranchPairRelation found[MaxPairRelations];
    const int n = BranchPairRelations(dayBranch, personBranch, found);
    for (int i = 0; i < n; ++i) clash = clash || found[i].Kind == Clash;
    return n ? found[0].Kind : NoRelation;
}

// The persons' day values of the month of d, computed when the month changes.
bool DayValue(ChartRecord& rec, int category, const CivilDate& d, int& month, int16_t& value) {
    if (month != d.Year * 12 + d.Month) {
        if (!ComputeDayValues(rec, category, d.Year, d.Month)) return false;
        month = d.Year * 12 + d.Month;
    }
    value = FortuneSetOf(rec, category)->DayValue[d.Day - 1];
    return true;
}

}  // namespace

bool FindBestDays(ChartRecord& a, ChartRecord* b, int category, const CivilDate& from, const CivilDate& to,
                  BestDays& out) {
    out.Count = 0;
    if (!IsValidDate(from.Year, from.Month, from.Day) || !IsValidDate(to.Year, to.Month, to.Day)) return false;
    const int32_t first = DayKey(from), last = DayKey(to);
    if (last < first || last - first >= MaxBestDays || FortuneSetOf(a, category) == nullptr) return false;
    ChartRecord* persons[2] = {&a, b};
    int months[2] = {-1, -1};
    for (int32_t n = first; n <= last; ++n) {
        BestDay& day = out.Days[out.Count];
        day = BestDay{DateFromDayNumber(1801, n), 0, 0, {0, 0}, {NoRelation, NoRelation}, false};
        day.Pillar = static_cast<uint8_t>(DayAndHourPillars(n, NoonDoubleHour, PillarRatHourRule(a.Options)).Day);
        for (int i = 0; i < 2 && persons[i]; ++i) {
            if (!DayValue(*persons[i], category, day.Date, months[i], day.Values[i])) {
                out.Count = 0;
                return false;
            }
            day.Relation[i] = FirstRelation(day.Pillar % 12, persons[i]->Natal.Branch[DayPillar], day.Clash);
        }
        day.Value = b ? std::min(day.Values[0], day.Values[1]) : day.Values[0];
        if (day.Values[0] == UnbornValue || (b && day.Values[1] == UnbornValue)) day.Value = UnbornValue;
        ++out.Count;
    }
    std::sort(out.Days, out.Days + out.Count, [](const BestDay& x, const BestDay& y) {
        // Clashing days after the others, days before a birth after all.
        const int rankX = x.Clash + 2 * (x.Value == UnbornValue), rankY = y.Clash + 2 * (y.Value == UnbornValue);
        if (rankX != rankY) return rankX < rankY;
        if (x.Value != y.Value) return x.Value > y.Value;
        return DayKey(x.Date) < DayKey(y.Date);
    });
    return true;
}

}  // namespace qv
