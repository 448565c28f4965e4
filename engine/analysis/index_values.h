// Index values (指數) of a chart: for each stem, ten god and element a value
// K1 + K2 · sqrt(a + b + c), the base of the potential analysis.
#pragma once

#include "engine/chart/chart_record.h"

namespace qv {

// Term a per stem: how much of each stem the chart holds.
struct StemShares {
    double Stem[10];
};

// The counts of the block's own stems and hidden stems: 1 per visible stem;
// per branch 0.5, 0.3, 0.2 by hidden slot, a missing slot's share going to the
// main one, and 1 for the single hidden stem of 子, 卯 and 酉.
StemShares IndexSharesOf(const ChartBlock& block);

// StemIndex, TenGodIndex and ElementIndex of the block from the shares; the
// natal form adds the seasonal term c, the period form leaves it out.
void ComputeIndexValuesFrom(ChartBlock& block, const StemShares& shares, const ScoringParameters& params, bool natal);

// Both steps for the block's own stems.
void ComputeIndexValues(ChartBlock& block, const ScoringParameters& params, bool natal);

}  // namespace qv
