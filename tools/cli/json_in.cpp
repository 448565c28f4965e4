#include "json_in.h"

#include <charconv>

namespace qv::cli {
namespace {

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    bool Objects(const std::function<std::string(const JsonFields&)>& take, size_t& taken, std::string& error);

private:
    using Object = JsonFields;

    bool Fail(const std::string& why) {
        if (error_.empty()) error_ = why + " at byte " + std::to_string(pos_);
        return false;
    }
    void SkipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
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

bool JsonReader::Objects(const std::function<std::string(const JsonFields&)>& take, size_t& taken, std::string& error) {
    taken = 0;
    const auto takeObject = [&] {
        Object object;
        if (!ReadObject(object)) return false;
        const std::string why = take(object);
        if (!why.empty()) return Fail(why);
        ++taken;
        return true;
    };
    bool ok = true;
    if (Take('[')) {
        if (!Take(']')) {
            do ok = takeObject();
            while (ok && Take(','));
            ok = ok && Expect(']');
        }
    } else {
        // The other form: one object a line, without the array around them.
        SkipBlanks();
        if (pos_ == text_.size()) ok = Fail("expected '[' or '{'");
        while (ok && pos_ < text_.size()) {
            ok = takeObject();
            SkipBlanks();
        }
    }
    SkipBlanks();
    if (ok && pos_ != text_.size()) ok = Fail("text after the last object");
    if (!ok) error = error_;
    return ok;
}

}  // namespace

bool ReadJsonObjects(std::string_view json, const std::function<std::string(const JsonFields&)>& take, size_t& taken,
                     std::string& error) {
    return JsonReader(json).Objects(take, taken, error);
}

std::string JsonInteger(const JsonFields& fields, std::string_view key, int64_t lo, int64_t hi, int64_t& out) {
    auto it = fields.find("#" + std::string(key));
    if (it == fields.end()) return "missing number " + std::string(key);
    const std::string& digits = it->second;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
    if (ec != std::errc() || out < lo || out > hi) return std::string(key) + " out of range";
    return {};
}

std::string JsonText(const JsonFields& fields, std::string_view key, std::string& out) {
    auto it = fields.find("\"" + std::string(key));
    if (it == fields.end()) return "missing text " + std::string(key);
    out = it->second;
    return {};
}

}  // namespace qv::cli
