#include "engine/fortune/potential.h"

#include <algorithm>
#include <cstring>

#include "engine/texts/big5.h"
#include "engine/texts/byte_fields.h"
#include "engine/texts/string_table.h"

namespace qv {
namespace {

// The symbols of a block from the largest index value down, equal values in
// symbol order. Filtering this order by an ability's choice gives its values
// sorted the same way, so a block is ranked once for all its abilities.
struct BlockRanking {
    uint8_t Element[5];
    uint8_t TenGod[10];
};

template <size_t N>
void RankDescending(const int16_t (&values)[N], uint8_t (&order)[N]) {
    for (size_t i = 0; i < N; ++i) {
        size_t at = i;
        while (at > 0 && values[order[at - 1]] < values[i]) {
            order[at] = order[at - 1];
            --at;
        }
        order[at] = static_cast<uint8_t>(i);
    }
}

BlockRanking RankBlock(const ChartBlock& block) {
    BlockRanking r;
    RankDescending(block.ElementIndex, r.Element);
    RankDescending(block.TenGodIndex, r.TenGod);
    return r;
}

// round(0.4 v0 + 0.3 v1 + 0.2 v2 + 0.1 v3) over the chosen symbols' values,
// largest first, a missing place taking v0; -1 when none is chosen.
template <size_t N, typename Mask>
int WeightedPart(const int16_t (&values)[N], const uint8_t (&order)[N], Mask mask, Mask (*bit)(int)) {
    static constexpr double Weight[4] = {0.4, 0.3, 0.2, 0.1};
    int taken[4];
    int count = 0;
    for (size_t i = 0; i < N && count < 4; ++i) {
        if (mask & bit(order[i])) taken[count++] = values[order[i]];
    }
    if (count == 0) return -1;
    double sum = 0;
    for (int i = 0; i < 4; ++i) sum += Weight[i] * (i < count ? taken[i] : taken[0]);
    return static_cast<int>(sum + 0.5);
}

// From the weighted mean o (0-100) onto the chart scale: 50 becomes 60, and
// above it the steps shrink so that 85 already reaches the cap of 98.
int Stretch(int o) {
    if (o <= 50) return std::min((6 * o + 3) / 5, 60);
    return std::min(60 + (38 * (o - 50)) / 35, 98);
}

int ValueOfRanked(const PotentialItem& item, int k, const ChartBlock& block, const BlockRanking& rank) {
    const int f = WeightedPart(block.ElementIndex, rank.Element, item.ElementMask, ElementBit);
    const int g = WeightedPart(block.TenGodIndex, rank.TenGod, item.TenGodMask, TenGodBit);
    int m = f < 0 ? 0 : f * k;
    if (g >= 0) m += g * (100 - k);
    return Stretch((m + 50) / 100);
}

template <typename Category, typename F>
void VisitCategoryFields(Category& c, F&& f) {
    VisitEach(f, c.Name, c.ItemCount, c.K, c.FirstItem);
}

template <typename Item, typename F>
void VisitItemFields(Item& i, F&& f) {
    VisitEach(f, i.Name, i.ElementMask, i.Reserved, i.TenGodMask);
}

std::string Numbered(const char* what, int n) { return std::string(what) + " " + std::to_string(n + 1); }

// The counts of the categories in use against the arrays; the item total in `total`.
std::string CountProblem(const PotentialTable& table, int& total) {
    total = 0;
    if (table.CategoryCount < 0 || table.CategoryCount > MaxPotentialCategories)
        return "category count " + std::to_string(table.CategoryCount) + " is not 0-" +
               std::to_string(MaxPotentialCategories);
    for (int c = 0; c < table.CategoryCount; ++c) {
        const PotentialCategory& cat = table.Categories[c];
        if (cat.ItemCount < 0 || cat.ItemCount > MaxItemsPerCategory)
            return Numbered("category", c) + ": item count " + std::to_string(cat.ItemCount) + " is not 0-" +
                   std::to_string(MaxItemsPerCategory);
        if (cat.K < 0 || cat.K > 100) return Numbered("category", c) + ": K " + std::to_string(cat.K) + " is not 0-100";
        if (cat.FirstItem != total)
            return Numbered("category", c) + ": first item " + std::to_string(cat.FirstItem) + " should be " +
                   std::to_string(total) + ", where the category before it ends";
        total += cat.ItemCount;
        if (total > MaxPotentialItems)
            return "the categories hold more than " + std::to_string(MaxPotentialItems) + " abilities";
    }
    return {};
}

}  // namespace

void ResetPotentialTable(PotentialTable& table) {
    std::memset(&table, 0, sizeof table);
    table.Categories[0].K = NewCategoryShare;
    table.TableReady = true;
}

int AddPotentialCategory(PotentialTable& table, int k, int itemCount) {
    const int c = table.CategoryCount;
    if (c < 0 || c >= MaxPotentialCategories || itemCount < 0 || itemCount > MaxItemsPerCategory ||
        table.ItemTotal + itemCount > MaxPotentialItems)
        return -1;
    PotentialCategory& cat = table.Categories[c];
    cat = PotentialCategory{};
    cat.ItemCount = static_cast<int16_t>(itemCount);
    cat.K = static_cast<int16_t>(k);
    cat.FirstItem = table.ItemTotal;
    std::fill(table.Items + table.ItemTotal, table.Items + table.ItemTotal + itemCount, PotentialItem{});
    table.ItemTotal = static_cast<int16_t>(table.ItemTotal + itemCount);
    table.CategoryCount = static_cast<int16_t>(c + 1);
    return c;
}

bool ResizePotentialCategory(PotentialTable& table, int c, int itemCount) {
    if (c < 0 || c >= table.CategoryCount || itemCount < 0 || itemCount > MaxItemsPerCategory) return false;
    PotentialCategory& cat = table.Categories[c];
    const int d = itemCount - cat.ItemCount, total = table.ItemTotal;
    if (total + d > MaxPotentialItems) return false;
    PotentialItem* items = table.Items;
    const int after = cat.FirstItem + cat.ItemCount;  // the first ability of the later categories
    if (d > 0) {
        std::move_backward(items + after, items + total, items + total + d);
        std::fill(items + after, items + after + d, PotentialItem{});
    } else if (d < 0) {
        std::move(items + after, items + total, items + after + d);
        std::fill(items + total + d, items + total, PotentialItem{});
    }
    cat.ItemCount = static_cast<int16_t>(itemCount);
    table.ItemTotal = static_cast<int16_t>(total + d);
    for (int k = c + 1; k < table.CategoryCount; ++k)
        table.Categories[k].FirstItem = static_cast<int16_t>(table.Categories[k - 1].FirstItem + table.Categories[k - 1].ItemCount);
    return true;
}

int PotentialValue(const PotentialItem& item, int k, const ChartBlock& block) {
    return ValueOfRanked(item, k, block, RankBlock(block));
}

void ComputePotentials(int16_t (&out)[PotentialIndexSize], const ChartBlock& block, const PotentialTable* table) {
    if (!table || !table->TableReady) return;
    const BlockRanking rank = RankBlock(block);
    int next = 0;
    const int count = std::clamp<int>(table->CategoryCount, 0, MaxPotentialCategories);
    for (int c = 0; c < count; ++c) {
        const PotentialCategory& cat = table->Categories[c];
        // A table in the middle of an edit may not be sound yet; never leave the arrays.
        const int first = std::clamp<int>(cat.FirstItem, 0, MaxPotentialItems);
        const int end = std::clamp<int>(first + cat.ItemCount, first, MaxPotentialItems);
        for (int i = first; i < end; ++i)
            out[i] = static_cast<int16_t>(ValueOfRanked(table->Items[i], cat.K, block, rank));
        next = std::max(next, end);
    }
    std::fill(out + next, out + PotentialIndexSize, int16_t{0});
}

void ComputePotentials(ChartRecord& rec, PotentialBlock which) {
    const ChartBlock& block = which == NatalPotentials         ? rec.Natal
                              : which == TransformedPotentials ? rec.Transformed
                                                               : rec.Flow;
    ComputePotentials(rec.PotentialIndex[which], block, rec.Potentials);
}

std::string PotentialNameText(std::string_view big5) {
    std::string utf8;
    if (big5.empty() || !Big5ToUtf8(big5, utf8)) return std::string(StringText(UnnamedText));
    return utf8;
}

std::string EncodePotentialTable(const PotentialTable& table) {
    std::string out;
    FieldWriter writer{out};
    writer(table.CategoryCount);
    for (const PotentialCategory& c : table.Categories) VisitCategoryFields(c, writer);
    for (int i = 0; i < table.ItemTotal && i < MaxPotentialItems; ++i) VisitItemFields(table.Items[i], writer);
    return out;
}

std::string PotentialTableProblem(const PotentialTable& table) {
    int total = 0;
    std::string problem = CountProblem(table, total);
    if (problem.empty() && table.ItemTotal != total)
        problem = "item total " + std::to_string(table.ItemTotal) + " is not the sum of the item counts, " +
                  std::to_string(total);
    return problem;
}

std::string DecodePotentialTable(std::string_view bytes, PotentialTable& table) {
    ResetPotentialTable(table);
    if (bytes.size() < PotentialFileHeadSize)
        return "it is " + std::to_string(bytes.size()) + " bytes long, shorter than the " +
               std::to_string(PotentialFileHeadSize) + " bytes of its categories";
    PotentialTable read{};
    FieldReader reader{bytes.data()};
    reader(read.CategoryCount);
    for (PotentialCategory& c : read.Categories) VisitCategoryFields(c, reader);
    int total = 0;
    if (std::string problem = CountProblem(read, total); !problem.empty()) return problem;
    const size_t expected = PotentialFileHeadSize + sizeof(PotentialItem) * static_cast<size_t>(total);
    if (bytes.size() != expected)
        return "it is " + std::to_string(bytes.size()) + " bytes long, but its " + std::to_string(total) +
               " abilities need exactly " + std::to_string(expected) + " (truncated or extended)";
    for (int i = 0; i < total; ++i) VisitItemFields(read.Items[i], reader);
    read.ItemTotal = static_cast<int16_t>(total);
    read.TableReady = true;
    table = read;
    return {};
}

}  // namespace qv
