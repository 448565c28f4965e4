#include <charconv>
#include <iostream>
#include <memory>

#include "chart_record.h"
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

bool LoadTermTable(const Args& args, SolarTermTable& table) {
    const DataPaths paths = ResolveDataPaths(args.DataDir);
    std::string path, error;
    if (!EnsureProgramFile(paths, "AInfo.tbl", path, error)) {
        Complain("no solar-term table: " + error);
        return false;
    }
    const TableLoadResult loaded = LoadSolarTermTable(path, table);
    if (!loaded.Ok) {
        Complain("solar-term table refused: " + loaded.Error);
        return false;
    }
    return true;
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

bool ParseInt(std::string_view text, int& out) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool TakeRatHour(Args& args, int16_t& rule) {
    rule = CommonRatHour;
    auto value = args.TakeValue("--rat-hour");
    if (!value) return true;
    int n = 0;
    if (!ParseInt(*value, n) || n < EarlyRatHour || n > NightRatHour) {
        Complain("--rat-hour takes 0 (早子時), 1 (一般子時) or 2 (夜子時), not " + *value);
        return false;
    }
    rule = static_cast<int16_t>(n);
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
           Digits(text, 5, 2, out.Month) && Digits(text, 8, 2, out.Day);
}

bool ParseMoment(std::string_view text, Moment& out) {
    CivilDate date{};
    if (text.size() != 16 || text[10] != ' ' || text[13] != ':' || !ParseDate(text.substr(0, 10), date)) return false;
    out.Year = date.Year;
    out.Month = date.Month;
    out.Day = date.Day;
    return Digits(text, 11, 2, out.Hour) && Digits(text, 14, 2, out.Minute);
}

int AnswerEachInput(const Args& args, std::string (*answer)(std::string_view, void*), void* context) {
    int refused = 0;
    auto refuse = [&](size_t number, std::string_view message) {
        std::cout.flush();
        std::cerr << "quorvane-cli: line " << number << ": " << message << '\n';
        ++refused;
    };
    // A blank line of stdin is skipped; a blank argument was given on purpose and holds nothing to answer.
    auto take = [&](std::string_view input, size_t number, bool argument) {
        if (argument && IsBlank(input)) return refuse(number, "empty argument");
        while (!input.empty() && (input.back() == '\r' || input.back() == ' ')) input.remove_suffix(1);
        if (input.empty()) return;
        const std::string why = answer(input, context);
        if (!why.empty()) refuse(number, why + ": " + std::string(input));
    };
    if (!args.Items.empty()) {
        for (size_t i = 0; i < args.Items.size(); ++i) take(args.Items[i], i + 1, true);
    } else {
        std::string line;
        for (size_t n = 1; std::getline(std::cin, line); ++n) take(line, n, false);
    }
    std::cout.flush();
    return refused ? ExitBadInput : ExitOk;
}

}  // namespace qv::cli
