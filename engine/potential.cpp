#include "potential.h"

#include <algorithm>
#include <cstring>

#include "big5.h"
#include "byte_fields.h"
#include "string_table.h"

namespace qv {
namespace {

// Up to the four largest index values of the chosen symbols, largest first;
// equal values keep their order.
struct Ranked {
    int Value[4] = {};
    int Count = 0;

    void Add(int v) {
        int at = Count < 4 ? Count : 4;
        while (at > 0 && Value[at - 1] < v) --at;
        if (at == 4) return;
        const int last = std::min(Count, 3);
        for (int i = last; i > at; --i) Value[i] = Value[i - 1];
        Value[at] = v;
        if (Count < 4) ++Count;
    }
    // round(0.4 v0 + 0.3 v1 + 0.2 v2 + 0.1 v3), a missing place taking v0.
    int Weighted() const {
        static constexpr double Weight[4] = {0.4, 0.3, 0.2, 0.1};
        double sum = 0;
        for (int i = 0; i < 4; ++i) sum += Weight[i] * (i < Count ? Value[i] : Value[0]);
        return static_cast<int>(sum + 0.5);
    }
};

// From the weighted mean o (0-100) onto the chart scale: 50 becomes 60, and
// above it the steps shrink so that 85 already reaches the cap of 98.
int Stretch(int o) {
    if (o <= 50) return std::min((6 * o + 3) / 5, 60);
    return std::min(60 + (38 * (o - 50)) / 35, 98);
}

template <typename Category, typename F>
void VisitCategoryFields(Category& c, F&& f) {
    f(c.Name);
    f(c.ItemCount);
    f(c.K);
    f(c.FirstItem);
}

template <typename Item, typename F>
void VisitItemFields(Item& i, F&& f) {
    f(i.Name);
    f(i.ElementMask);
    f(i.Reserved);
    f(i.TenGodMask);
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

int PotentialValue(const PotentialItem& item, int k, const ChartBlock& block) {
    Ranked elements, gods;
    for (int e = 0; e < 5; ++e) {
        if (item.ElementMask & ElementBit(e)) elements.Add(block.ElementIndex[e]);
    }
    for (int g = 0; g < 10; ++g) {
        if (item.TenGodMask & TenGodBit(g)) gods.Add(block.TenGodIndex[g]);
    }
    const int f = elements.Count ? elements.Weighted() : 0;
    int m = f * k;
    if (gods.Count) m += gods.Weighted() * (100 - k);
    return Stretch((m + 50) / 100);
}

void ComputePotentials(int16_t (&out)[PotentialIndexSize], const ChartBlock& block, const PotentialTable* table) {
    if (!table || !table->TableReady) return;
    int next = 0;
    const int count = std::clamp<int>(table->CategoryCount, 0, MaxPotentialCategories);
    for (int c = 0; c < count; ++c) {
        const PotentialCategory& cat = table->Categories[c];
        // A table in the middle of an edit may not be sound yet; never leave the arrays.
        const int first = std::clamp<int>(cat.FirstItem, 0, MaxPotentialItems);
        const int end = std::clamp<int>(first + cat.ItemCount, first, MaxPotentialItems);
        for (int i = first; i < end; ++i) out[i] = static_cast<int16_t>(PotentialValue(table->Items[i], cat.K, block));
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
