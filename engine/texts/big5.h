// Big5 (code page 950) at the file boundaries: records file, potential table.
// Everything inside the program is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Converts the whole text; false (and out cleared) when a character has no
// Big5 form or the input is not valid UTF-8. Never drops or cuts a character.
bool Utf8ToBig5(std::string_view utf8, std::string& out);

// Converts the whole text; false (and out cleared) when the bytes are not valid Big5.
bool Big5ToUtf8(std::string_view big5, std::string& out);

}  // namespace qv
