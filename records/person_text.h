// A person's four texts as UTF-8, and their Big5 fields in a PersonRecord.
// A text that Big5 cannot hold, or that is longer than its field, is refused
// with the field's name; nothing is ever cut or dropped.
#pragma once

#include <string>
#include <string_view>

#include "engine/chart/person_record.h"

namespace qv {

struct PersonTexts {
    std::string Name, Address, Phone, Remarks;
    friend bool operator==(const PersonTexts&, const PersonTexts&) = default;
};

// Fills the four Big5 fields; on failure the record is unchanged and error
// names the field ("name", "address", "phone" or "remarks") and the reason.
bool StorePersonTexts(const PersonTexts& texts, PersonRecord& record, std::string& error);

// Reads the four fields back as UTF-8; false with the field named when one
// holds bytes that are not Big5.
bool LoadPersonTexts(const PersonRecord& record, PersonTexts& texts, std::string& error);

// The text with Latin letters folded to lower case, Big5 double-byte
// characters left whole (their second byte may look like a Latin letter).
std::string FoldCase(std::string_view big5);

bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qv
