#include "engine/chart/spirits.h"

#include "engine/calendar/calendar.h"
#include "engine/chart/ganzhi.h"
#include "engine/texts/string_table.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

using namespace gz;
constexpr int NoStem = -1;

struct StemBranch {
    int Stem, Branch;
};

// By day stem.
constexpr int Nobleman[10][2] = {{丑, 未}, {子, 申}, {亥, 酉}, {亥, 酉}, {丑, 未},
                                 {子, 申}, {丑, 未}, {寅, 午}, {午, 巳}, {卯, 巳}};
constexpr int Literary[10] = {巳, 午, 申, 酉, 申, 酉, 亥, 子, 寅, 卯};
// 祿 is the 臨官 stage of the day stem (乙 at 卯).
constexpr int Salary[10] = {寅, 卯, 巳, 午, 巳, 午, 申, 酉, 亥, 子};
constexpr int Blade[10] = {卯, 寅, 午, 巳, 午, 巳, 酉, 申, 子, 亥};
constexpr int FlyingBlade[10] = {酉, 申, 子, 亥, 子, 亥, 卯, 寅, 午, 巳};
constexpr int RedCharm[10] = {午, 午, 寅, 未, 辰, 辰, 戌, 酉, 子, 申};
constexpr int TenSpirits[10][2] = {{辰, -1}, {亥, -1}, {辰, -1}, {酉, -1}, {午, -1},
                                   {-1, -1}, {寅, 戌}, {亥, -1}, {寅, -1}, {未, -1}};
// By day-stem pair.
constexpr StemBranch SchoolHall[5] = {{己, 亥}, {丙, 寅}, {戊, 申}, {辛, 巳}, {甲, 申}};

// By branch group (申子辰, 巳酉丑, 寅午戌, 亥卯未).
struct GroupBranches {
    int General, Canopy, Horse, Robbery, Death, Peach;
};
constexpr GroupBranches Groups[4] = {
    {子, 辰, 寅, 巳, 亥, 酉}, {酉, 丑, 亥, 寅, 申, 午}, {午, 戌, 申, 亥, 巳, 卯}, {卯, 未, 巳, 申, 寅, 子}};

// By the season of the year branch (亥子丑, 寅卯辰, 巳午未, 申酉戌).
constexpr int Lonely[4] = {寅, 巳, 申, 亥};
constexpr int Widow[4] = {戌, 丑, 辰, 未};

// By month number 1-12 (寅 ... 丑).
constexpr int MonthVirtue[4] = {丙, 甲, 壬, 庚};
constexpr int HeavenVirtue[12] = {丁, NoStem, 壬, 辛, NoStem, 甲, 癸, NoStem, 丙, 乙, NoStem, 庚};

constexpr int DecadeFirstVoid[6] = {戌, 子, 寅, 辰, 午, 申};
constexpr int TenEvils[10] = {40, 41, 8, 32, 23, 16, 34, 59, 17, 25};

// Day pillars by season of the month: spring, summer, autumn, winter.
constexpr StemBranch HeavenTurn[4] = {{乙, 卯}, {丙, 午}, {辛, 酉}, {壬, 子}};
constexpr StemBranch EarthTurn[4] = {{辛, 卯}, {戊, 午}, {癸, 酉}, {丙, 子}};
constexpr StemBranch FourWaste[4][2] = {{{庚, 申}, {辛, 酉}}, {{壬, 子}, {癸, 亥}}, {{甲, 寅}, {乙, 卯}}, {{丙, 午}, {丁, 巳}}};

enum PillarSet : unsigned { Y = 1, M = 2, D = 4, H = 8, All = 15 };

struct Context {
    ChartBlock& Block;
    const ChartRecord& Rec;
    const PillarQuad& Pillars;
    int Ds, Db, Yb, Mb, O;

    int Stem(int p) const { return Block.Stem[p]; }
    int Branch(int p) const { return Block.Branch[p]; }
    bool Is(int p, StemBranch sb) const { return Stem(p) == sb.Stem && Branch(p) == sb.Branch; }
    void Mark(int p, Spirit s) const {
        if (s < 22) {
            Block.SpiritMaskA[p] |= 1u << (31 - s);
        } else {
            Block.SpiritMaskB[p] |= 1u << (31 - (s - 22));
        }
    }
    // Marks every pillar of the set whose branch is `branch`.
    void MarkBranch(unsigned pillars, int branch, Spirit s) const {
        for (int p = 0; p < 4; ++p)
            if ((pillars & (1u << p)) && Branch(p) == branch) Mark(p, s);
    }
};

