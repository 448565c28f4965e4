// A minimal JSON object writer for the command-line output: numbers, texts,
// and (nested) arrays of numbers, appended to a text buffer. Charting many
// people writes millions of numbers, so it formats with to_chars rather than
// through a stream.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace qv::cli {

class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    ~JsonObject() { out_ += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    template <typename T>
    void Field(std::string_view name, const T& value) {
        Key(name);
        Value(value);
    }
    void Text(std::string_view name, std::string_view text);
    // Starts a nested object; the caller fills it through a JsonObject on the returned buffer.
    std::string& NestedKey(std::string_view name) {
        Key(name);
        return out_;
    }

private:
    void Key(std::string_view name);

    template <typename T>
    void Value(const T& value) {
        if constexpr (std::is_array_v<T>) {
            out_ += '[';
            for (std::size_t i = 0; i < std::extent_v<T>; ++i) {
                if (i) out_ += ',';
                Value(value[i]);
            }
            out_ += ']';
        } else if constexpr (std::is_same_v<T, bool>) {
            out_ += value ? "true" : "false";
        } else {
            char digits[24];
            auto end = std::to_chars(digits, digits + sizeof digits, +value).ptr;  // bytes as numbers
            out_.append(digits, end);
        }
    }

    std::string& out_;
    bool first_ = true;
};

}  // namespace qv::cli
