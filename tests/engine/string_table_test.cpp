// The string table: ordered, complete for the symbol kinds, and every text
// survives the trip through Big5 that the files take.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/texts/big5.h"
#include "engine/texts/string_table.h"

namespace qv {
namespace {

TEST(StringTable, IdsAscendAndTextsAreNotEmpty) {
    int previous = -1;
    for (const StringEntry& e : AllStrings()) {
        EXPECT_GT(e.Id, previous) << "entry " << e.Id << " out of order";
        EXPECT_FALSE(e.Text.empty()) << "entry " << e.Id;
        previous = e.Id;
    }
}

TEST(StringTable, EveryTextSurvivesTheBig5RoundTrip) {
    for (const StringEntry& e : AllStrings()) {
        std::string big5, back;
        ASSERT_TRUE(Utf8ToBig5(e.Text, big5)) << "entry " << e.Id << " has no Big5 form";
        ASSERT_TRUE(Big5ToUtf8(big5, back)) << "entry " << e.Id;
        EXPECT_EQ(back, e.Text) << "entry " << e.Id;
    }
}

TEST(StringTable, SymbolKindsHaveEveryText) {
    struct Kind {
        int Base, Count;
    };
    for (Kind k : {Kind{text_base::Stem, 10}, Kind{text_base::Branch, 12}, Kind{text_base::Element, 5},
                   Kind{text_base::TenGod, 10}, Kind{text_base::Stage, 12}, Kind{text_base::Term, 24},
                   Kind{text_base::Animal, 12}, Kind{text_base::ChartKind, 7}, Kind{text_base::GodRole, 5},
                   Kind{text_base::SeasonalState, 5}}) {
        std::set<std::string_view> seen;
        for (int i = 0; i < k.Count; ++i) {
            EXPECT_FALSE(StringText(k.Base + i).empty()) << k.Base + i;
            seen.insert(StringText(k.Base + i));
        }
        EXPECT_EQ(seen.size(), static_cast<size_t>(k.Count)) << "duplicate text from base " << k.Base;
    }
}

TEST(StringTable, TextsAsTheSystemShowsThem) {
    EXPECT_EQ(StringText(156), "甲");
    EXPECT_EQ(StringText(177), "亥");
    EXPECT_EQ(StringText(317), "衰  ");  // one-character stages keep two blanks
    EXPECT_EQ(StringText(428), "變  盤");
    EXPECT_EQ(StringText(418), "冬至");
    EXPECT_EQ(PillarText(0), "甲子");
    EXPECT_EQ(PillarText(59), "癸亥");
    EXPECT_TRUE(StringText(1).empty());
}

TEST(Big5Codec, RefusesWhatBig5CannotHold) {
    std::string out = "stale";
    EXPECT_FALSE(Utf8ToBig5("简体字", out));  // simplified forms
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(Utf8ToBig5("\xff\xfe", out));
    EXPECT_FALSE(Big5ToUtf8("\xa4", out));  // a lead byte without its trail
    EXPECT_TRUE(Utf8ToBig5("", out));
    EXPECT_TRUE(Utf8ToBig5("王小明 Road 12", out));
    EXPECT_EQ(out.size(), 6u + 8u);
}

}  // namespace
}  // namespace qv
