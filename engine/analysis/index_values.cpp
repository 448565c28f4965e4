#include "engine/analysis/index_values.h"

#include <cmath>

#include "engine/chart/ganzhi.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

using namespace gz;

// The settings hold hundredths; they are applied through the single-precision
// 0.01, as the index tables users compare against were made that way.
constexpr double Hundredth = static_cast<double>(0.01f);
constexpr int IndexBase = 20, IndexScale = 30;

constexpr double SlotShare[3] = {0.5, 0.3, 0.2};

bool SingleHiddenBranch(int branch) { return branch == 子 || branch == 卯 || branch == 酉; }

// Terms b and c of an element w, everything but the shares themselves.
struct ElementTerms {
    double Extra[5];
};

ElementTerms TermsOf(const ChartBlock& block, const ScoringParameters& params, bool natal) {
    ElementTerms t{};
    const int base = params.BTYPE == 1 ? DayPillar : MonthPillar;
    const int baseElement = block.StemElement[base];
    if (baseElement == block.BranchElement[base]) t.Extra[baseElement] += params.BBase * Hundredth;
    bool inMonth[5] = {};
    for (uint8_t element : block.HiddenElement[MonthPillar]) {
        if (element != NotApplicable) inMonth[element] = true;
    }
    for (uint8_t w : block.StemElement) {
        if (inMonth[w]) t.Extra[w] += params.BADD * Hundredth;
    }
    if (natal) {
        t.Extra[block.SeasonElement[0]] += params.CBASE * Hundredth;
        t.Extra[block.SeasonElement[1]] += params.CBASE * Hundredth / 2;
    }
    return t;
}

int16_t IndexOf(double x) {
    if (x < 0) x = 0;
    return static_cast<int16_t>(IndexBase + IndexScale * std::sqrt(x) + 0.5);
}

}  // namespace

StemShares IndexSharesOf(const ChartBlock& block) {
    StemShares shares{};
    for (int p = 0; p < 4; ++p) {
        shares.Stem[block.Stem[p]] += 1;
        const uint8_t* hidden = block.HiddenStem[p];
        if (SingleHiddenBranch(block.Branch[p])) {
            if (hidden[0] != 0) shares.Stem[hidden[0] - 1] += 1;
            continue;
        }
        for (int j = 0; j < 3; ++j) {
            const int slot = hidden[j] != 0 ? j : 0;
            if (hidden[slot] != 0) shares.Stem[hidden[slot] - 1] += SlotShare[j];
        }
    }
    return shares;
}

void ComputeIndexValuesFrom(ChartBlock& block, const StemShares& shares, const ScoringParameters& params, bool natal) {
    const ElementTerms terms = TermsOf(block, params, natal);
    const int d = block.Stem[DayPillar];
    double elementShares[5] = {};
    for (int s = 0; s < 10; ++s) {
        const int w = StemElement(s);
        elementShares[w] += shares.Stem[s];
        block.StemIndex[s] = IndexOf(shares.Stem[s] + terms.Extra[w]);
        block.TenGodIndex[TenGod(d, s)] = block.StemIndex[s];
    }
    for (int e = 0; e < 5; ++e) block.ElementIndex[e] = IndexOf(elementShares[e] + terms.Extra[e]);
}

void ComputeIndexValues(ChartBlock& block, const ScoringParameters& params, bool natal) {
    ComputeIndexValuesFrom(block, IndexSharesOf(block), params, natal);
}

}  // namespace qv
