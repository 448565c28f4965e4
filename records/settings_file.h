// The settings file: a private-profile text of integer keys in one section,
// read with defaults and written back one key at a time, keeping everything
// else in the file (other sections and keys, comments, line order).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "atomic_file.h"
#include "engine/analysis/birth_edges.h"
#include "engine/chart/chart_record.h"
#include "data_paths.h"

namespace qv {

// Private-profile text. Section and key names compare without regard to case;
// the first of several equal ones counts.
std::optional<std::string> ProfileValue(std::string_view text, std::string_view section, std::string_view key);
// The text with key set to value: the key's line replaced, else added at the
// end of its section, else the section added at the end.
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// The keys, each with its name in the file (SettingName).
enum class SettingKey : int {
    GodBase,
    SkyBase,
    YearDisplay,
    PoolBase,
    FirstTimeBase,
    MIDPARM,
    FiveType,
    K1,
    K2,
    BTYPE,
    BBase,
    BADD,
    CBASE,
    ENGYDISPLAY,
    TermEdgeMinutes,
    HourEdgeMinutes,
};

// Everything the settings file holds, where the program uses it.
struct ChartSettings {
    EngineOptions Options;
    ScoringParameters Scoring;
    int16_t YearDisplay;     // 0 Western years, 1 Republican years
    int16_t PotentialStyle;  // drawing style of the potential window, 0-7
    // How near a 節 or a double-hour edge a birth lies for the chart to say
    // that its pillars rest on the minute.
    int16_t TermEdgeMinutes, HourEdgeMinutes;
};

inline EdgeMargins EdgeMarginsOf(const ChartSettings& s) { return {s.TermEdgeMinutes, s.HourEdgeMinutes}; }

struct SettingInfo {
    SettingKey Key;
    std::string_view Name;  // as the file spells it
    int16_t Default, Min, Max;
    int16_t& (*Field)(ChartSettings&);
};

// The keys in the order they are listed to the user.
std::span<const SettingInfo> AllSettings();
const SettingInfo& InfoOf(SettingKey key);
std::string_view SettingName(SettingKey key);
// The key of that name (without regard to case); null when there is none.
const SettingInfo* FindSetting(std::string_view name);

std::string SettingsPath(const DataPaths& paths);  // <program dir>/fsquorvane_s2.ini
std::string SettingsSection();                     // fsQuorvane

// The key's value cut to 16 bits; its default when the file, the key or a
// number is missing or the value lies outside the key's range.
int16_t ReadSetting(const std::string& path, SettingKey key);
// Writes the value ("%d") crash-safely, creating the file and its folder when
// missing; failed with the reason, the file untouched, when the value lies
// outside the key's range or the write fails.
Result WriteSetting(const std::string& path, SettingKey key, int value, FileWriter& writer = SystemWriter());

// Every key at its default.
ChartSettings DefaultChartSettings();
// All the keys, the file read once.
ChartSettings ReadChartSettings(const std::string& path);
// The same keys from another program's section, with that program's defaults
// for what is missing or out of range.
ChartSettings ReadChartSettings(const std::string& path, std::string_view section, ChartSettings defaults);

}  // namespace qv
