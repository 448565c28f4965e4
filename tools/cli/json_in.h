// Reading the JSON that the exports write: one array of flat objects whose
// values are texts or integers, or the same objects one a line without the
// array around them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace qv::cli {

// One object's fields: a text as UTF-8 under "\"" + key, an integer as its
// digits under "#" + key.
using JsonFields = std::map<std::string, std::string>;

// Reads the array and hands each object to `take`, which returns an empty text
// or the reason it refuses the object. False with the reason and the byte
// where reading stopped; `taken` counts the objects taken before that.
bool ReadJsonObjects(std::string_view json, const std::function<std::string(const JsonFields&)>& take, size_t& taken,
                     std::string& error);

// The integer field `key` within lo-hi: an empty text, or the reason.
std::string JsonInteger(const JsonFields& fields, std::string_view key, int64_t lo, int64_t hi, int64_t& out);

// The text field `key`: an empty text, or the reason.
std::string JsonText(const JsonFields& fields, std::string_view key, std::string& out);

}  // namespace qv::cli
