// Fixed-layout records at the file boundaries: integers little-endian, texts
// as fixed byte fields. A record lists its fields once (a visitor over them)
// and the writer and the reader below walk that one list.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace qv {

// The text of a fixed field: the bytes before the first zero, or the whole
// field when a foreign file left it unterminated.
template <size_t N>
std::string_view FieldText(const char (&field)[N]) {
    size_t n = 0;
    while (n < N && field[n] != '\0') ++n;
    return std::string_view(field, n);
}

template <typename Int>
void PutLittleEndian(Int value, std::string& out) {
    auto u = static_cast<std::make_unsigned_t<Int>>(value);
    for (size_t i = 0; i < sizeof(Int); ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

template <typename Int>
Int GetLittleEndian(const char* bytes) {
    std::make_unsigned_t<Int> u = 0;
    for (size_t i = 0; i < sizeof(Int); ++i) {
        u |= static_cast<std::make_unsigned_t<Int>>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return static_cast<Int>(u);
}

// Calls f on each field in turn: a record's field list written once.
template <typename F, typename... Fields>
void VisitEach(F&& f, Fields&... fields) {
    (f(fields), ...);
}

// Appends each visited field in file form.
struct FieldWriter {
    std::string& out;
    template <size_t N>
    void operator()(const char (&text)[N]) {
        out.append(text, N);
    }
    template <typename Int>
    void operator()(Int value) {
        PutLittleEndian(value, out);
    }
};

// Fills each visited field from the bytes at `at`, moving past it.
struct FieldReader {
    const char* at;
    template <size_t N>
    void operator()(char (&text)[N]) {
        std::memcpy(text, at, N);
        at += N;
    }
    template <typename Int>
    void operator()(Int& value) {
        value = GetLittleEndian<Int>(at);
        at += sizeof(Int);
    }
};

}  // namespace qv
