// Potential analysis (潛能): abilities the user defines in categories, each a
// set of elements and ten gods, rated from a chart block's index values as
// P = K · F + (1 − K) · G and stretched onto the 0–98 scale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "engine/texts/byte_fields.h"
#include "engine/chart/chart_record.h"
#include "engine/texts/text_ids.h"

namespace qv {

inline constexpr int MaxPotentialCategories = 32;
inline constexpr int MaxPotentialItems = PotentialIndexSize;
inline constexpr int MaxItemsPerCategory = 32;
inline constexpr int NewCategoryShare = 25;  // K of a new category, in percent

// Stored as in the table file: 54 bytes.
struct PotentialCategory {
    char Name[48];      // Big5, ending with a 0 byte
    int16_t ItemCount;  // 0-32
    int16_t K;          // share of the element part in percent, 0-100
    int16_t FirstItem;  // index of the category's first ability in Items
};

// Stored as in the table file: 36 bytes.
struct PotentialItem {
    char Name[32];        // Big5, ending with a 0 byte
    uint8_t ElementMask;  // 0x80 水, 0x40 木, 0x20 火, 0x10 土, 0x08 金
    uint8_t Reserved;
    uint16_t TenGodMask;  // 0x8000 比肩 … 0x0040 傷官
};

static_assert(sizeof(PotentialCategory) == 54 && sizeof(PotentialItem) == 36);

constexpr uint8_t ElementBit(int element) { return static_cast<uint8_t>(0x80 >> element); }
constexpr uint16_t TenGodBit(int tenGod) { return static_cast<uint16_t>(0x8000 >> tenGod); }

// The definitions of every category and ability. Items lie category after
// category without gaps: category c starts where category c − 1 ends.
struct PotentialTable {
    PotentialCategory Categories[MaxPotentialCategories];
    PotentialItem Items[MaxPotentialItems];
    int16_t CategoryCount;
    int16_t ItemTotal;
    // False until the table has been loaded: nothing is computed from it or saved.
    bool TableReady;
};

static_assert(std::is_trivially_copyable_v<PotentialTable>);

// The table of a first start: no categories, slot 0 prepared for a new one.
void ResetPotentialTable(PotentialTable& table);

// Appends a category with K and that many blank abilities after the last
// ones: its number, or -1 when the table cannot hold it.
int AddPotentialCategory(PotentialTable& table, int k, int itemCount);

// Gives category c `itemCount` abilities: the later categories' abilities move
// along, keeping their order, and the places opened or freed become blank.
// False (nothing changed) when the count or the new total does not fit.
bool ResizePotentialCategory(PotentialTable& table, int c, int itemCount);

// The value of one ability from the block's ElementIndex and TenGodIndex.
int PotentialValue(const PotentialItem& item, int k, const ChartBlock& block);

// One value per ability, in item order, from the block's index values;
// entries past the last ability are 0. Does nothing without a ready table.
void ComputePotentials(int16_t (&out)[PotentialIndexSize], const ChartBlock& block, const PotentialTable* table);

// The record's table for a block (Natal, Transformed or Flow) from that block.
void ComputePotentials(ChartRecord& rec, PotentialBlock which);

// A stored name as UTF-8; 未命名 when it is empty or not valid Big5.
std::string PotentialNameText(std::string_view big5);
template <size_t N>
std::string PotentialNameText(const char (&field)[N]) {
    return PotentialNameText(FieldText(field));
}

// ---- the table file "EngyInfo.tbl" ----
// CategoryCount (2 bytes), all 32 categories (1728 bytes), then the
// ItemTotal abilities of the categories in use (36 bytes each).

inline constexpr std::string_view PotentialFileName = "EngyInfo.tbl";
inline constexpr size_t PotentialFileHeadSize = 2 + sizeof(PotentialCategory) * MaxPotentialCategories;

// The file's bytes for the table.
std::string EncodePotentialTable(const PotentialTable& table);

// Reads a whole file's bytes into the table, checking every count against
// the arrays and the length. On a fault the table is the empty one of
// ResetPotentialTable, still ready, and the result says what is wrong.
std::string DecodePotentialTable(std::string_view bytes, PotentialTable& table);

// The same checks on a table in memory (before it is saved): empty when sound.
std::string PotentialTableProblem(const PotentialTable& table);

}  // namespace qv
