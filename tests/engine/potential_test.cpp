// Potential values worked by hand from chosen index values, the table file's
// byte layout and the checks that refuse a damaged one.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engine/texts/byte_fields.h"
#include "engine/texts/big5.h"
#include "chart_builder.h"
#include "engine/fortune/fortune.h"
#include "engine/chart/ganzhi.h"
#include "engine/fortune/potential.h"

namespace qv {
namespace {

using namespace gz;

// Index values 水 50, 木 62, 火 41, 土 70, 金 33 and, in ten-god order
// 比肩 … 傷官, 45 80 30 55 62 20 71 38 49 90.
ChartBlock WorkedBlock() {
    ChartBlock b{};
    const int16_t elements[5] = {50, 62, 41, 70, 33};
    const int16_t gods[10] = {45, 80, 30, 55, 62, 20, 71, 38, 49, 90};
    std::memcpy(b.ElementIndex, elements, sizeof elements);
    std::memcpy(b.TenGodIndex, gods, sizeof gods);
    return b;
}

PotentialItem Item(uint8_t elements, uint16_t gods) {
    PotentialItem item{};
    item.ElementMask = elements;
    item.TenGodMask = gods;
    return item;
}

constexpr uint8_t 水火金 = ElementBit(0) | ElementBit(2) | ElementBit(4);
constexpr uint16_t 劫財正印偏財 = TenGodBit(1) | TenGodBit(3) | TenGodBit(6);

// E = 50 41 33, F = 0.4·50 + 0.3·41 + 0.2·33 + 0.1·50 = 43.9 -> 44;
// T = 80 71 55, G = 32 + 21.3 + 11 + 8 = 72.3 -> 72.
TEST(PotentialValue, WorkedByHand) {
    const ChartBlock b = WorkedBlock();
    const uint16_t five = TenGodBit(0) | TenGodBit(1) | TenGodBit(2) | TenGodBit(3) | TenGodBit(9);
    const struct {
        PotentialItem Item;
        int K, Value;
    } cases[] = {
        {Item(水火金, 劫財正印偏財), 25, 76},  // m = 44·25 + 72·75 = 6500, o = 65, P = 60 + 38·15/35
        {Item(水火金, 劫財正印偏財), 100, 53},  // K 100 ignores the ten gods: o = 44, P = (6·44 + 3)/5
        {Item(水火金, 劫財正印偏財), 0, 83},    // K 0 ignores the elements: o = 72, P = 60 + 38·22/35
        // 土 alone: all four factors fall on 70, F = 70; G is left out: m = 2800, o = 28, P = (168 + 3)/5.
        {Item(ElementBit(3), 0), 40, 34},
        // Ten gods alone: F = 0 still takes its share K. 比肩 45: m = 45·75, o = 34.
        {Item(0, TenGodBit(0)), 25, 41},
        {Item(0, 0), 25, 0},
        // Only the four largest count: 90 80 55 45 (30 dropped) give 36 + 24 + 11 + 4.5 = 75.5,
        // rounded up to 76; P = 60 + 38·26/35.
        {Item(0, five), 0, 88},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PotentialValue(c.Item, c.K, b), c.Value) << int(c.Item.ElementMask) << " " << c.Item.TenGodMask << " K " << c.K;
}

// One element at K 100 makes o the element's index value itself.
TEST(PotentialValue, StretchAroundFiftyAndItsCaps) {
    ChartBlock b{};
    const PotentialItem water = Item(ElementBit(0), 0);
    auto valueAt = [&](int o) {
        b.ElementIndex[0] = static_cast<int16_t>(o);
        return PotentialValue(water, 100, b);
    };
    // 100 gives 114 before the cap; 1 gives (6 + 3)/5.
    for (auto [o, p] : {std::pair{50, 60}, {51, 61}, {84, 96}, {85, 98}, {100, 98}, {0, 0}, {1, 1}})
        EXPECT_EQ(valueAt(o), p) << o;
}

// Two categories: 3 abilities, then 2 from item 3 on.
PotentialTable TwoCategories() {
    PotentialTable t{};
    ResetPotentialTable(t);
    EXPECT_EQ(AddPotentialCategory(t, 25, 3), 0);
    EXPECT_EQ(AddPotentialCategory(t, 100, 2), 1);
    t.Items[0] = Item(水火金, 劫財正印偏財);
    t.Items[1] = Item(ElementBit(3), 0);
    t.Items[2] = Item(0, TenGodBit(0));
    t.Items[3] = Item(水火金, 劫財正印偏財);
    t.Items[4] = Item(ElementBit(3), 0);
    return t;
}

TEST(ComputePotentials, EachAbilityWithItsCategorysShareInItemOrder) {
    const PotentialTable t = TwoCategories();
    int16_t out[PotentialIndexSize];
    std::fill(std::begin(out), std::end(out), int16_t{-7});
    ComputePotentials(out, WorkedBlock(), &t);
    // 土 70 at K 25: o = 18, P = 111/5; at K 100: o = 70, P = 60 + 38·20/35;
    // past the last ability nothing stale is left.
    EXPECT_EQ(std::vector<int>(out, out + 6), (std::vector<int>{76, 22, 41, 53, 81, 0}));
    EXPECT_EQ(out[PotentialIndexSize - 1], 0);
}

TEST(ComputePotentials, NothingWithoutAReadyTable) {
    PotentialTable t = TwoCategories();
    t.TableReady = false;
    int16_t out[PotentialIndexSize] = {9};
    ComputePotentials(out, WorkedBlock(), &t);
    ComputePotentials(out, WorkedBlock(), nullptr);
    EXPECT_EQ(out[0], 9);
}

// A table in the middle of an edit, first items pointing past the arrays: the
// computation stays inside them.
TEST(ComputePotentials, UnsoundTableStaysInsideTheArrays) {
    PotentialTable t = TwoCategories();
    t.Categories[1].FirstItem = 250;
    t.Categories[1].ItemCount = 32;
    int16_t out[PotentialIndexSize] = {};
    ComputePotentials(out, WorkedBlock(), &t);
    EXPECT_EQ(out[0], 76);
}

// 甲子 甲寅 甲子 甲子 has 木 106 and 水 72, 比肩 106 and 正印 72 (worked in the
// index-value tests). 木 alone at K 25: o = 27, P = 33; 水 with 正印 at K 25:
// o = 72, P = 83.
TEST(ComputePotentials, ChartFillsNatalAndTransformedTables) {
    PotentialTable t{};
    ResetPotentialTable(t);
    AddPotentialCategory(t, 25, 1);
    AddPotentialCategory(t, 25, 1);
    t.Items[0] = Item(ElementBit(木), 0);
    t.Items[1] = Item(ElementBit(水), TenGodBit(3));
    auto rec = std::make_unique<ChartRecord>();
    rec->Scoring = DefaultScoringParameters;
    rec->Potentials = &t;
    rec->PotentialIndex[TransformedPotentials][0] = 55;  // a previous person's value
    const PillarQuad q = test::Pillars("甲子 甲寅 甲子 甲子");
    rec->Birth.YearPolarity = static_cast<int16_t>(q.Pillar[YearPillar] % 2);
    AnalyseChart(*rec, q);
    ASSERT_EQ(rec->HasTransformed, 0);
    EXPECT_EQ(rec->PotentialIndex[NatalPotentials][0], 33);
    EXPECT_EQ(rec->PotentialIndex[NatalPotentials][1], 83);
    EXPECT_EQ(rec->PotentialIndex[TransformedPotentials][0], 33);
    EXPECT_EQ(rec->PotentialIndex[TransformedPotentials][1], 83);

    // A period evaluated in Flow rates Flow; the fortune tables' periods in
    // Scratch leave that comparison alone.
    EvaluateStem(*rec, 丙, 午, false);
    int16_t flow[PotentialIndexSize] = {};
    ComputePotentials(flow, rec->Flow, &t);
    EXPECT_EQ(std::memcmp(flow, rec->PotentialIndex[FlowPotentials], sizeof flow), 0);
    EXPECT_NE(rec->PotentialIndex[FlowPotentials][0], 0);
    EvaluateBranch(*rec, 庚, 申, true, WholeBranch);
    EXPECT_EQ(std::memcmp(flow, rec->PotentialIndex[FlowPotentials], sizeof flow), 0);
}

TEST(PotentialNameText, EmptyOrUndecodableIsUnnamed) {
    std::string big5;
    ASSERT_TRUE(Utf8ToBig5("領導能力", big5));
    EXPECT_EQ(PotentialNameText(big5), "領導能力");
    EXPECT_EQ(PotentialNameText(""), "未命名");
    EXPECT_EQ(PotentialNameText("\xA4"), "未命名");  // a lead byte cut off at the field's end
    EXPECT_EQ(PotentialNameText("\x80\xFF"), "未命名");
}

// ---- the table file ----

TEST(PotentialFile, EmptyTableIsExactly1730BytesWithSlotZeroPrepared) {
    PotentialTable t{};
    ResetPotentialTable(t);
    const std::string bytes = EncodePotentialTable(t);
    ASSERT_EQ(bytes.size(), 1730u);
    EXPECT_EQ(GetLittleEndian<int16_t>(&bytes[0]), 0);
    EXPECT_EQ(GetLittleEndian<int16_t>(&bytes[2 + 50]), 25);  // K of category 0
    PotentialTable back{};
    EXPECT_EQ(DecodePotentialTable(bytes, back), "");
    EXPECT_EQ(back.CategoryCount, 0);
    EXPECT_EQ(back.ItemTotal, 0);
    EXPECT_TRUE(back.TableReady);
}

TEST(PotentialFile, FieldsSitAtTheirOffsetsLittleEndian) {
    PotentialTable t = TwoCategories();
    std::strcpy(t.Categories[1].Name, "AB");
    std::strcpy(t.Items[4].Name, "xyz");
    t.Items[4].TenGodMask = 0x8040;
    const std::string bytes = EncodePotentialTable(t);
    ASSERT_EQ(bytes.size(), 1730u + 5 * 36);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\x02\x00", 2));
    const char* c1 = &bytes[2 + 54];
    EXPECT_EQ(std::string(c1, 3), std::string("AB\0", 3));
    EXPECT_EQ(std::string(c1 + 48, 6), std::string("\x02\x00\x64\x00\x03\x00", 6));
    const char* i4 = &bytes[1730 + 4 * 36];
    EXPECT_EQ(std::string(i4, 4), std::string("xyz\0", 4));
    EXPECT_EQ(std::string(i4 + 32, 4), std::string("\x10\x00\x40\x80", 4));
    PotentialTable back{};
    EXPECT_EQ(DecodePotentialTable(bytes, back), "");
    EXPECT_EQ(std::memcmp(&back.Items, &t.Items, sizeof t.Items), 0);
    EXPECT_EQ(std::memcmp(&back.Categories, &t.Categories, sizeof t.Categories), 0);
    EXPECT_EQ(back.ItemTotal, 5);
}

// Each damage is refused with its own reason, and the table is left empty.
TEST(PotentialFile, DamagedCountsAndLengthsAreRefused) {
    const std::string good = EncodePotentialTable(TwoCategories());
    auto with = [&](size_t offset, int16_t value) {
        std::string b = good;
        std::string v;
        PutLittleEndian(value, v);
        b.replace(offset, 2, v);
        return b;
    };
    const size_t cat0 = 2, cat1 = 2 + 54;
    struct Case {
        std::string Bytes;
        const char* Reason;
    } cases[] = {
        {with(0, -1), "category count -1"},
        {with(0, 33), "category count 33"},
        {with(cat0 + 48, -1), "category 1: item count -1"},
        {with(cat0 + 48, 33), "category 1: item count 33"},
        {with(cat1 + 50, 101), "category 2: K 101"},
        {with(cat1 + 52, 2), "category 2: first item 2 should be 3"},
        {good + "x", "1911 bytes long"},
        {good.substr(0, good.size() - 1), "1909 bytes long"},
        {good.substr(0, 100), "shorter than"},
    };
    for (const Case& c : cases) {
        PotentialTable t = TwoCategories();
        const std::string problem = DecodePotentialTable(c.Bytes, t);
        EXPECT_NE(problem.find(c.Reason), std::string::npos) << problem;
        EXPECT_EQ(t.CategoryCount, 0);
        EXPECT_EQ(t.ItemTotal, 0);
        EXPECT_EQ(t.Items[0].ElementMask, 0);
        EXPECT_TRUE(t.TableReady);
    }
}

// Eight full categories would need 256 abilities, one more than the arrays hold.
TEST(PotentialFile, MoreThan255AbilitiesAreRefused) {
    PotentialTable t{};
    ResetPotentialTable(t);
    for (int c = 0; c < 7; ++c) ASSERT_EQ(AddPotentialCategory(t, 25, 32), c);
    EXPECT_EQ(AddPotentialCategory(t, 25, 32), -1);  // 256 abilities
    ASSERT_EQ(AddPotentialCategory(t, 25, 31), 7);
    t.Categories[7].ItemCount = 32;
    t.ItemTotal = 0;
    std::string bytes = EncodePotentialTable(t);
    bytes.append(256 * 36, '\0');
    PotentialTable read{};
    EXPECT_NE(DecodePotentialTable(bytes, read).find("more than 255"), std::string::npos);
    t.Categories[7].ItemCount = 31;
    t.ItemTotal = 255;
    EXPECT_EQ(PotentialTableProblem(t), "");
    t.ItemTotal = 254;
    EXPECT_NE(PotentialTableProblem(t), "");
}

}  // namespace
}  // namespace qv