int Partner(int stem) { return stem <= 4 ? stem + 5 : stem - 5; }
int SeasonOfMonth(int o) { return (o - 1) / 3; }
bool IsCardinal(int branch) { return branch % 3 == 0; }  // 子 卯 午 酉

void ThreeWonders(const Context& c) {
    const bool wonder = (c.Ds == 甲 && c.Stem(1) == 戊 && c.Stem(0) == 庚) ||
                        (c.Ds == 乙 && c.Stem(1) == 丙 && c.Stem(0) == 丁) ||
                        (c.Ds == 壬 && c.Stem(1) == 癸 && c.Stem(0) == 辛);
    if (wonder) c.Mark(DayPillar, 三奇貴人);
}

void KuiGang(const Context& c) {
    for (StemBranch sb : {StemBranch{壬, 辰}, {戊, 戌}, {庚, 戌}, {庚, 辰}})
        if (c.Is(DayPillar, sb)) c.Mark(DayPillar, 魁罡貴人);
}

void GoldenSpirit(const Context& c) {
    if (c.Mb != 巳 && c.Mb != 午 && c.Mb != 未) return;
    auto golden = [&](int p) { return c.Is(p, {乙, 丑}) || c.Is(p, {己, 巳}) || c.Is(p, {癸, 酉}); };
    if (golden(DayPillar)) c.Mark(DayPillar, 金神);
    if (golden(HourPillar) && (c.Ds == 甲 || c.Ds == 己)) c.Mark(HourPillar, 金神);
}

void LuckyStar(const Context& c) {
    if (c.Stem(MonthPillar) == FloorMod(2 - c.Mb, 10)) c.Mark(MonthPillar, 福星);
}

void DecadeVoids(const Context& c) {
    const int k = FloorMod(c.Db - c.Ds, 12) / 2;
    const int v = DecadeFirstVoid[k];
    const int w = v > 4 ? v - 6 : v + 6;
    for (int p : {YearPillar, MonthPillar, HourPillar}) {
        const int b = c.Branch(p);
        if (b == v || b == v + 1) c.Mark(p, 六甲空亡);
        if (b == w || b == w + 1) c.Mark(p, 孤虛);
        if (((k == 0 || k == 3) && (b == 寅 || b == 卯)) || ((k == 1 || k == 4) && (b == 申 || b == 酉)))
            c.Mark(p, 四大空亡);
    }
}

void ByDayStem(const Context& c) {
    const StemBranch hall = SchoolHall[c.Ds / 2];
    for (int p = 0; p < 4; ++p) {
        const int b = c.Branch(p);
        if (p == MonthPillar || p == HourPillar) {
            if (c.Stem(p) == hall.Stem) c.Mark(p, 學堂);
            if (b == hall.Branch) c.Mark(p, 詞館);
        }
        if (b == Nobleman[c.Ds][0] || b == Nobleman[c.Ds][1]) c.Mark(p, 天乙貴人);
        if (b == Literary[c.Ds]) c.Mark(p, 文昌);
        if (b == Salary[c.Ds]) c.Mark(p, 祿神);
        if (b == Blade[c.Ds]) c.Mark(p, 羊刃);
        if (b == FlyingBlade[c.Ds]) c.Mark(p, 飛刃);
        if (b == RedCharm[c.Ds]) c.Mark(p, 紅艷);
    }
}

void GroupSpirits(const Context& c, unsigned pillars, const GroupBranches& g) {
    c.MarkBranch(pillars, g.Canopy, 華蓋);
    c.MarkBranch(pillars, g.Horse, 驛馬);
    c.MarkBranch(pillars, g.Robbery, 劫煞);
    c.MarkBranch(pillars, g.Death, 亡神);
}

void ByDayBranchGroup(const Context& c) {
    const GroupBranches& g = Groups[c.Db % 4];
    c.MarkBranch(Y, g.General, 將星);
    if (c.Rec.Options.GodBase == 1) GroupSpirits(c, Y | M | H, g);
}

void OutsidePeach(const Context& c) {
    if (IsCardinal(c.Db) && IsCardinal(c.Branch(HourPillar))) c.Mark(HourPillar, 外桃);
}

void ByYearBranch(const Context& c) {
    const GroupBranches& g = Groups[c.Yb % 4];
    const int season = ((c.Yb + 1) % 12) / 3;
    const unsigned pillars = M | D | H;
    if (c.Rec.Options.PoolBase == 0) c.MarkBranch(pillars, g.Peach, 咸池);
    c.MarkBranch(pillars, Lonely[season], 孤辰);
    c.MarkBranch(pillars, Widow[season], 寡宿);
    c.MarkBranch(pillars, g.General, 將星);
    if (c.Rec.Options.GodBase == 0) GroupSpirits(c, pillars, g);
    c.MarkBranch(pillars, FloorMod(3 - c.Yb, 12), 紅鸞);
    c.MarkBranch(pillars, FloorMod(9 - c.Yb, 12), 天喜);
}

