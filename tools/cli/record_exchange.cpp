#include "record_exchange.h"

#include <charconv>
#include <cstdint>
#include <map>

#include "json_out.h"
#include "person_entry.h"
#include "person_text.h"

namespace qv::cli {
namespace {

// The numbers of a record under their exchange names; a field is 16-bit
// (Short) or 32-bit (Long).
struct NumberField {
    const char* Key;
    int16_t PersonRecord::*Short;
    int32_t PersonRecord::*Long;
};

constexpr NumberField NumberFields[] = {
    {"sex", nullptr, &PersonRecord::sex},
    {"year", &PersonRecord::year, nullptr},
    {"month", &PersonRecord::month, nullptr},
    {"day", &PersonRecord::day, nullptr},
    {"hour", &PersonRecord::hour, nullptr},
    {"minute", &PersonRecord::minute, nullptr},
    {"hourBranch", &PersonRecord::hourBranch, nullptr},
    {"lunarYear", &PersonRecord::lunarYear, nullptr},
    {"lunarMonth", &PersonRecord::lunarMonth, nullptr},
    {"lunarDay", &PersonRecord::lunarDay, nullptr},
    {"leapMonth", nullptr, &PersonRecord::leapMonth},
};

struct TextField {
    const char* Key;
    std::string PersonTexts::*Text;
};

constexpr TextField TextFields[] = {
    {"name", &PersonTexts::Name},
    {"address", &PersonTexts::Address},
    {"phone", &PersonTexts::Phone},
    {"remarks", &PersonTexts::Remarks},
};

int64_t NumberOf(const PersonRecord& r, const NumberField& f) { return f.Short ? r.*f.Short : r.*f.Long; }

bool TextsOf(const PersonRecord& r, size_t number, PersonTexts& texts, std::string& error) {
    if (LoadPersonTexts(r, texts, error)) return true;
    error = "record " + std::to_string(number) + ": " + error;
    return false;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) quoted += (c == '"') ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// ---- reading JSON: an array of flat objects of texts and integers ----

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    bool Records(std::vector<PersonRecord>& records, std::string& error);

private:
    using Object = std::map<std::string, std::string>;  // texts as UTF-8, numbers as their digits

    bool Fail(const std::string& why) {
        if (error_.empty()) error_ = why + " at byte " + std::to_string(pos_);
        return false;
    }
    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r'))
            ++pos_;
    }
    bool Take(char c) {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Expect(char c) { return Take(c) || Fail(std::string("expected '") + c + "'"); }
    bool Hex4(uint32_t& out);
    bool Escape(std::string& out);
    bool String(std::string& out);
    bool Number(std::string& out);
    bool ReadObject(Object& object);
    bool ToRecord(const Object& object, PersonRecord& record);

    std::string_view text_;
    size_t pos_ = 0;
    std::string error_;
};

void AppendUtf8(uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool JsonReader::Hex4(uint32_t& out) {
    if (pos_ + 4 > text_.size()) return Fail("short \\u escape");
    auto [ptr, ec] = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, out, 16);
    if (ec != std::errc() || ptr != text_.data() + pos_ + 4) return Fail("bad \\u escape");
    pos_ += 4;
    return true;
}

bool JsonReader::Escape(std::string& out) {
    if (pos_ >= text_.size()) return Fail("unfinished text");
    const char c = text_[pos_++];
    static constexpr std::string_view plain = "\"\\/bfnrt", meant = "\"\\/\b\f\n\r\t";
    if (const size_t i = plain.find(c); i != std::string_view::npos) {
        out += meant[i];
        return true;
    }
    if (c != 'u') return Fail("bad escape");
    uint32_t cp = 0;
    if (!Hex4(cp)) return false;
    if (cp >= 0xD800 && cp < 0xDC00) {
        uint32_t low = 0;
        if (text_.substr(pos_, 2) != "\\u") return Fail("lone surrogate");
        pos_ += 2;
        if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) return Fail("bad surrogate pair");
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
        return Fail("lone surrogate");
    }
    AppendUtf8(cp, out);
    return true;
}

bool JsonReader::String(std::string& out) {
    if (!Expect('"')) return false;
    out.clear();
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (c == '"') return true;
        if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in text");
        if (c != '\\') {
            out += c;
        } else if (!Escape(out)) {
            return false;
        }
    }
    return Fail("unfinished text");
}

