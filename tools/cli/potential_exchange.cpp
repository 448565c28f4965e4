#include "potential_exchange.h"

#include <bit>
#include <cstring>

#include "engine/texts/big5.h"
#include "engine/texts/byte_fields.h"
#include "json_in.h"
#include "json_out.h"
#include "engine/texts/string_table.h"

namespace qv::cli {
namespace {

template <typename Mask>
std::string NamesOf(Mask mask, int count, int textBase, Mask (*bit)(int)) {
    std::string names;
    for (int i = 0; i < count; ++i) {
        if (!(mask & bit(i))) continue;
        if (!names.empty()) names += ' ';
        names += StringText(textBase + i);
    }
    return names;
}

// The mask of blank-separated names; false with the unknown name.
template <typename Mask>
bool MaskOf(std::string_view names, int count, int textBase, Mask (*bit)(int), Mask& mask, std::string& why) {
    mask = 0;
    size_t at = 0;
    while (at < names.size()) {
        if (names[at] == ' ') {
            ++at;
            continue;
        }
        const size_t end = std::min(names.find(' ', at), names.size());
        const std::string_view name = names.substr(at, end - at);
        int found = -1;
        for (int i = 0; i < count && found < 0; ++i) {
            if (StringText(textBase + i) == name) found = i;
        }
        if (found < 0) {
            why = "unknown name " + std::string(name);
            return false;
        }
        mask = static_cast<Mask>(mask | bit(found));
        at = end;
    }
    return true;
}

template <size_t N>
std::string ExportedName(const char (&field)[N], const std::string& where, std::vector<std::string>& warnings) {
    const std::string_view big5 = FieldText(field);
    std::string utf8;
    if (big5.empty() || Big5ToUtf8(big5, utf8)) return utf8;
    warnings.push_back(where + ": the name is not Big5; exported as " + std::string(StringText(UnnamedText)));
    return std::string(StringText(UnnamedText));
}

// A UTF-8 name into its Big5 field, which keeps room for the ending 0 byte.
template <size_t N>
std::string StoreName(const std::string& utf8, char (&field)[N]) {
    std::string big5;
    if (!Utf8ToBig5(utf8, big5)) return "name " + utf8 + " has no Big5 form";
    if (big5.size() >= N || big5.find('\0') != std::string::npos)
        return "name " + utf8 + " is longer than " + std::to_string(N - 1) + " Big5 bytes";
    std::memset(field, 0, N);
    std::memcpy(field, big5.data(), big5.size());
    return {};
}

// Builds the table object by object, checking the order and the limits.
class TableBuilder {
public:
    explicit TableBuilder(PotentialTable& table) : t_(table) { ResetPotentialTable(t_); }

    std::string Take(const JsonFields& object) {
        int64_t category = 0;
        if (std::string why = JsonInteger(object, "category", 1, MaxPotentialCategories, category); !why.empty())
            return why;
        return object.count("#item") ? TakeItem(object, static_cast<int>(category) - 1)
                                     : TakeCategory(object, static_cast<int>(category) - 1);
    }

private:
    std::string TakeCategory(const JsonFields& object, int c) {
        if (object.size() != 3) return "a category has exactly category, name and share";
        if (c != t_.CategoryCount) return "category " + std::to_string(c + 1) + " out of order";
        int64_t share = 0;
        std::string name;
        if (std::string why = JsonInteger(object, "share", 0, 100, share); !why.empty()) return why;
        if (std::string why = JsonText(object, "name", name); !why.empty()) return why;
        AddPotentialCategory(t_, static_cast<int>(share), 0);
        return StoreName(name, t_.Categories[c].Name);
    }

    std::string TakeItem(const JsonFields& object, int c) {
        if (object.size() != 5) return "an ability has exactly category, item, name, elements and tenGods";
        if (c != t_.CategoryCount - 1) return "an ability of category " + std::to_string(c + 1) + " out of place";
        PotentialCategory& cat = t_.Categories[c];
        int64_t item = 0;
        if (std::string why = JsonInteger(object, "item", 1, MaxItemsPerCategory, item); !why.empty()) return why;
        if (item != cat.ItemCount + 1) return "ability " + std::to_string(item) + " out of order";
        if (t_.ItemTotal >= MaxPotentialItems)
            return "more than " + std::to_string(MaxPotentialItems) + " abilities in all";
        std::string name, elements, gods, why;
        PotentialItem& it = t_.Items[t_.ItemTotal];
        it = PotentialItem{};
        if (!(why = JsonText(object, "name", name)).empty() ||
            !(why = JsonText(object, "elements", elements)).empty() ||
            !(why = JsonText(object, "tenGods", gods)).empty() || !(why = StoreName(name, it.Name)).empty())
            return why;
        if (!MaskOf(elements, 5, text_base::Element, ElementBit, it.ElementMask, why) ||
            !MaskOf(gods, 10, text_base::TenGod, TenGodBit, it.TenGodMask, why))
            return why;
        // No more than the 潛能參數 dialog shows, so that confirming it loses none.
        if (std::popcount(it.ElementMask) > 3 || std::popcount(it.TenGodMask) > 4)
            return "an ability holds at most three elements and four ten gods";
        ++cat.ItemCount;
        ++t_.ItemTotal;
        return {};
    }

    PotentialTable& t_;
};

}  // namespace

std::string ElementNames(uint8_t mask) { return NamesOf(mask, 5, text_base::Element, ElementBit); }
std::string TenGodNames(uint16_t mask) { return NamesOf(mask, 10, text_base::TenGod, TenGodBit); }

std::string PotentialTableToJson(const PotentialTable& table, std::vector<std::string>& warnings) {
    std::string out = "[\n";
    bool first = true;
    auto next = [&] {
        if (!first) out += ",\n";
        first = false;
    };
    for (int c = 0; c < table.CategoryCount; ++c) {
        const PotentialCategory& cat = table.Categories[c];
        const std::string where = "category " + std::to_string(c + 1);
        next();
        {
            JsonObject object(out);
            object.Field("category", c + 1);
            object.Text("name", ExportedName(cat.Name, where, warnings));
            object.Field("share", cat.K);
        }
        for (int i = 0; i < cat.ItemCount; ++i) {
            const PotentialItem& item = table.Items[cat.FirstItem + i];
            next();
            JsonObject object(out);
            object.Field("category", c + 1);
            object.Field("item", i + 1);
            object.Text("name", ExportedName(item.Name, where + " ability " + std::to_string(i + 1), warnings));
            object.Text("elements", ElementNames(item.ElementMask));
            object.Text("tenGods", TenGodNames(item.TenGodMask));
        }
    }
    out += first ? "]\n" : "\n]\n";
    return out;
}

Result PotentialTableFromJson(std::string_view json, PotentialTable& table) {
    TableBuilder builder(table);
    size_t taken = 0;
    std::string error;
    const auto take = [&](const JsonFields& object) { return builder.Take(object); };
    if (ReadJsonObjects(json, take, taken, error)) return Result::Done();
    ResetPotentialTable(table);
    return Result::Failed(0, "object " + std::to_string(taken + 1) + ": " + error);
}

}  // namespace qv::cli
