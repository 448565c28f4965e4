// The chart record: everything the engine knows about the current person.
// Plain aggregates only, so that a block is copied whole and a record can be
// owned by a test, a command-line run or a window program alike.
#pragma once

#include <cstdint>
#include <type_traits>

#include "engine/chart/person_record.h"
#include "engine/calendar/solar_terms.h"

namespace qv {

inline constexpr uint8_t NotApplicable = 0xFF;

// Sexagenary numbers 0-59 of the year, month, day and hour pillars.
struct PillarQuad {
    uint8_t Pillar[4];
};

// The sexagenary number of a stem and a branch of equal parity (0 = 甲子).
constexpr int SexagenaryOf(int stem, int branch) { return ((6 * stem - 5 * branch) % 60 + 60) % 60; }

enum PillarSlot : int { YearPillar = 0, MonthPillar = 1, DayPillar = 2, HourPillar = 3 };

struct ChartBlock {
    int16_t YearPolarity;  // of the natal year stem: 0 yang, 1 yin
    int16_t Pattern;       // special pattern 0-6, -1 none
    int16_t ReadingKind;   // 0 pattern, 1 climate stems, 2 bridging element, 3 strength reading
    uint8_t Stem[4];
    uint8_t Branch[4];
    uint8_t StemGod[4];          // day entry NotApplicable
    uint8_t HiddenStem[4][3];    // stem + 1, 0 = none
    uint8_t HiddenGod[4][3];     // NotApplicable = none
    uint8_t Stage[4];
    uint32_t SpiritMaskA[4];
    uint32_t SpiritMaskB[4];
    uint8_t NaYin[4];
    uint8_t LuckStartAge;
    uint8_t LuckStartAgeMid;
    uint8_t LuckChangeStem[2];
    uint8_t LuckStartTerm[2];    // term in force at the luck start, days since it
    uint8_t LuckStartSpan[3];    // years, months, days from birth to the luck start
    uint8_t LuckStem[12];
    uint8_t LuckBranch[12];
    uint8_t LuckStemGod[12];
    uint8_t LuckBranchGod[12];
    uint8_t Roles[5];            // elements of 用神, 喜神, 閒神, 忌神, 仇神
    uint8_t ClimateStem;
    uint8_t ClimateStemsMore[4];
    uint8_t SeasonElement[5];    // element that is 旺, 相, 休, 囚, 死
    uint8_t RelationElement[5];  // self, output, resource, officer, wealth
    uint8_t StemFactor[4];
    uint8_t BranchFactor[4];
    uint8_t HiddenFactor[4][3];
    uint8_t StemElement[4];
    uint8_t BranchElement[4];
    uint8_t HiddenElement[4][3];  // NotApplicable = none
    int16_t StemScore[10];
    int16_t TenGodScore[10];
    int16_t ElementScore[5];
    int16_t StemIndex[10];
    int16_t TenGodIndex[10];
    int16_t ElementIndex[5];
    int16_t StrengthScore[5];
    int16_t ClimateBalance;  // 陰陽氣合, in tenths
    int32_t IsStrong;
    int16_t SameParty;
    int16_t OtherParty;
    int16_t PeriodValue;
    int16_t StemUnion[5];
    int16_t BranchRelation[5];
};

static_assert(std::is_trivially_copyable_v<ChartBlock>);
static_assert(std::is_standard_layout_v<ChartBlock>);

// Every field of ChartBlock in declared order, for code that walks a block by
// field name (the JSON writer of the command-line tool).
#define QV_CHART_BLOCK_FIELDS(X)                                                                         \
    X(YearPolarity) X(Pattern) X(ReadingKind) X(Stem) X(Branch) X(StemGod) X(HiddenStem) X(HiddenGod)    \
    X(Stage) X(SpiritMaskA) X(SpiritMaskB) X(NaYin) X(LuckStartAge) X(LuckStartAgeMid) X(LuckChangeStem) \
    X(LuckStartTerm) X(LuckStartSpan) X(LuckStem) X(LuckBranch) X(LuckStemGod) X(LuckBranchGod) X(Roles) \
    X(ClimateStem) X(ClimateStemsMore) X(SeasonElement) X(RelationElement) X(StemFactor) X(BranchFactor) \
    X(HiddenFactor) X(StemElement) X(BranchElement) X(HiddenElement) X(StemScore) X(TenGodScore)         \
    X(ElementScore) X(StemIndex) X(TenGodIndex) X(ElementIndex) X(StrengthScore) X(ClimateBalance)       \
    X(IsStrong) X(SameParty) X(OtherParty) X(PeriodValue) X(StemUnion) X(BranchRelation)

// How the rat-hour rule is read: the flow-year chart program places the hour
// 23:00-24:00 and moves its lunar date by a table of its own.
enum RatHourReading : int16_t { MainProgramReading = 0, ChartProgramReading = 1 };

// 華蓋/驛馬/劫煞/亡神 basis, 子卯酉 hidden stems, 咸池 basis, rat-hour rule.
struct EngineOptions {
    int16_t GodBase;        // 0 from the year branch, 1 from the day branch
    int16_t SkyBase;        // 0 one hidden stem for 子卯酉, 1 two
    int16_t PoolBase;       // 0 from the year branch, 1 from the month branch
    int16_t FirstTimeBase;  // rat-hour rule: 0 早子時, 1 一般子時, 2 夜子時
    int16_t Reading;        // RatHourReading
};

enum RatHourRule : int16_t { EarlyRatHour = 0, CommonRatHour = 1, NightRatHour = 2 };

struct LocalDateTime {
    int16_t Year, Month, Day, Hour, Minute;
};

// Filled by the person commands before the chart is computed.
struct BirthSummary {
    int16_t LunarYear, LunarMonth, LunarDay;
    int16_t Hour, Minute;
    int16_t Year, Month, Day;
    int16_t YearStem, YearBranch;
    int16_t YearPolarity;
    int32_t Sex;
    int32_t LeapMonth;
};

// Parameters of the index formula and the middle use-god threshold.
struct ScoringParameters {
    int16_t MIDPARM;
    int16_t FiveType;
    int16_t K1, K2;
    int16_t BTYPE;
    int16_t BBase, BADD, CBASE;
};

inline constexpr int PotentialIndexSize = 255;

struct PotentialTable;

// The record's potential-value tables, one per chart block they rate.
enum PotentialBlock : int { NatalPotentials = 0, TransformedPotentials = 1, FlowPotentials = 2 };

inline constexpr int LuckPillarCount = 12;
inline constexpr int YearsOfLife = 120;

// Fortune values of one category: the luck pillars and years of life once per
// chart, and the ten years, months and days of the period on show.
struct FortuneSet {
    int16_t Category;   // 1 本命, 3 愛情, 4, 5 財運, 7 遷移, 8, 9 事業
    int16_t Baseline;   // base line of the category's charts
    int16_t LuckValue[LuckPillarCount];
    int16_t YearValue[YearsOfLife];  // index 0 = the year of birth
    int16_t TenYearValue[10];
    int16_t TenYearDelta[10];
    int16_t MonthValue[12];          // 9999 for a month before birth
    int16_t MonthDelta[12];
    int16_t DayValue[31];
    int16_t DayDelta[31];
    int16_t DayCount;
    // The period just before the first one shown, by table: ten years, months, days.
    int16_t PreviousValue[3];
};

inline constexpr int FortuneCategoryCount = 7;

// The period the chart view has chosen for the kinds 1 (十年盤) and 2 (流年盤).
struct PeriodSelection {
    int16_t Cell;           // period-row cell, column 0 rightmost; -1 none
    int16_t FirstAge;       // nominal age of the year row's first cell (流年盤)
    int16_t Age;            // nominal age at which the selected period starts
    int16_t UpperHalf;      // 1: the stem half of the period, 0: the branch half
    int16_t Stem, Branch;   // the selected period's pillar
    int16_t Year, Month, Day, Hour;            // its Gregorian date (0: not in the calendar)
    int16_t LunarYear, LunarMonth, LunarDay;   // its lunar date; LunarYear 0 until one is chosen
    int16_t LunarLeap;
    int16_t CurrentAge;     // nominal age today, as the chart shows it
};

struct ChartRecord {
    PersonRecord Person;
    ChartBlock Natal;
    ChartBlock Transformed;
    ChartBlock Flow;
    ChartBlock Scratch;
    int16_t YearDisplay;  // 0 AD years, 1 ROC years
    EngineOptions Options;
    int16_t ChartKind;    // 0-6; 0 and 6 make secondary work act on Transformed
    LocalDateTime Now;
    int16_t TermIndex;    // term in force at the moment last converted to pillars
    int16_t BirthTerm;
    BirthSummary Birth;
    int16_t LuckForward;  // 1 when the luck pillars run forward
    const SolarTermTable* SolarTerms;
    ScoringParameters Scoring;
    const PotentialTable* Potentials;  // null or not ready: no potential values are computed
    int32_t HasTransformed;        // 1 when Transformed differs from Natal in a stem or branch
    int16_t ReferenceStrength[5];  // strength scores with every branch at 16, the natal reference of the fortunes
    int16_t StemUnionCount;        // stem combinations that transformed
    int16_t PotentialIndex[3][PotentialIndexSize];  // by PotentialBlock
    FortuneSet Fortunes[FortuneCategoryCount];
    int16_t TermDays;     // elapsed since the latest month-opening term
    int16_t TermMinutes;
    int16_t Weekday;      // 0 = Sunday
    uint8_t BirthYearBoundary;
    uint8_t BirthSeason;
    uint8_t VoidMarks[12];  // 0xFF where the branch is void
    PeriodSelection Period;
};

static_assert(std::is_trivially_copyable_v<ChartRecord>);

// Which chart block an operation works on.
enum class BlockSelector { Natal, Secondary, Scratch };

// The chart kinds (ChartRecord::ChartKind), named 本命盤 … 變盤 in the string table.
enum ChartKindNumber : int {
    NatalKind = 0,        // 本命盤
    LuckKind = 1,         // 十年盤
    YearKind = 2,         // 流年盤
    MonthKind = 3,        // 流月盤
    DayKind = 4,          // 流日盤
    HourKind = 5,         // 流時盤
    TransformedKind = 6,  // 變盤
};
// 十年盤 … 流時盤: the kinds whose chart is the Flow block's.
constexpr bool IsPeriodKind(int kind) { return kind >= LuckKind && kind <= HourKind; }

// Transformed for the natal and transformed kinds, Flow for the period kinds.
inline ChartBlock& SecondaryBlock(ChartRecord& rec) {
    return (rec.ChartKind == NatalKind || rec.ChartKind == TransformedKind) ? rec.Transformed : rec.Flow;
}

inline ChartBlock& SelectBlock(ChartRecord& rec, BlockSelector sel) {
    switch (sel) {
        case BlockSelector::Natal: return rec.Natal;
        case BlockSelector::Secondary: return SecondaryBlock(rec);
        case BlockSelector::Scratch: break;
    }
    return rec.Scratch;
}

// Defaults as the settings file gives them when a key is missing.
inline constexpr EngineOptions DefaultEngineOptions{0, 0, 0, CommonRatHour, MainProgramReading};
inline constexpr ScoringParameters DefaultScoringParameters{100, 0, 20, 30, 0, 70, 70, 20};

}  // namespace qv
