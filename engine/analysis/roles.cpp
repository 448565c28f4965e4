#include "engine/analysis/roles.h"

#include <array>
#include <string_view>

#include "engine/analysis/combinations.h"
#include "engine/chart/ganzhi.h"

namespace qv {
namespace {

using namespace gz;

// --- Climate stems, by day stem and month (寅 ... 丑) --------------------------

constexpr std::string_view StemChars = "甲乙丙丁戊己庚辛壬癸";
constexpr size_t CharBytes = 3;  // each stem is one three-byte UTF-8 character

constexpr uint8_t StemOfChar(std::string_view ch) {
    for (uint8_t s = 0; s < 10; ++s) {
        if (StemChars.substr(s * CharBytes, CharBytes) == ch) return s;
    }
    return NotApplicable;
}

constexpr std::string_view ClimateMainRows[10] = {
    "丙庚庚癸癸癸庚庚庚庚丁丁", "丙丙癸癸癸癸丙癸癸丙丙丙", "壬壬壬壬壬壬壬壬甲甲壬壬", "甲庚甲甲壬甲甲甲甲甲甲甲",
    "丙丙甲甲壬癸丙丙甲甲丙丙", "丙甲丙癸癸癸丙丙甲丙丙丙", "戊丁甲壬壬丁丁丁甲丁丁丙", "己壬壬壬壬壬壬壬壬壬丙丙",
    "庚戊甲壬癸辛戊甲甲戊戊丙", "辛庚丙辛庚庚丁辛辛庚丙丙",
};

constexpr std::string_view ClimateMoreCells[10][12] = {
    {"癸", "丙丁戊己", "丁壬", "丁庚", "丁庚", "丁庚", "丁壬", "丙丁", "甲丁壬癸", "丙丁戊", "丙庚", "丙庚"},
    {"癸", "癸", "丙戊", "", "丙", "丙", "己癸", "丙丁", "辛", "戊", "", ""},
    {"庚", "己", "甲", "庚癸", "庚", "庚", "戊", "癸", "壬", "戊庚壬", "戊己", "甲"},
    {"庚", "甲", "庚", "庚", "庚癸", "庚壬", "丙戊庚", "丙戊庚", "戊庚", "庚", "庚", "庚"},
    {"甲癸", "甲癸", "丙癸", "丙癸", "甲丙", "甲丙", "甲癸", "癸", "丙癸", "丙", "甲", "甲"},
    {"甲庚", "丙癸", "甲癸", "丙", "丙", "丙", "癸", "癸", "丙癸", "戊", "戊", "戊"},
    {"甲丙丁壬", "甲丙庚", "丁壬癸", "丙丁戊", "癸", "甲", "甲", "甲丙", "壬", "丙", "甲丙", "甲丁"},
    {"庚壬", "甲", "甲", "甲癸", "己癸", "甲庚", "甲戊", "甲", "甲", "丙", "甲戊壬", "戊己壬"},
    {"丙戊", "庚辛", "庚", "庚辛癸", "庚辛", "甲", "丁", "庚", "丙", "丙庚", "丙", "甲丁"},
    {"丙", "辛", "甲辛", "", "壬癸", "辛壬癸", "", "丙", "甲壬癸", "丁戊辛", "辛", "丁"},
};

using MoreStems = std::array<uint8_t, 4>;

constexpr MoreStems StemsOf(std::string_view text) {
    MoreStems stems{NotApplicable, NotApplicable, NotApplicable, NotApplicable};
    for (size_t i = 0; i * CharBytes < text.size() && i < stems.size(); ++i) {
        stems[i] = StemOfChar(text.substr(i * CharBytes, CharBytes));
    }
    return stems;
}

constexpr auto ClimateMore = [] {
    std::array<std::array<MoreStems, 12>, 10> table{};
    for (int d = 0; d < 10; ++d) {
        for (int m = 0; m < 12; ++m) table[d][m] = StemsOf(ClimateMoreCells[d][m]);
    }
    return table;
}();

constexpr int MonthIndex(int monthBranch) { return (monthBranch + 10) % 12; }

// --- Special patterns -----------------------------------------------------------

// A day master joined by a complete season or harmony of its own element,
// with key branch present. The opposing element may not stand among the
// stems, nor among the branches except as a member of the set itself (辰 in
// 申子辰, 巳 in 巳酉丑), which the set has drawn into the day master's element.
struct ElementPattern {
    PatternKind Pattern;
    int Opposing;
    int Key;
    unsigned Sets[2];  // the branches that join the key branch
};
constexpr ElementPattern ElementPatterns[5] = {
    {潤下格, 土, 子, {BranchSet({亥, 丑}), BranchSet({申, 辰})}},
    {取直仁壽格, 金, 卯, {BranchSet({寅, 辰}), BranchSet({未, 亥})}},
    {炎上格, 水, 午, {BranchSet({巳, 未}), BranchSet({寅, 戌})}},
    {稼檣格, -1, -1, {0, 0}},  // earth: by its own rule
    {從革格, 火, 酉, {BranchSet({申, 戌}), BranchSet({丑, 巳})}},
};

unsigned BranchesOf(const ChartBlock& block) {
    unsigned present = 0;
    for (int p = 0; p < 4; ++p) present |= 1u << block.Branch[p];
    return present;
}

bool StemsHoldElement(const ChartBlock& block, int element) {
    for (int p = 0; p < 4; ++p) {
        if (block.StemElement[p] == element) return true;
    }
    return false;
}

bool OpposingBranchesWithin(const ChartBlock& block, int opposing, unsigned set) {
    for (int p = 0; p < 4; ++p) {
        if (block.BranchElement[p] == opposing && !((set >> block.Branch[p]) & 1u)) return false;
    }
    return true;
}

bool ElementPatternHolds(const ChartBlock& block, const ElementPattern& rule) {
    const unsigned present = BranchesOf(block);
    if (StemsHoldElement(block, rule.Opposing) || !((present >> rule.Key) & 1u)) return false;
    for (unsigned set : rule.Sets) {
        if ((present & set) == set && OpposingBranchesWithin(block, rule.Opposing, set)) return true;
    }
    return false;
}

// 稼檣格: the four branches are 丑 辰 未 戌, once each.
bool EarthPatternHolds(const ChartBlock& block) {
    return BranchesOf(block) == BranchSet({丑, 辰, 未, 戌});
}

bool IsCompanionOrResource(int god) { return god <= 3; }                   // 比肩 劫財 偏印 正印
bool IsOfficerOrWealth(int god) { return god >= 4 && god <= 7; }           // 七殺 正官 偏財 正財
bool IsWealth(int god) { return god == 6 || god == 7; }                    // 偏財 正財
bool IsOfficer(int god) { return god == 4 || god == 5; }                   // 七殺 正官

// 棄命從殺格: no companion or resource among the stems, two officer or wealth stems.
bool FollowsOfficer(const ChartBlock& block) {
    int count = 0;
    for (int p = 0; p < 4; ++p) {
        const int god = block.StemGod[p];
        if (god == NotApplicable) continue;
        if (IsCompanionOrResource(god)) return false;
        count += IsOfficerOrWealth(god);
    }
    return count >= 2;
}

// 棄命從財格: two wealth stems, and no other pillar rooted in itself in either block.
bool FollowsWealth(const ChartBlock& block, const ChartBlock& other) {
    int count = 0;
    for (int p = 0; p < 4; ++p) {
        if (block.StemGod[p] != NotApplicable && IsWealth(block.StemGod[p])) {
            ++count;
            continue;
        }
        const bool rooted = block.StemElement[p] == block.BranchElement[p] ||
                            other.StemElement[p] == other.BranchElement[p];
        if (rooted) return false;
    }
    return count >= 2;
}

PatternKind FindPattern(const ChartBlock& block, const ChartBlock& other, int dayElement) {
    if (dayElement == 土) {
        if (EarthPatternHolds(block)) return 稼檣格;
    } else if (ElementPatternHolds(block, ElementPatterns[dayElement])) {
        return ElementPatterns[dayElement].Pattern;
    }
    if (block.SameParty >= block.OtherParty) return NoPattern;
    const int monthGod = block.StemGod[MonthPillar];
    if (IsOfficer(monthGod)) return FollowsOfficer(block) ? 棄命從殺格 : NoPattern;
    if (IsWealth(monthGod)) return FollowsWealth(block, other) ? 棄命從財格 : NoPattern;
    return NoPattern;
}

// Roles counted from x: 用神 x, 喜神 its resource, 閒神 its output, 忌神 its officer, 仇神 its wealth.
void FillRoles(ChartBlock& block, int x, bool towardOfficer) {
    constexpr int Plain[5] = {0, 4, 1, 3, 2};
    // A strong day master is served by what drains and controls it.
    constexpr int Rearranged[5] = {3, 2, 1, 0, 4};
    const int* offsets = towardOfficer ? Rearranged : Plain;
    for (int i = 0; i < 5; ++i) block.Roles[i] = static_cast<uint8_t>((x + offsets[i]) % 5);
}

}  // namespace

bool TestPattern(ChartBlock& block, const ChartBlock& other, int dayElement) {
    block.Pattern = FindPattern(block, other, dayElement);
    return block.Pattern != NoPattern;
}

bool TestClimate(const ChartBlock& block, int threshold) {
    return !(-threshold < block.ClimateBalance && block.ClimateBalance < threshold);
}

void FillClimateStems(ChartBlock& block) {
    const int d = block.Stem[DayPillar];
    const int m = MonthIndex(block.Branch[MonthPillar]);
    block.ClimateStem = StemOfChar(ClimateMainRows[d].substr(m * CharBytes, CharBytes));
    for (int i = 0; i < 4; ++i) block.ClimateStemsMore[i] = ClimateMore[d][m][i];
}

bool TestBridge(ChartBlock& block) {
    unsigned elements = 0;
    for (int p = 0; p < 4; ++p) elements |= 1u << block.StemElement[p];
    int a = -1, b = -1, count = 0;
    for (int e = 0; e < 5; ++e) {
        if (!((elements >> e) & 1u)) continue;
        (count++ == 0 ? a : b) = e;
    }
    if (count != 2) return false;
    int bridge = -1;
    if (b == a + 2) bridge = a + 1;
    if (a == 水 && b == 土) bridge = 金;
    if (a == 木 && b == 金) bridge = 水;
    if (bridge < 0) return false;
    block.Roles[0] = static_cast<uint8_t>(bridge);
    return true;
}

void SelectRoles(ChartRecord& rec, RoleMode mode) {
    const bool natalMode = mode == RoleMode::Natal;
    ChartBlock& block = natalMode ? rec.Natal : rec.Transformed;
    if (!natalMode) {
        for (int e = 0; e < 5; ++e) rec.Transformed.StrengthScore[e] = rec.Natal.StrengthScore[e];
    }
    // A transformed day stem is the day master the natal scores are read for.
    const ChartBlock& dayMaster = natalMode && rec.HasTransformed ? rec.Transformed : block;
    const int reference = dayMaster.StemElement[DayPillar];
    ComputeStrength(block, reference);
    const bool strong = block.SameParty >= block.OtherParty;
    FillClimateStems(block);
    if (TestPattern(block, rec.Transformed, reference)) {
        block.ReadingKind = ByPattern;
    } else if (TestClimate(block, rec.Scoring.MIDPARM)) {
        block.ReadingKind = ByClimate;
    } else {
        block.ReadingKind = TestBridge(block) ? ByBridge : ByStrength;
    }
    const int x = block.ReadingKind == ByBridge ? block.Roles[0] : reference;
    bool towardOfficer = false;
    if (block.ReadingKind == ByClimate || block.ReadingKind == ByStrength) towardOfficer = strong;
    if (block.ReadingKind == ByPattern) towardOfficer = !strong;
    FillRoles(block, x, towardOfficer);
    // Every reading records the strength: a pattern or a bridge does not
    // change how strong the day master is, and the fortunes read this flag.
    block.IsStrong = strong ? 1 : 0;
}

}  // namespace qv
