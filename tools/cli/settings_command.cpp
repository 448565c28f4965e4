// settings: the charting parameters in the settings file.
#include <iostream>

#include "cli.h"
#include "data_paths.h"
#include "settings_file.h"

namespace qv::cli {
namespace {

const SettingInfo* TakeKey(Args& args) {
    if (args.Items.empty()) {
        Complain("expected a key: GodBase, SkyBase, YearDisplay, ...");
        return nullptr;
    }
    const std::string name = args.Items.front();
    args.Items.erase(args.Items.begin());
    const SettingInfo* info = FindSetting(name);
    if (!info) Complain("there is no setting " + name + " (settings list shows them)");
    return info;
}

bool NoMoreArguments(const Args& args) {
    if (args.Items.empty()) return true;
    Complain("unexpected argument " + args.Items.front());
    return false;
}

int List(Args& args, const std::string& path) {
    if (!NoMoreArguments(args)) return ExitBadInput;
    for (const SettingInfo& info : AllSettings()) {
        std::cout << SettingName(info.Key) << '=' << ReadSetting(path, info.Key) << '\n';
    }
    return ExitOk;
}

int Get(Args& args, const std::string& path) {
    const SettingInfo* info = TakeKey(args);
    if (!info || !NoMoreArguments(args)) return ExitBadInput;
    std::cout << ReadSetting(path, info->Key) << '\n';
    return ExitOk;
}

int Set(Args& args, const std::string& path) {
    const SettingInfo* info = TakeKey(args);
    int value = 0;
    if (!info) return ExitBadInput;
    if (args.Items.empty() || !ParseInt(args.Items.front(), value)) {
        Complain("expected a whole number for " + std::string(SettingName(info->Key)));
        return ExitBadInput;
    }
    args.Items.erase(args.Items.begin());
    if (!NoMoreArguments(args)) return ExitBadInput;
    if (Reported(WriteSetting(path, info->Key, value))) return ExitOk;
    return (value < info->Min || value > info->Max) ? ExitBadInput : ExitNoData;
}

}  // namespace

int RunSettings(Args& args) {
    const std::string path = SettingsPath(ResolveDataPaths(args.DataDir));
    if (args.RejectUnknownOptions()) return ExitBadInput;
    const std::string action = args.Items.empty() ? "list" : args.Items.front();
    if (!args.Items.empty()) args.Items.erase(args.Items.begin());
    if (action == "list") return List(args, path);
    if (action == "get") return Get(args, path);
    if (action == "set") return Set(args, path);
    Complain("settings takes get KEY, set KEY VALUE or list, not " + action);
    return ExitBadInput;
}

}  // namespace qv::cli