bool JsonReader::Number(std::string& out) {
    const size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
    out = std::string(text_.substr(start, pos_ - start));
    return (out != "" && out != "-") || Fail("expected a text or an integer");
}

bool JsonReader::ReadObject(Object& object) {
    if (!Expect('{')) return false;
    if (Take('}')) return true;
    do {
        std::string key, value;
        SkipBlanks();
        if (!String(key) || !Expect(':')) return false;
        SkipBlanks();
        const bool isText = pos_ < text_.size() && text_[pos_] == '"';
        if (!(isText ? String(value) : Number(value))) return false;
        if (!object.emplace((isText ? "\"" : "#") + key, value).second) return Fail("field " + key + " twice");
    } while (Take(','));
    return Expect('}');
}

bool JsonReader::ToRecord(const Object& object, PersonRecord& record) {
    record = PersonRecord{};
    size_t known = object.count("#number");
    for (const NumberField& f : NumberFields) {
        auto it = object.find(std::string("#") + f.Key);
        if (it == object.end()) return Fail(std::string("missing number ") + f.Key);
        ++known;
        int64_t v = 0;
        auto [end, ec] = std::from_chars(it->second.data(), it->second.data() + it->second.size(), v);
        const int64_t lo = f.Short ? INT16_MIN : INT32_MIN, hi = f.Short ? INT16_MAX : INT32_MAX;
        if (ec != std::errc() || v < lo || v > hi) return Fail(std::string(f.Key) + " out of range");
        if (f.Short) record.*f.Short = static_cast<int16_t>(v);
        else record.*f.Long = static_cast<int32_t>(v);
    }
    PersonTexts texts;
    for (const TextField& f : TextFields) {
        auto it = object.find(std::string("\"") + f.Key);
        if (it == object.end()) return Fail(std::string("missing text ") + f.Key);
        ++known;
        texts.*f.Text = it->second;
    }
    if (known != object.size()) return Fail("unknown field");
    std::string why;
    return (StorePersonTexts(texts, record, why) && CheckBirthFields(record, why)) || Fail(why);
}

bool JsonReader::Records(std::vector<PersonRecord>& records, std::string& error) {
    records.clear();
    bool ok = Expect('[');
    if (ok && !Take(']')) {
        do {
            Object object;
            PersonRecord record;
            ok = ReadObject(object) && ToRecord(object, record);
            if (ok) records.push_back(record);
        } while (ok && Take(','));
        ok = ok && Expect(']');
    }
    SkipBlanks();
    if (ok && pos_ != text_.size()) ok = Fail("text after the records");
    if (!ok) error = "record " + std::to_string(records.size()) + ": " + error_;
    return ok;
}

}  // namespace

bool RecordsToJson(const std::vector<PersonRecord>& records, std::string& out, std::string& error) {
    out = "[\n";
    for (size_t i = 0; i < records.size(); ++i) {
        PersonTexts texts;
        if (!TextsOf(records[i], i, texts, error)) return false;
        {
            JsonObject object(out);
            object.Field("number", i);
            for (const TextField& f : TextFields) object.Text(f.Key, texts.*f.Text);
            for (const NumberField& f : NumberFields) object.Field(f.Key, NumberOf(records[i], f));
        }
        out += i + 1 < records.size() ? ",\n" : "\n";
    }
    out += "]\n";
    return true;
}

bool RecordsToCsv(const std::vector<PersonRecord>& records, std::string& out, std::string& error) {
    out = "number";
    for (const TextField& f : TextFields) out += std::string(",") + f.Key;
    for (const NumberField& f : NumberFields) out += std::string(",") + f.Key;
    out += "\r\n";
    for (size_t i = 0; i < records.size(); ++i) {
        PersonTexts texts;
        if (!TextsOf(records[i], i, texts, error)) return false;
        out += std::to_string(i);
        for (const TextField& f : TextFields) out += "," + CsvField(texts.*f.Text);
        for (const NumberField& f : NumberFields) out += "," + std::to_string(NumberOf(records[i], f));
        out += "\r\n";
    }
    return true;
}

bool RecordsFromJson(std::string_view json, std::vector<PersonRecord>& records, std::string& error) {
    return JsonReader(json).Records(records, error);
}

}  // namespace qv::cli
