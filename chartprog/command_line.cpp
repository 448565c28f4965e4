#include "command_line.h"

#include <charconv>
#include <limits>

namespace qv::chartprog {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The next blank-separated token of text from pos on; empty at the end.
std::string_view NextToken(std::string_view text, size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    return text.substr(start, pos - start);
}

void Assign(ChartRequest& r, std::string_view name, int32_t v) {
    // The narrower fields keep the low 16 bits, as the stored record does.
    const auto narrow = [v] { return static_cast<int16_t>(v); };
    if (name == "Y") r.Year = narrow();
    else if (name == "M") r.Month = narrow();
    else if (name == "D") r.Day = narrow();
    else if (name == "h") r.Hour = narrow();
    else if (name == "m") r.Minute = narrow();
    else if (name == "S") r.Sex = v;
    else if (name == "P") r.Mode = narrow();
    else if (name == "T") r.Category = narrow();
    else if (name == "F") r.Lifetime = v;
}

std::string Joined(const std::vector<std::string>& args) {
    std::string all;
    for (const std::string& a : args) {
        if (!all.empty()) all += ' ';
        all += a;
    }
    return all;
}

}  // namespace

int32_t ReadLeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (IsBlank(text[i]) || text[i] == '\n' || text[i] == '\r' || text[i] == '\v' ||
                               text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t Limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < Limit) value = value * 10 + (text[i] - '0');
    if (value > Limit) value = Limit;
    if (negative) return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value == Limit ? Limit - 1 : value);
}

ChartRequest ParseChartRequest(std::string_view commandLine) {
    ChartRequest r;
    const size_t at = commandLine.find('@');
    if (at == std::string_view::npos) return r;
    const std::string_view rest = commandLine.substr(at + 1);
    size_t pos = 0;
    for (std::string_view token = NextToken(rest, pos); !token.empty(); token = NextToken(rest, pos)) {
        if (token.front() != '/' && token.front() != '-') continue;
        Assign(r, token.substr(1), ReadLeadingInteger(NextToken(rest, pos)));
    }
    return r;
}

std::optional<ParsedCommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
    ParsedCommandLine parsed;
    parsed.Request = ParseChartRequest(Joined(args));
    ProgramOptions& o = parsed.Options;
    for (size_t i = 0; i < args.size() && args[i].find('@') == std::string::npos; ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.Help = true;
            continue;
        }
        if (a.rfind("--", 0) != 0) continue;  // a program path or other word: not ours to judge
        if (a != "--data-dir" && a != "--render" && a != "--size") {
            error = "unknown option " + a;
            return std::nullopt;
        }
        if (i + 1 >= args.size() || args[i + 1].find('@') != std::string::npos) {
            error = a + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (a == "--data-dir") {
            o.DataDir = value;
        } else if (a == "--render") {
            o.RenderPath = value;
        } else {
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), o.RenderWidth);
            if (ec != std::errc() || end != value.data() + value.size() || o.RenderWidth < 16 || o.RenderWidth > 8000) {
                error = "--size takes a width from 16 to 8000 pixels, not " + value;
                return std::nullopt;
            }
        }
    }
    return parsed;
}

}  // namespace qv::chartprog
