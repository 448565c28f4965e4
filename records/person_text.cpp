#include "person_text.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "engine/texts/big5.h"

namespace qv {
namespace {

struct TextField {
    const char* Label;
    size_t Offset;
    size_t Size;
    std::string PersonTexts::*Text;
};

constexpr TextField TextFields[] = {
    {"name", offsetof(PersonRecord, name), sizeof(PersonRecord::name), &PersonTexts::Name},
    {"address", offsetof(PersonRecord, address), sizeof(PersonRecord::address), &PersonTexts::Address},
    {"phone", offsetof(PersonRecord, phone), sizeof(PersonRecord::phone), &PersonTexts::Phone},
    {"remarks", offsetof(PersonRecord, remarks), sizeof(PersonRecord::remarks), &PersonTexts::Remarks},
};

char* FieldOf(PersonRecord& record, const TextField& field) {
    return reinterpret_cast<char*>(&record) + field.Offset;
}

std::string_view FieldOf(const PersonRecord& record, const TextField& field) {
    const char* start = reinterpret_cast<const char*>(&record) + field.Offset;
    return std::string_view(start, strnlen(start, field.Size));
}

size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    return 2;
}

bool IsWholeUtf8Character(std::string_view character, size_t expected) {
    if (character.size() != expected || (expected > 1 && static_cast<unsigned char>(character[0]) < 0xC2)) return false;
    for (size_t i = 1; i < character.size(); ++i) {
        if ((static_cast<unsigned char>(character[i]) & 0xC0) != 0x80) return false;
    }
    return true;
}

// Why the UTF-8 text has no Big5 form: the first character that has none.
std::string WhyNotBig5(std::string_view utf8) {
    std::string ignored;
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = Utf8SequenceLength(static_cast<unsigned char>(utf8[i]));
        const std::string_view character = utf8.substr(i, n);
        if (!IsWholeUtf8Character(character, n)) break;
        if (!Utf8ToBig5(character, ignored)) {
            return "holds a character that Big5 cannot store: \"" + std::string(character) + "\"";
        }
        i += n;
    }
    return "is not valid UTF-8";
}

Result ToBig5Field(const TextField& field, std::string_view utf8, std::string& big5) {
    const std::string label(field.Label);
    if (utf8.find('\0') != std::string_view::npos) return Result::Failed(NotBig5Text, label + " holds a zero byte");
    if (!Utf8ToBig5(utf8, big5)) return Result::Failed(NotBig5Text, label + " " + WhyNotBig5(utf8));
    if (big5.size() >= field.Size) {
        return Result::Failed(TooLongText, label + " is " + std::to_string(big5.size()) +
                                               " bytes in Big5; the field holds " + std::to_string(field.Size - 1));
    }
    return Result::Done();
}

bool IsBig5LeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

Result StorePersonTexts(const PersonTexts& texts, PersonRecord& record) {
    std::string big5[std::size(TextFields)];
    for (size_t i = 0; i < std::size(TextFields); ++i) {
        if (Result field = ToBig5Field(TextFields[i], texts.*TextFields[i].Text, big5[i]); !field.Ok) return field;
    }
    for (size_t i = 0; i < std::size(TextFields); ++i) {
        char* field = FieldOf(record, TextFields[i]);
        std::memset(field, 0, TextFields[i].Size);
        std::memcpy(field, big5[i].data(), big5[i].size());
    }
    return Result::Done();
}

Result LoadPersonTexts(const PersonRecord& record, PersonTexts& texts) {
    PersonTexts loaded;
    for (const TextField& field : TextFields) {
        if (!Big5ToUtf8(FieldOf(record, field), loaded.*field.Text))
            return Result::Failed(NotBig5Text, std::string(field.Label) + " holds bytes that are not Big5 text");
    }
    texts = std::move(loaded);
    return Result::Done();
}

std::string FoldCase(std::string_view big5) {
    std::string folded(big5);
    for (size_t i = 0; i < folded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(folded[i]);
        if (IsBig5LeadByte(c)) {
            ++i;  // the trail byte belongs to the character
        } else if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

}  // namespace qv
