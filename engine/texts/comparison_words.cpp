#include "engine/texts/comparison_words.h"

#include <span>

#include "engine/texts/string_table.h"

namespace qv {
namespace {

std::string Word(int id) { return std::string(StringText(id)); }
std::string ElementWord(int element) { return Word(text_base::Element + element); }

}  // namespace

std::string PillarsWord(unsigned mask) {
    std::string s;
    for (int p = 0; p < 4; ++p) {
        if (!(mask >> p & 1u)) continue;
        if (!s.empty()) s += "、";
        s += StringText(text_base::PillarName + p);
    }
    return s;
}

std::vector<ComparisonLine> RelationLines(const ChartComparison& c) {
    std::vector<ComparisonLine> lines;
    for (int i = 0; i < c.StemCount; ++i) {
        const StemLink& l = c.Stems[i];
        const unsigned a = 1u << l.PillarA, b = 1u << l.PillarB;
        std::string detail = ElementWord(l.Element);
        if (l.Transforms) detail += " " + Word(TransformsText);
        lines.push_back({RelationTone::Harmonious, Word(StemUnionText), PillarsWord(a), PillarsWord(b), detail,
                         static_cast<uint8_t>(a), static_cast<uint8_t>(b)});
    }
    for (int i = 0; i < c.BranchCount; ++i) {
        const BranchLink& l = c.Branches[i];
        lines.push_back({ToneOf(l.Kind), Word(RelationKindText(l.Kind)), PillarsWord(l.PillarsA), PillarsWord(l.PillarsB),
                         l.Element < 0 ? std::string() : ElementWord(l.Element), l.PillarsA, l.PillarsB});
    }
    return lines;
}

std::string NaYinRelationWord(const ChartComparison& c) {
    const std::string a = ElementWord(c.NaYinElementA), b = ElementWord(c.NaYinElementB);
    switch (c.NaYin) {
        case NaYinSame: return Word(SameElementText);
        case NaYinAGeneratesB: return a + Word(GeneratesText) + b;
        case NaYinBGeneratesA: return b + Word(GeneratesText) + a;
        case NaYinAControlsB: return a + Word(ControlsText) + b;
        case NaYinBControlsA: break;
    }
    return b + Word(ControlsText) + a;
}

std::string SummaryWords(const ComparisonSummary& s, RelationTone tone) {
    struct Count {
        int Value, Text;
    };
    const bool harmonious = tone == RelationTone::Harmonious;
    const Count harmonies[] = {{s.StemCombinations, StemUnionText},
                               {s.BranchHarmonies, BranchUnionWordText},
                               {s.FavourableSupplied, FavourableWordText}};
    const Count conflicts[] = {{s.Clashes, RelationKindText(Clash)},
                               {s.Punishments, RelationKindText(PunishmentOxDogGoat)},
                               {s.Harms, RelationKindText(Harm)},
                               {s.UnfavourableSupplied, UnfavourableWordText}};
    std::string out;
    for (const Count& k : harmonious ? std::span<const Count>(harmonies) : std::span<const Count>(conflicts)) {
        if (k.Value == 0) continue;
        if (!out.empty()) out += "、";
        out += Word(k.Text) + " " + std::to_string(k.Value);
    }
    return out;
}

}  // namespace qv
