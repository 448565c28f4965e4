// Verbal levels, feelings and the stock texts chosen for a fortune chart.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "engine/fortune/levels.h"
#include "engine/texts/string_table.h"

namespace qv {
namespace {

// The sixteen feelings in their fixed order, written out independently of the tables.
constexpr std::string_view SixteenFeelings[FeelingCount] = {
    "最優", "很優", "優", "變優", "好", "變好", "順", "變順",
    "平穩", "尚可", "不順", "稍累", "累", "變累", "很累", "最累"};

std::string_view FeelingWord(Feeling f) { return SixteenFeelings[FeelingIndex(f.Level, f.Turning)]; }

std::string Bracketed(std::string_view word) { return "【" + std::string(word) + "】\n"; }

struct IdRange {
    int First, Last;
};
// Every string number the fortune charts name.
constexpr IdRange FortuneIds[] = {{545, 558}, {562, 581}, {584, 584}, {586, 657},
                                  {659, 692}, {694, 747}};
// Sets whose entries stand for different levels and so must all differ.
constexpr IdRange CommentarySets[] = {{598, 607}, {608, 617}, {618, 627}, {628, 637}, {638, 647},
                                      {648, 657}, {738, 747}, {659, 674}, {675, 690}, {706, 721},
                                      {722, 737}};
constexpr int FeelingSetFirst[PeriodKindCount] = {659, 675, 706, 722};
constexpr std::string_view FeelingSetComparison[PeriodKindCount] = {"大運", "與前一年", "與上個月", "本日"};

TEST(LevelOf, EdgesOfTheTwelveLevelsAndNoLevelBeforeBirth) {
    struct Case {
        int Value, Level;
    };
    for (Case c : {Case{10, 4}, Case{9, 5}, Case{0, 5}, Case{-1, 6}, Case{-9, 6}, Case{-10, 7},
                   Case{-50, 11}, Case{50, 0}, Case{49, 1}, Case{19, 4}, Case{20, 3}, Case{-49, 10},
                   Case{32767, 0}, Case{-32768, 11}}) {
        EXPECT_EQ(LevelOf(c.Value, 10), c.Level) << "value " << c.Value;
    }
    // Before birth or with a bad step there is no level.
    EXPECT_EQ(LevelOf(UnbornValue, 10), NoLevel);
    EXPECT_EQ(LevelOf(5, 0), NoLevel);
    EXPECT_EQ(LevelOf(5, -10), NoLevel);
    EXPECT_EQ(FeelingOf(UnbornValue, 0, 10, false).Level, NoLevel);
    EXPECT_EQ(FeelingOf(5, 5, 0, false).Level, NoLevel);
    EXPECT_TRUE(FeelingLabel(FeelingOf(UnbornValue, 0, 10, true)).View().empty());
    EXPECT_EQ(StringText(NotBornText), "尚未出生");
}

// Falls read from the size of the drop; rises from a low value turn up to three
// steps; rises above one step turn only when larger than the level; an exempt
// first bar never turns on a rise above one step, but falls and low rises still do.
TEST(FeelingOf, HandWorkedLabelsOfFallsRisesAndTheExemptFirstBar) {
    struct Case {
        int Value, Change;
        bool Exempt;
        std::string_view Label;
    };
    for (Case c : {Case{0, -30, false, "變累"}, {12, -35, false, "變累"}, {-20, -30, false, "變累"},
                   {5, -5, false, "尚可"}, {-5, -5, false, "不順"}, {30, -20, false, "稍累"},
                   {30, -45, false, "很累"}, {-30, -32768, false, "最累"}, {0, 0, false, "平穩"},
                   {5, 10, false, "變順"}, {10, 25, false, "變好"}, {-20, 30, false, "變優"},
                   {-20, 40, false, "變優"}, {-20, 50, false, "很優"}, {-40, 90, false, "最優"},
                   {45, 10, false, "順"}, {45, 20, false, "變順"}, {35, 30, false, "變好"},
                   {25, 40, false, "變優"}, {15, 50, false, "很優"}, {15, 20, false, "好"},
                   {50, 0, false, "平穩"}, {25, 40, true, "很優"}, {15, 50, true, "最優"},
                   {45, 20, true, "好"}, {5, 10, true, "變順"}, {0, -30, true, "變累"}}) {
        EXPECT_EQ(FeelingLabel(FeelingOf(c.Value, c.Change, 10, c.Exempt)).View(), c.Label)
            << c.Value << " " << c.Change << " " << c.Exempt;
    }
    EXPECT_TRUE(FirstBarExempt(LuckPillarPeriods, -1));
    EXPECT_TRUE(FirstBarExempt(TenYearPeriods, 0));
    EXPECT_FALSE(FirstBarExempt(TenYearPeriods, -1));
    EXPECT_FALSE(FirstBarExempt(DayPeriods, -32768));
}

TEST(FeelingOf, EveryLabelIsOneOfTheSixteenFeelings) {
    std::set<int> reached;
    for (int value = -120; value <= 120; ++value) {
        for (int change = -120; change <= 120; ++change) {
            for (bool exempt : {false, true}) {
                const Feeling f = FeelingOf(value, change, 10, exempt);
                ASSERT_GE(f.Level, 0);
                ASSERT_LT(f.Level, LevelCount);
                EXPECT_EQ(FeelingLabel(f).View(), FeelingWord(f)) << value << " " << change;
                reached.insert(FeelingIndex(f.Level, f.Turning));
            }
        }
    }
    // 累 without the mark is never reached (a fall of three steps always turns).
    EXPECT_EQ(reached.size(), static_cast<size_t>(FeelingCount - 1));
    EXPECT_EQ(reached.count(12), 0u);
}

TEST(FeelingIndex, TableOfLevelsAndTurningMarks) {
    constexpr int Plain[LevelCount] = {0, 1, 2, 4, 6, 8, 9, 10, 11, 12, 14, 15};
    constexpr int Turning[LevelCount] = {0, 1, 3, 5, 7, 8, 9, 10, 11, 13, 14, 15};
    for (int level = 0; level < LevelCount; ++level) {
        EXPECT_EQ(FeelingIndex(level, false), Plain[level]) << level;
        EXPECT_EQ(FeelingIndex(level, true), Turning[level]) << level;
        EXPECT_EQ(SixteenFeelings[Plain[level]], StringText(LevelWordText + level));
    }
    EXPECT_EQ(FeelingIndex(-1, false), -1);
    EXPECT_EQ(FeelingIndex(LevelCount, true), -1);
}

// Three sets store 累 and 變累 the other way round; each text still opens with its own word.
TEST(FeelingText, EachSetFollowsTheSixteenFeelings) {
    for (int kind = 0; kind < PeriodKindCount; ++kind) {
        std::set<int> ids;
        for (int f = 0; f < FeelingCount; ++f) {
            const int id = FeelingText(kind, f);
            ids.insert(id);
            EXPECT_GE(id, FeelingSetFirst[kind]);
            EXPECT_LT(id, FeelingSetFirst[kind] + FeelingCount);
            const std::string_view text = StringText(id);
            EXPECT_TRUE(text.starts_with(Bracketed(SixteenFeelings[f]))) << "kind " << kind << " F " << f;
            EXPECT_NE(text.find(FeelingSetComparison[kind]), std::string_view::npos) << id;
        }
        EXPECT_EQ(ids.size(), static_cast<size_t>(FeelingCount));
    }
    EXPECT_EQ(FeelingText(-1, 0), NoText);
    EXPECT_EQ(FeelingText(PeriodKindCount, 0), NoText);
    EXPECT_EQ(FeelingText(0, FeelingCount), NoText);
    EXPECT_EQ(FeelingText(0, -1), NoText);
}

TEST(CommentaryText, BandBoundariesAndSetsByCategoryAndPeriodKind) {
    struct Case {
        int Value, Band;
    };
    for (Case c : {Case{41, 0}, Case{999, 0}, Case{40, 1}, Case{31, 1}, Case{30, 2}, Case{11, 3}, Case{10, 4},
                   Case{0, 4}, Case{-1, 5}, Case{-10, 5}, Case{-11, 6}, Case{-40, 8}, Case{-41, 9},
                   Case{-999, 9}, Case{1000, -1}, Case{-1000, -1}, Case{UnbornValue, -1}}) {
        EXPECT_EQ(CommentaryBand(c.Value), c.Band) << "value " << c.Value;
    }
    struct Set {
        int Category, First;
    };
    for (Set s : {Set{1, 598}, Set{9, 608}, Set{7, 618}, Set{5, 628}, Set{6, 638}}) {
        for (int kind = 0; kind < PeriodKindCount; ++kind) {
            EXPECT_EQ(CommentaryText(s.Category, kind, 41), s.First);
            EXPECT_EQ(CommentaryText(s.Category, kind, -41), s.First + 9);
            EXPECT_EQ(CommentaryText(s.Category, kind, 1000), NoText);
            EXPECT_EQ(CommentaryText(s.Category, kind, -1000), NoText);
        }
    }
    EXPECT_EQ(CommentaryText(3, LuckPillarPeriods, 0), 652);
    EXPECT_EQ(CommentaryText(3, TenYearPeriods, 0), 742);
    EXPECT_EQ(CommentaryText(3, MonthPeriods, 0), NoText);
    EXPECT_EQ(CommentaryText(3, DayPeriods, 0), NoText);
    for (int category : {0, 2, 4, 8, 14}) EXPECT_EQ(CommentaryText(category, LuckPillarPeriods, 0), NoText);
    EXPECT_EQ(CommentaryText(1, PeriodKindCount, 0), NoText);
    EXPECT_EQ(CommentaryText(1, -1, 0), NoText);
}

TEST(CommentaryText, SetsOpenWithTheirOwnWords) {
    for (auto [id, words] : {std::pair{598, "整體運勢強旺到了極點"}, {608, "工作機會大好"}, {628, "薪水財部份"},
                             {648, "本大運的感情運簡直是旺到不行"}, {738, "此年的感情只能說是熱情如炎"}})
        EXPECT_TRUE(StringText(id).starts_with(words)) << id;
    for (int id = 648; id <= 657; ++id) EXPECT_TRUE(StringText(id).starts_with("本大運")) << id;
    for (int id = 738; id <= 747; ++id) EXPECT_TRUE(StringText(id).starts_with("此年")) << id;
}

TEST(ExplanationText, ByCategoryAndPeriodKind) {
    struct Row {
        int Category, Ids[PeriodKindCount];
    };
    for (Row r : {Row{1, {586, 592, 694, 700}}, Row{9, {587, 593, 695, 701}}, Row{7, {588, 594, 696, 702}},
                  Row{5, {589, 595, 697, 703}}, Row{6, {590, 596, 698, 704}}, Row{3, {591, 597, 699, 705}}}) {
        for (int kind = 0; kind < PeriodKindCount; ++kind) EXPECT_EQ(ExplanationText(r.Category, kind), r.Ids[kind]);
    }
    EXPECT_EQ(ExplanationText(4, 0), NoText);
    EXPECT_EQ(ExplanationText(14, 1), NoText);
    EXPECT_EQ(ExplanationText(1, 4), NoText);
}

TEST(ExplanationText, NumberedParagraphsOfTheLuckAndTenYearCharts) {
    const std::string_view fixedBase = "1.以 0 為基準點，固定不變，往上為正值，往下為負值。";
    const std::string_view goodBadLine = "7.藍色0分基準線是好、壞的基準線。";
    EXPECT_TRUE(StringText(586).starts_with(fixedBase));
    EXPECT_TRUE(StringText(592).starts_with(fixedBase));
    for (int id : {587, 589, 591, 593, 595, 597}) {
        EXPECT_TRUE(StringText(id).ends_with(goodBadLine)) << id;
        EXPECT_NE(StringText(id).find("範圍上下限為正負30"), std::string_view::npos) << id;
    }
    // Each explanation names the rows its chart draws under the bars, and no other.
    auto names = [](int id, std::string_view row) { return StringText(id).find(row) != std::string_view::npos; };
    for (int id = 586; id <= 705; id += (id == 597 ? 97 : 1)) {
        const bool months = id >= 694 && id <= 699, days = id >= 700;
        for (std::string_view row : {"干支", "感受"}) EXPECT_TRUE(names(id, row)) << id << row;
        EXPECT_EQ(names(id, "歲："), !months && !days) << id;
        EXPECT_EQ(names(id, "月："), months) << id;
        EXPECT_EQ(names(id, "日："), days) << id;
        EXPECT_EQ(names(id, "農曆："), days) << id;
    }
    // The ten-year texts differ from the luck-pillar ones only in what they compare with.
    const std::string tenYearsBefore = "與前十年相比較", yearBefore = "與前一年相比較";
    for (int id = 586; id <= 591; ++id) {
        std::string text(StringText(id));
        const size_t at = text.find(tenYearsBefore);
        ASSERT_NE(at, std::string::npos) << id;
        text.replace(at, tenYearsBefore.size(), yearBefore);
        EXPECT_EQ(text, StringText(id + 6)) << id + 6;
    }
}

// Every text survives Big5 (the string table's own test); here, none is missing or a placeholder.
TEST(FortuneTexts, EveryNamedTextIsReal) {
    for (IdRange r : FortuneIds) {
        for (int id = r.First; id <= r.Last; ++id) {
            EXPECT_FALSE(StringText(id).empty()) << id;
            EXPECT_FALSE(StringText(id).starts_with("IDS_")) << id;
        }
    }
    EXPECT_TRUE(StringText(658).empty());  // a placeholder that nothing uses
}

TEST(FortuneTexts, NoTwoTextsOfASetAreAlike) {
    for (IdRange r : CommentarySets) {
        std::set<std::string_view> seen;
        for (int id = r.First; id <= r.Last; ++id) EXPECT_TRUE(seen.insert(StringText(id)).second) << id;
    }
    std::set<std::string_view> explanations;
    for (int category : {1, 3, 5, 6, 7, 9})
        for (int kind = 0; kind < PeriodKindCount; ++kind)
            EXPECT_TRUE(explanations.insert(StringText(ExplanationText(category, kind))).second);
}

TEST(TravelLabelText, ActivityByTenGodPairAndStrength) {
    struct Case {
        int Pair;
        bool Strong;
        int Value;
        std::string_view Label;
    };
    for (Case c : {Case{0, true, 30, "團隊順暢"}, {3, false, 50, "學習快樂"}, {5, true, -10, "公務不順"},
                   {4, false, 10, "工作普通"}, {7, false, 40, "購物舒適"}, {6, true, 50, "求財快樂"},
                   {9, true, -50, "旅遊最累"}})
        EXPECT_EQ(TravelLabelText(TravelLabelIds(c.Pair, c.Strong, c.Value)).View(), c.Label) << c.Pair;
    EXPECT_EQ(TravelLabelIds(10, true, 10).ActivityText, NoText);
    EXPECT_EQ(TravelLabelIds(-1, false, 10).FeelingWordText, NoText);
}

TEST(TravelLabelText, TheBetterTheValueTheHappierTheWord) {
    constexpr std::string_view Words[] = {"最累", "很累", "累", "稍累", "不順",
                                          "普通", "平順", "順暢", "舒適", "快樂"};
    int i = 0;
    for (int g = -50; g <= 50; g += 10) {
        if (g == 0) continue;
        EXPECT_EQ(StringText(TravelLabelIds(0, true, g).FeelingWordText), Words[i++]) << g;
    }
    EXPECT_EQ(StringText(TravelLabelIds(0, true, 0).FeelingWordText), "普通");
    EXPECT_EQ(StringText(TravelLabelIds(0, true, 500).FeelingWordText), "快樂");
    EXPECT_EQ(StringText(TravelLabelIds(0, true, -500).FeelingWordText), "最累");
}

}  // namespace
}  // namespace qv
