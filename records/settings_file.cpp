#include "settings_file.h"

#include <charconv>
#include <filesystem>
#include <vector>

#include "file_lock.h"

namespace qv {
namespace {

// The file's own names, as users' settings files spell them: fixed here, so
// that no change to a display text can lose a file or a key.
constexpr std::string_view SettingsFileName = "fsquorvane_s2.ini";
constexpr std::string_view SettingsSectionName = "fsQuorvane";
constexpr int16_t Any16Min = INT16_MIN;
constexpr int16_t Any16Max = INT16_MAX;
// Far beyond any settings file a person keeps; reading stops there.
constexpr size_t LongestSettingsFile = size_t{1} << 20;

constexpr SettingInfo Settings[] = {
    {SettingKey::GodBase, "GodBase", 0, 0, 1, [](ChartSettings& s) -> int16_t& { return s.Options.GodBase; }},
    {SettingKey::SkyBase, "SkyBase", 0, 0, 1, [](ChartSettings& s) -> int16_t& { return s.Options.SkyBase; }},
    {SettingKey::YearDisplay, "YearDisplay", 1, 0, 1, [](ChartSettings& s) -> int16_t& { return s.YearDisplay; }},
    {SettingKey::PoolBase, "PoolBase", 0, 0, 1, [](ChartSettings& s) -> int16_t& { return s.Options.PoolBase; }},
    {SettingKey::FirstTimeBase, "FirstTimeBase", 1, 0, 2, [](ChartSettings& s) -> int16_t& { return s.Options.FirstTimeBase; }},
    {SettingKey::MIDPARM, "MIDPARM", 100, 0, Any16Max, [](ChartSettings& s) -> int16_t& { return s.Scoring.MIDPARM; }},
    {SettingKey::FiveType, "FiveType", 0, 0, 1, [](ChartSettings& s) -> int16_t& { return s.Scoring.FiveType; }},
    {SettingKey::K1, "K1", 20, Any16Min, Any16Max, [](ChartSettings& s) -> int16_t& { return s.Scoring.K1; }},
    {SettingKey::K2, "K2", 30, Any16Min, Any16Max, [](ChartSettings& s) -> int16_t& { return s.Scoring.K2; }},
    {SettingKey::BTYPE, "BTYPE", 0, 0, 1, [](ChartSettings& s) -> int16_t& { return s.Scoring.BTYPE; }},
    {SettingKey::BBase, "BBase", 70, Any16Min, Any16Max, [](ChartSettings& s) -> int16_t& { return s.Scoring.BBase; }},
    {SettingKey::BADD, "BADD", 70, Any16Min, Any16Max, [](ChartSettings& s) -> int16_t& { return s.Scoring.BADD; }},
    {SettingKey::CBASE, "CBASE", 20, Any16Min, Any16Max, [](ChartSettings& s) -> int16_t& { return s.Scoring.CBASE; }},
    {SettingKey::ENGYDISPLAY, "ENGYDISPLAY", 1, 0, 7, [](ChartSettings& s) -> int16_t& { return s.PotentialStyle; }},
    // A 節 nearer than a day is the month's own (each falls between the 4th
    // and the 8th); double hours are two hours apart, 23:00 one hour from midnight.
    {SettingKey::TermEdgeMinutes, "TermEdgeMinutes", 15, 0, 1440, [](ChartSettings& s) -> int16_t& { return s.TermEdgeMinutes; }},
    {SettingKey::HourEdgeMinutes, "HourEdgeMinutes", 10, 0, 29, [](ChartSettings& s) -> int16_t& { return s.HourEdgeMinutes; }},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Lines end with LF, CR LF or a lone CR, whichever editor wrote the file.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crLf ? 2 : 1));
    }
    return lines;
}

// The line end the file uses already (LF for a new file).
std::string_view LineEndOf(std::string_view text) {
    const size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos || text[end] == '\n') return "\n";
    return end + 1 < text.size() && text[end + 1] == '\n' ? "\r\n" : "\r";
}

// The section named by a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const size_t close = line.find(']');
    return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key of a "key=value" line (comments have none).
std::optional<std::string_view> KeyOf(std::string_view line) {
    line = Trim(line);
    const size_t eq = line.find('=');
    if (line.empty() || line.front() == ';' || eq == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, eq));
}

// Where the section's lines are: [first, end) after its "[name]" line.
struct SectionSpan {
    size_t First, End;
};

std::optional<SectionSpan> FindSection(const std::vector<std::string_view>& lines, std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(lines[i]);
        if (!name || !SameName(*name, section)) continue;
        size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end])) ++end;
        return SectionSpan{i + 1, end};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<std::string_view>& lines, SectionSpan span, std::string_view key) {
    for (size_t i = span.First; i < span.End; ++i) {
        if (auto k = KeyOf(lines[i]); k && SameName(*k, key)) return i;
    }
    return std::nullopt;
}

