// The numbered texts of the system: every text it shows comes from here by
// number. Texts are UTF-8; they become Big5 only at file boundaries.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qv {

struct StringEntry {
    int Id;
    std::string_view Text;
};

// The text of entry id, or an empty text when the table has no such entry.
// The returned view stays valid for the life of the program.
std::string_view StringText(int id);

// Every entry, in ascending id order (for checks over the whole table).
std::span<const StringEntry> AllStrings();

// Display bases of the symbol kinds: a symbol's text is StringText(base + number).
namespace text_base {
inline constexpr int TenGod = 130;
inline constexpr int GodRole = 140;
inline constexpr int SeasonalState = 145;
inline constexpr int Sex = 153;
inline constexpr int Stem = 156;
inline constexpr int Branch = 166;
inline constexpr int Polarity = 194;
inline constexpr int Element = 208;
inline constexpr int NaYin = 213;
inline constexpr int SpiritA = 243;
inline constexpr int SpiritB = 265;
inline constexpr int Stage = 312;
inline constexpr int Animal = 381;
inline constexpr int Term = 395;
inline constexpr int ChartKind = 422;
inline constexpr int Pattern = 484;
}  // namespace text_base

// Stem and branch texts of a sexagenary number, e.g. 0 -> 甲子.
inline std::string PillarText(int sexagenary) {
    std::string text(StringText(text_base::Stem + sexagenary % 10));
    text += StringText(text_base::Branch + sexagenary % 12);
    return text;
}

inline constexpr int ProductTitleText = 129;
inline constexpr int LeapMonthText = 380;        // 閏
inline constexpr int ConceptionPillarText = 421;  // 胎元

}  // namespace qv
