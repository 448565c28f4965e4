// The findings of a chart comparison in the system's words, one line each,
// for the command line and the comparison window alike.
#pragma once

#include <string>
#include <vector>

#include "engine/analysis/chart_comparison.h"

namespace qv {

struct ComparisonLine {
    RelationTone Tone;
    std::string Kind;              // 五合, 六合, 沖 …
    std::string PillarsA, PillarsB;  // 日柱, 年柱、日柱 …
    std::string Detail;            // the element leaned to, 合化
    uint8_t MaskA, MaskB;          // the pillars taking part
};

// The stem combinations, then the branch relations.
std::vector<ComparisonLine> RelationLines(const ChartComparison& c);

// "年柱、日柱" for the pillars of a mask.
std::string PillarsWord(unsigned mask);
// How the Na Yin elements of the years relate: 相同, 金剋木, 木生火 …
std::string NaYinRelationWord(const ChartComparison& c);
// The words of each kind the summary counts, "五合 2、六合 1 …", for one tone.
std::string SummaryWords(const ComparisonSummary& s, RelationTone tone);

}  // namespace qv
