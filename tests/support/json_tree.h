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

    const Json* Find(std::string_view key) const {
        for (const auto& [k, v] : Fields)
            if (k == key) return &v;
        return nullptr;
    }
    bool Has(std::string_view key) const { return Find(key) != nullptr; }
    const Json& operator[](std::string_view key) const {
        if (const Json* v = Find(key)) return *v;
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
            if (item.Is != Kind::Array) {
                out.push_back(item.Int());
                continue;
            }
            const std::vector<int64_t> inner = item.Ints();
            out.insert(out.end(), inner.begin(), inner.end());
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
        while (at_ < s_.size() && std::string_view(" \n\r\t").find(s_[at_]) != std::string_view::npos) ++at_;
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
    char Next(const char* why) {
        if (at_ >= s_.size()) Fail(why);
        return s_[at_++];
    }
    std::string String() {
        Expect('"');
        std::string out;
        for (char c; (c = Next("unterminated text")) != '"';) {
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in text");
            out += c == '\\' ? Escape() : c;
        }
        return out;
    }
    // The programs escape control characters only.
    char Escape() {
        switch (const char e = Next("unterminated escape")) {
            case 'n': return '\n';
            case 't': return '\t';
            case '"': case '\\': case '/': return e;
            case 'u': {
                if (at_ + 4 > s_.size()) Fail("short escape");
                const unsigned long code = std::stoul(std::string(s_.substr(at_, 4)), nullptr, 16);
                if (code >= 0x80) Fail("escaped non-ASCII");
                at_ += 4;
                return static_cast<char>(code);
            }
            default: Fail("unknown escape");
        }
    }
    Json Value() {
        Json v;
        if (Take('{')) {
            v.Is = Json::Kind::Object;
            if (Take('}')) return v;
            do {
                Blanks();
                std::string key = String();
                Expect(':');
                v.Fields.emplace_back(std::move(key), Value());
            } while (Take(','));
            Expect('}');
        } else if (Take('[')) {
            v.Is = Json::Kind::Array;
            if (Take(']')) return v;
            do v.Items.push_back(Value());
            while (Take(','));
            Expect(']');
        } else if (at_ < s_.size() && s_[at_] == '"') {
            v.Is = Json::Kind::Text;
            v.Text = String();
        } else if (Word("true") || Word("false")) {
            v.Is = Json::Kind::Bool;
            v.Flag = s_[at_ - 1] == 'e' && s_[at_ - 2] == 'u';
        } else if (!Word("null")) {
            size_t used = 0;
            try {
                v.Number = std::stod(std::string(s_.substr(at_, 40)), &used);
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
