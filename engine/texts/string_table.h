// The numbered texts of the system: every text it shows comes from here by
// number. Texts are UTF-8; they become Big5 only at file boundaries.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "engine/texts/text_ids.h"

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


// Stem and branch texts of a sexagenary number, e.g. 0 -> 甲子.
inline std::string PillarText(int sexagenary) {
    std::string text(StringText(text_base::Stem + sexagenary % 10));
    text += StringText(text_base::Branch + sexagenary % 12);
    return text;
}

}  // namespace qv
