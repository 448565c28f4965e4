#include "engine/fortune/luck_chart.h"

#include <algorithm>

#include "engine/fortune/fortune.h"

namespace qv {
namespace {

// Overall: the rounded mean of the years before the first luck pillar, measured
// from the year of birth; 0 for the other categories.
int BeforeLuckValue(const ChartRecord& rec, const FortuneSet& set, int category) {
    if (category != OverallCategory) return 0;
    const int years = std::min<int>(rec.Natal.LuckStartAge - 1, YearsOfLife);
    int sum = 0;
    for (int i = 0; i < years; ++i) sum += set.YearValue[i];
    return (sum + years / 2) / years - set.YearValue[0];
}

}  // namespace

int LuckChartBars(const ChartRecord& rec, const FortuneSet& set, int category, LuckBar (&bars)[MaxLuckBars]) {
    int n = 0;
    if (rec.Natal.LuckStartAge > 1) bars[n++] = LuckBar{BeforeLuckValue(rec, set, category), 0, -1};
    for (int k = 0; k < LuckPillarCount; ++k, ++n) {
        const int value = set.LuckValue[k];
        bars[n] = LuckBar{value, value - (n == 0 ? 0 : bars[n - 1].Value), k};
    }
    return n;
}

}  // namespace qv
