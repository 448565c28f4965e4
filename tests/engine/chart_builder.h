// Test helper: a natal chart from four pillars written as text ("甲子 丙寅 甲子 甲子").
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "engine/chart/chart_compute.h"
#include "engine/chart/chart_record.h"
#include "engine/texts/string_table.h"

namespace qv::test {

inline int IndexOfText(std::string_view text, int base, int count) {
    for (int i = 0; i < count; ++i)
        if (StringText(base + i) == text) return i;
    throw std::invalid_argument(std::string(text));
}

// "甲子 丙寅 甲子 甲子" -> year, month, day, hour pillars.
inline PillarQuad Pillars(const std::string& text) {
    PillarQuad q{};
    for (int p = 0; p < 4; ++p) {
        const std::string pillar = text.substr(p * 7, 6);  // two three-byte characters and a blank
        const int stem = IndexOfText(pillar.substr(0, 3), text_base::Stem, 10);
        const int branch = IndexOfText(pillar.substr(3, 3), text_base::Branch, 12);
        q.Pillar[p] = static_cast<uint8_t>(SexagenaryOf(stem, branch));
    }
    return q;
}

// Four pillars drawn at random, as text (any stem-branch pair of equal parity).
template <typename Rng>
std::string RandomPillars(Rng& rng) {
    std::string text;
    for (int p = 0; p < 4; ++p) {
        if (p) text += ' ';
        text += PillarText(static_cast<int>(rng() % 60));
    }
    return text;
}

// The natal symbols of those pillars, without a calendar: for rules that read only the pillars.
inline std::unique_ptr<ChartRecord> NatalOf(const std::string& text, EngineOptions options = DefaultEngineOptions,
                                            int birthTerm = 0) {
    auto rec = std::make_unique<ChartRecord>();
    rec->Options = options;
    rec->BirthTerm = static_cast<int16_t>(birthTerm);
    const PillarQuad q = Pillars(text);
    rec->Birth.YearPolarity = static_cast<int16_t>(q.Pillar[YearPillar] % 2);
    ComputeSymbols(*rec, q, BlockSelector::Natal);
    return rec;
}

// The whole analysed chart of those pillars (everything but the luck start).
inline std::unique_ptr<ChartRecord> ChartOf(const std::string& text, int sex = 0,
                                            EngineOptions options = DefaultEngineOptions) {
    auto rec = std::make_unique<ChartRecord>();
    rec->Options = options;
    rec->Scoring = DefaultScoringParameters;
    rec->Person.sex = sex;
    const PillarQuad q = Pillars(text);
    rec->Birth.YearPolarity = static_cast<int16_t>(q.Pillar[YearPillar] % 2);
    AnalyseChart(*rec, q);
    return rec;
}

}  // namespace qv::test