std::optional<int64_t> ParseNumber(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

int16_t ValueOrDefault(std::string_view text, const SettingInfo& info, int16_t fallback) {
    const auto number = ParseNumber(text);
    if (!number) return fallback;
    const auto cut = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(*number) & 0xFFFF));
    return (cut < info.Min || cut > info.Max) ? fallback : cut;
}

int16_t SettingFrom(std::string_view text, std::string_view section, const SettingInfo& info, int16_t fallback) {
    const auto value = ProfileValue(text, section, SettingName(info.Key));
    return value ? ValueOrDefault(*value, info, fallback) : fallback;
}

std::string FileOrEmpty(const std::string& path) {
    std::string text;
    ReadRegularFile(path, LongestSettingsFile, text);  // what cannot be read holds no settings
    return text;
}

}  // namespace

std::optional<std::string> ProfileValue(std::string_view text, std::string_view section, std::string_view key) {
    const auto lines = SplitLines(text);
    const auto span = FindSection(lines, section);
    if (!span) return std::nullopt;
    const auto at = FindKey(lines, *span, key);
    if (!at) return std::nullopt;
    const std::string_view line = Trim(lines[*at]);
    return std::string(Trim(line.substr(line.find('=') + 1)));
}

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
    const std::string_view eol = LineEndOf(text);
    auto lines = SplitLines(text);
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const std::string sectionLine = "[" + std::string(section) + "]";
    std::vector<std::string> out(lines.begin(), lines.end());
    const auto span = FindSection(lines, section);
    if (!span) {
        out.push_back(sectionLine);
        out.push_back(keyLine);
    } else if (const auto at = FindKey(lines, *span, key)) {
        out[*at] = std::string(*KeyOf(lines[*at])) + "=" + std::string(value);
    } else {
        size_t end = span->End;
        while (end > span->First && Trim(lines[end - 1]).empty()) --end;
        out.insert(out.begin() + static_cast<long>(end), keyLine);
    }
    std::string result;
    for (const std::string& line : out) result += line + std::string(eol);
    return result;
}

std::span<const SettingInfo> AllSettings() { return Settings; }

const SettingInfo& InfoOf(SettingKey key) {
    for (const SettingInfo& info : Settings) {
        if (info.Key == key) return info;
    }
    return Settings[0];  // every key is in the table
}

std::string_view SettingName(SettingKey key) { return InfoOf(key).Name; }

const SettingInfo* FindSetting(std::string_view name) {
    for (const SettingInfo& info : Settings) {
        if (SameName(SettingName(info.Key), name)) return &info;
    }
    return nullptr;
}

std::string SettingsPath(const DataPaths& paths) {
    return paths.ProgramDir + "/" + std::string(SettingsFileName);
}

std::string SettingsSection() { return std::string(SettingsSectionName); }

int16_t ReadSetting(const std::string& path, SettingKey key) {
    const SettingInfo& info = InfoOf(key);
    return SettingFrom(FileOrEmpty(path), SettingsSection(), info, info.Default);
}

Result WriteSetting(const std::string& path, SettingKey key, int value, FileWriter& writer) {
    const SettingInfo& info = InfoOf(key);
    if (value < info.Min || value > info.Max) {
        return Result::Failed(0, std::string(SettingName(key)) + " takes " + std::to_string(info.Min) + " to " +
                                     std::to_string(info.Max) + ", not " + std::to_string(value));
    }
    std::string old;
    MakeFolderOf(path);
    FileLock lock;
    if (Result locked = lock.Acquire(path); !locked.Ok) return locked;
    if (ReadResult read = ReadRegularFile(path, LongestSettingsFile, old); !read.Ok && !read.Missing) return read;
    const std::string text = WithProfileValue(old, SettingsSection(), SettingName(key), std::to_string(value));
    return ReplaceFile(writer, path, text);
}

ChartSettings DefaultChartSettings() {
    ChartSettings settings{};
    for (const SettingInfo& info : Settings) info.Field(settings) = info.Default;
    return settings;
}

ChartSettings ReadChartSettings(const std::string& path) {
    return ReadChartSettings(path, SettingsSection(), DefaultChartSettings());
}

ChartSettings ReadChartSettings(const std::string& path, std::string_view section, ChartSettings defaults) {
    const std::string text = FileOrEmpty(path);
    ChartSettings settings = defaults;
    for (const SettingInfo& info : Settings) info.Field(settings) = SettingFrom(text, section, info, info.Field(defaults));
    return settings;
}

}  // namespace qv