// Only once the month's mid-month term is in force at birth.
void MonthGeneral(const Context& c) {
    if (c.Rec.BirthTerm == (2 * c.O + 1) % 24) c.MarkBranch(All, (12 - c.O) % 12, 月將);
}

void PeachByMonth(const Context& c) {
    if (c.Rec.Options.PoolBase == 1) c.MarkBranch(Y | D | H, Groups[c.Mb % 4].Peach, 咸池);
}

void HeavenlyDoctor(const Context& c) { c.MarkBranch(Y | D | H, c.O % 12, 天醫); }

void SeasonalDayPillars(const Context& c) {
    const int s = SeasonOfMonth(c.O);
    if (c.Is(DayPillar, HeavenTurn[s])) c.Mark(DayPillar, 天轉);
    if (c.Is(DayPillar, EarthTurn[s])) c.Mark(DayPillar, 地轉);
    const int day = c.Pillars.Pillar[DayPillar];
    for (StemBranch sb : FourWaste[s])
        if (day % 10 == sb.Stem && day % 12 == sb.Branch) c.Mark(DayPillar, 四廢);
}

void Virtues(const Context& c) {
    const int month = MonthVirtue[(c.O - 1) % 4];
    const int heaven = HeavenVirtue[c.O - 1];
    for (int p = 0; p < 4; ++p) {
        const int s = c.Stem(p);
        if (s == month) {
            c.Mark(p, 月德);
        } else if (s == Partner(month)) {
            c.Mark(p, 月德合);
        }
        if (heaven == NoStem) continue;
        if (s == heaven) {
            c.Mark(p, 天德);
        } else if (s == Partner(heaven)) {
            c.Mark(p, 天德合);
        }
    }
}

void DaySixAndTen(const Context& c) {
    if (c.Is(DayPillar, {丙, 子}) || c.Is(DayPillar, {戊, 子})) c.Mark(DayPillar, 六秀);
    if (c.Db == TenSpirits[c.Ds][0] || c.Db == TenSpirits[c.Ds][1]) c.Mark(DayPillar, 十靈);
}

void NetsOfHeavenAndEarth(const Context& c) {
    for (int p = 0; p < 4; ++p) {
        const int e = NaYinElementOf(c.Block.NaYin[p]);
        const int b = c.Branch(p);
        if (e == 2 && (b == 戌 || b == 亥)) {
            c.Mark(p, 天羅);
        } else if ((e == 0 || e == 3) && (b == 辰 || b == 巳)) {
            c.Mark(p, 地網);
        }
    }
}

void TenEvilDays(const Context& c) {
    for (int p = 0; p < 4; ++p)
        for (int n : TenEvils)
            if (c.Pillars.Pillar[p] == n) c.Mark(p, 十惡大敗);
}

using Rule = void (*)(const Context&);
constexpr Rule Rules[] = {ThreeWonders,   KuiGang,        GoldenSpirit, LuckyStar,          DecadeVoids,
                          ByDayStem,      ByDayBranchGroup, OutsidePeach, ByYearBranch,     MonthGeneral,
                          PeachByMonth,   HeavenlyDoctor, SeasonalDayPillars, Virtues,      DaySixAndTen,
                          NetsOfHeavenAndEarth, TenEvilDays};

}  // namespace

bool HasSpirit(const ChartBlock& block, int pillar, Spirit s) {
    return s < 22 ? (block.SpiritMaskA[pillar] >> (31 - s)) & 1u : (block.SpiritMaskB[pillar] >> (31 - (s - 22))) & 1u;
}

std::string_view SpiritName(Spirit s) {
    return StringText(s < 22 ? text_base::SpiritA + s : text_base::SpiritB + (s - 22));
}

void FillSpirits(ChartRecord& rec, const PillarQuad& pillars) {
    ChartBlock& b = rec.Natal;
    for (int p = 0; p < 4; ++p) b.SpiritMaskA[p] = b.SpiritMaskB[p] = 0;
    const Context c{b, rec, pillars, b.Stem[DayPillar], b.Branch[DayPillar], b.Branch[YearPillar],
                    b.Branch[MonthPillar], MonthNumber(b.Branch[MonthPillar])};
    for (Rule rule : Rules) rule(c);
}

}  // namespace qv
