// A person's four texts as UTF-8, and their Big5 fields in a PersonRecord.
// A text that Big5 cannot hold, or that is longer than its field, is refused
// with the field's name; nothing is ever cut or dropped.
#pragma once

#include <string>
#include <string_view>

#include "engine/chart/person_record.h"
#include "engine/texts/result.h"
#include "engine/texts/text_ids.h"

namespace qv {

struct PersonTexts {
    std::string Name, Address, Phone, Remarks;
    friend bool operator==(const PersonTexts&, const PersonTexts&) = default;
};

// Fills the four Big5 fields; on failure the record is unchanged, the reason
// says whether the text has no Big5 form or is too long, and the detail names
// the field ("name", "address", "phone" or "remarks").
Result StorePersonTexts(const PersonTexts& texts, PersonRecord& record);

// Reads the four fields back as UTF-8; failed with the field named when one
// holds bytes that are not Big5.
Result LoadPersonTexts(const PersonRecord& record, PersonTexts& texts);

// The text with Latin letters folded to lower case, Big5 double-byte
// characters left whole (their second byte may look like a Latin letter).
std::string FoldCase(std::string_view big5);

bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qv
