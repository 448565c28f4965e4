#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"
#include "charting_session.h"
#include "cli.h"
#include "data_paths.h"

namespace qv::cli {

std::optional<std::string> Args::TakeValue(std::string_view name) {
    for (size_t i = 0; i < Items.size(); ++i) {
        const std::string& item = Items[i];
        if (item == name && i + 1 < Items.size()) {
            std::string value = Items[i + 1];
            Items.erase(Items.begin() + static_cast<long>(i), Items.begin() + static_cast<long>(i) + 2);
            return value;
        }
        if (item.size() > name.size() && item.compare(0, name.size(), name) == 0 && item[name.size()] == '=') {
            std::string value = item.substr(name.size() + 1);
            Items.erase(Items.begin() + static_cast<long>(i));
            return value;
        }
    }
    return std::nullopt;
}

bool Args::TakeFlag(std::string_view name) {
    for (size_t i = 0; i < Items.size(); ++i) {
        if (Items[i] == name) {
            Items.erase(Items.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

bool Args::RejectUnknownOptions() const {
    for (const std::string& item : Items) {
        if (item.size() > 2 && item.compare(0, 2, "--") == 0) {
            Complain("unknown option " + item);
            return true;
        }
    }
    return false;
}

void Complain(std::string_view message) { std::cerr << "quorvane-cli: " << message << '\n'; }

bool Reported(const Result& result, std::string_view heading) {
    if (result.Ok) return true;
    Complain(heading.empty() ? result.Detail : std::string(heading) + ": " + result.Detail);
    return false;
}

bool LoadTermTable(const Args& args, SolarTermTable& table) {
    return Reported(LoadProgramTermTable(ResolveDataPaths(args.DataDir), table));
}

bool OpenSession(const Args& args, ChartingSession& session) {
    return Reported(session.Open(ResolveDataPaths(args.DataDir)));
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

bool ParseInt(std::string_view text, int& out) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool TakeNumberOption(Args& args, std::string_view name, int low, int high, std::optional<int>& out,
                      std::string_view what) {
    const auto value = args.TakeValue(name);
    if (!value) return true;
    int n = 0;
    if (!ParseInt(*value, n) || n < low || n > high) {
        const std::string range = what.empty() ? std::to_string(low) + " to " + std::to_string(high) : std::string(what);
        Complain(std::string(name) + " takes " + range + ", not " + *value);
        return false;
    }
    out = n;
    return true;
}

bool TakeRatHour(Args& args, int16_t& rule) {
    std::optional<int> n;
    if (!TakeNumberOption(args, "--rat-hour", EarlyRatHour, NightRatHour, n, "0 (早子時), 1 (一般子時) or 2 (夜子時)"))
        return false;
    rule = static_cast<int16_t>(n.value_or(CommonRatHour));
    return true;
}

namespace {

// A fixed-width run of digits.
bool Digits(std::string_view text, size_t pos, size_t count, int& out) {
    if (pos + count > text.size()) return false;
    int value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    out = value;
    return true;
}

}  // namespace

bool ParseDate(std::string_view text, CivilDate& out) {
    return text.size() == 10 && text[4] == '-' && text[7] == '-' && Digits(text, 0, 4, out.Year) &&
           Digits(text, 5, 2, out.Month) && Digits(text, 8, 2, out.Day) && IsValidDate(out.Year, out.Month, out.Day);
}

bool ParseMoment(std::string_view text, Moment& out) {
    CivilDate date{};
    if (text.size() != 16 || text[10] != ' ' || text[13] != ':' || !ParseDate(text.substr(0, 10), date)) return false;
    out.Year = date.Year;
    out.Month = date.Month;
    out.Day = date.Day;
    // An unknown hour is said by --hour-unknown or "??", never by a number past 23.
    return Digits(text, 11, 2, out.Hour) && Digits(text, 14, 2, out.Minute) && out.Hour <= 23 && out.Minute <= 59;
}

void AppendNumber(std::string& out, int value, int width) {
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<int>(end - digits);
    if (value >= 0 && length < width) out.append(static_cast<size_t>(width - length), '0');
    out.append(digits, end);
}

std::string BirthText(const PersonRecord& r) {
    char text[48];
    if (r.hour == HourUnknown) {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d ??:??", r.year, r.month, r.day);
    } else {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", r.year, r.month, r.day, r.hour, r.minute);
    }
    return text;
}

void AppendDate(std::string& out, const CivilDate& d) {
    AppendNumber(out, d.Year, 4);
    out += '-';
    AppendNumber(out, d.Month, 2);
    out += '-';
    AppendNumber(out, d.Day, 2);
}

void AppendMoment(std::string& out, const Moment& m) {
    AppendDate(out, CivilDate{m.Year, m.Month, m.Day});
    out += ' ';
    AppendNumber(out, m.Hour, 2);
    out += ':';
    AppendNumber(out, m.Minute, 2);
}

void WriteOut(std::string& out) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    out.clear();
}

namespace {

// The lines of stdin, read a block at a time. The answers so far go out
// before each read that may wait, so someone typing sees each answer at once.
class StdinLines {
public:
    explicit StdinLines(std::string& pendingOutput) : pending_(pendingOutput) {}

    // The next line without its newline (valid until the next call); false at the end.
    bool Next(std::string_view& line) {
        for (;;) {
            const char* from = buffer_.data() + start_;
            if (const void* newline = std::memchr(from, '\n', end_ - start_)) {
                const size_t length = static_cast<const char*>(newline) - from;
                line = std::string_view(from, length);
                start_ += length + 1;
                return true;
            }
            if (atEnd_) {
                if (start_ == end_) return false;
                line = std::string_view(from, end_ - start_);  // a last line without a newline
                start_ = end_;
                return true;
            }
            ReadMore();
        }
    }

private:
    void ReadMore() {
        buffer_.erase(0, start_);
        end_ -= start_;
        start_ = 0;
        if (buffer_.size() - end_ < BlockSize / 2) buffer_.resize(buffer_.size() + BlockSize);
        WriteOut(pending_);
        ssize_t n;
        do {
            n = ::read(STDIN_FILENO, buffer_.data() + end_, buffer_.size() - end_);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            atEnd_ = true;
        } else {
            end_ += static_cast<size_t>(n);
        }
    }

    static constexpr size_t BlockSize = 64 * 1024;
    std::string& pending_;
    std::string buffer_;
    size_t start_ = 0, end_ = 0;
    bool atEnd_ = false;
};

}  // namespace

int AnswerEachInput(const Args& args, Answer answer, void* context) {
    constexpr size_t OutputBlock = 64 * 1024;
    std::string out;
    int refused = 0;
    auto refuse = [&](size_t number, std::string_view message) {
        WriteOut(out);
        std::cerr << "quorvane-cli: line " << number << ": " << message << '\n';
        ++refused;
    };
    // A blank line of stdin is skipped; a blank argument was given on purpose and holds nothing to answer.
    auto take = [&](std::string_view input, size_t number, bool argument) {
        if (argument && IsBlank(input)) return refuse(number, "empty argument");
        while (!input.empty() && (input.back() == '\r' || input.back() == ' ')) input.remove_suffix(1);
        if (input.empty()) return;
        const std::string why = answer(input, out, context);
        if (!why.empty()) refuse(number, why + ": " + std::string(input));
        if (out.size() >= OutputBlock) WriteOut(out);
    };
    if (!args.Items.empty()) {
        for (size_t i = 0; i < args.Items.size(); ++i) take(args.Items[i], i + 1, true);
    } else {
        StdinLines lines(out);
        std::string_view line;
        for (size_t n = 1; lines.Next(line); ++n) take(line, n, false);
    }
    WriteOut(out);
    return refused ? ExitBadInput : ExitOk;
}

namespace {

// What went to standard output is only done once it is flushed and closed: a
// full disk or a closed pipe makes the command fail, as cat and cp do.
int FinishOutput(int code) {
    std::cout.flush();
    const bool written = !std::cout.fail() && std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int cause = errno;
    if (std::fclose(stdout) == 0 && written) return code;
    Complain(std::string("cannot write the output: ") + std::strerror(written ? errno : cause));
    return ExitOutputFailed;
}

}  // namespace

int RunCommandLine(int argc, char** argv, std::span<const Command> commands, void (*printUsage)(std::FILE* to)) {
    std::ios::sync_with_stdio(false);
    Args args;
    for (int i = 1; i < argc; ++i) args.Items.emplace_back(argv[i]);
    if (auto dir = args.TakeValue("--data-dir")) args.DataDir = *dir;
    if (args.Items.empty() || args.Items[0] == "--help" || args.Items[0] == "-h") {
        printUsage(args.Items.empty() ? stderr : stdout);
        return args.Items.empty() ? ExitBadInput : ExitOk;
    }
    const std::string name = args.Items[0];
    args.Items.erase(args.Items.begin());
    for (const Command& c : commands) {
        if (name == c.Name) return FinishOutput(c.Run(args));
    }
    Complain("unknown command " + name);
    printUsage(stderr);
    return ExitBadInput;
}

}  // namespace qv::cli
