#include "json_out.h"

namespace qv::cli {

void JsonObject::Key(std::string_view name) {
    if (!first_) out_ += ',';
    first_ = false;
    out_ += '"';
    out_ += name;
    out_ += "\":";
}

void JsonObject::Text(std::string_view name, std::string_view text) {
    Key(name);
    out_ += '"';
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char hex[] = "0123456789abcdef";
            out_ += "\\u00";
            out_ += hex[(c >> 4) & 0xF];
            out_ += hex[c & 0xF];
        } else {
            out_ += c;
        }
    }
    out_ += '"';
}

}  // namespace qv::cli
