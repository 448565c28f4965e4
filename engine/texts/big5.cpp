#include "engine/texts/big5.h"

#include <iconv.h>

#include <cerrno>

namespace qv {
namespace {

bool Convert(const char* to, const char* from, std::string_view in, std::string& out) {
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input(in);  // iconv wants a mutable pointer
    char* src = input.data();
    size_t srcLeft = input.size();
    bool ok = true;
    char buffer[256];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
        // iconv may map a character without failing; a non-reversible
        // mapping is reported by a positive count and refused as well.
        if (r != static_cast<size_t>(-1) && r > 0) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok) out.clear();
    return ok;
}

}  // namespace

bool Utf8ToBig5(std::string_view utf8, std::string& out) { return Convert("CP950", "UTF-8", utf8, out); }

bool Big5ToUtf8(std::string_view big5, std::string& out) { return Convert("UTF-8", "CP950", big5, out); }

}  // namespace qv
