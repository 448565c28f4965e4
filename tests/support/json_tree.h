// A small JSON reader of the tests' own, so that the command line's JSON is
// checked by reading it back field by field rather than by looking for
// substrings. Anything that is not JSON throws, which fails the test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::test {

struct Json {
    enum class Kind { Null, Bool, Number, Text, Array, Object } Is = Kind::Null;
    bool Flag = false;
    double Number = 0;
    std::string Text;
    std::vector<Json> Items;
    std::vector<std::pair<std::string, Json>> Fields;

    friend bool operator==(const Json&, const Json&) = default;

    bool Has(std::string_view key) const {
        for (const auto& [k, v] : Fields)
            if (k == key) return true;
        return false;
    }
    const Json& operator[](std::string_view key) const {
        for (const auto& [k, v] : Fields)
            if (k == key) return v;
        throw std::runtime_error("no field " + std::string(key));
    }
    const Json& operator[](size_t i) const { return Items.at(i); }
    // The same value with the fields of these names taken out at every depth.
    Json Without(std::initializer_list<std::string_view> names) const {
        Json out = *this;
        out.Fields.clear();
        for (const auto& [k, v] : Fields)
            if (std::find(names.begin(), names.end(), k) == names.end()) out.Fields.emplace_back(k, v.Without(names));
        for (Json& item : out.Items) item = item.Without(names);
        return out;
    }
    int64_t Int() const {
        if (Is != Kind::Number || Number != static_cast<double>(static_cast<int64_t>(Number)))
            throw std::runtime_error("not an integer");
        return static_cast<int64_t>(Number);
    }
    // An array of integers (of arrays of integers: flattened in order).
    std::vector<int64_t> Ints() const {
        std::vector<int64_t> out;
        for (const Json& item : Items) {
            if (item.Is == Kind::Array) {
                for (int64_t v : item.Ints()) out.push_back(v);
            } else {
                out.push_back(item.Int());
            }
        }
        return out;
    }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : s_(text) {}

    Json Document() {
        Json v = Value();
        Blanks();
        if (at_ != s_.size()) Fail("text after the value");
        return v;
    }

private:
    [[noreturn]] void Fail(const char* why) const {
        throw std::runtime_error(std::string(why) + " at byte " + std::to_string(at_));
    }
    void Blanks() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\r' || s_[at_] == '\t')) ++at_;
    }
    bool Take(char c) {
        Blanks();
        if (at_ < s_.size() && s_[at_] == c) return ++at_, true;
        return false;
    }
    void Expect(char c) {
        if (!Take(c)) Fail("unexpected character");
    }
    bool Word(std::string_view w) {
        if (s_.substr(at_, w.size()) != w) return false;
        at_ += w.size();
        return true;
    }
    std::string String() {
        Expect('"');
        std::string out;
        while (true) {
            if (at_ >= s_.size()) Fail("unterminated text");
            const char c = s_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in text");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= s_.size()) Fail("unterminated escape");
            switch (const char e = s_[at_++]) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    // The programs escape control characters only.
                    if (at_ + 4 > s_.size()) Fail("short escape");
                    const unsigned long code = std::stoul(std::string(s_.substr(at_, 4)), nullptr, 16);
                    if (code >= 0x80) Fail("escaped non-ASCII");
                    out += static_cast<char>(code);
                    at_ += 4;
                    break;
                }
                default:
                    if (e != '"' && e != '\\' && e != '/') Fail("unknown escape");
                    out += e;
            }
        }
    }
    Json Value() {
        Blanks();
        if (at_ >= s_.size()) Fail("missing value");
        Json v;
        const char c = s_[at_];
        if (c == '{') {
            v.Is = Json::Kind::Object;
            ++at_;
            if (Take('}')) return v;
            do {
                Blanks();
                std::string key = String();
                Expect(':');
                v.Fields.emplace_back(std::move(key), Value());
            } while (Take(','));
            Expect('}');
        } else if (c == '[') {
            v.Is = Json::Kind::Array;
            ++at_;
            if (Take(']')) return v;
            do v.Items.push_back(Value());
            while (Take(','));
            Expect(']');
        } else if (c == '"') {
            v.Is = Json::Kind::Text;
            v.Text = String();
        } else if (Word("true") || Word("false")) {
            v.Is = Json::Kind::Bool;
            v.Flag = s_[at_ - 1] == 'e' && s_[at_ - 2] == 'u';
        } else if (Word("null")) {
        } else {
            size_t used = 0;
            const std::string rest(s_.substr(at_, 40));
            try {
                v.Number = std::stod(rest, &used);
            } catch (const std::exception&) {
                Fail("not a value");
            }
            v.Is = Json::Kind::Number;
            at_ += used;
        }
        return v;
    }

    std::string_view s_;
    size_t at_ = 0;
};

inline Json ParseJson(std::string_view text) { return JsonReader(text).Document(); }

}  // namespace qv::test
