#include "data_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "atomic_file.h"


namespace fs = std::filesystem;

namespace qv {
namespace {

std::string EnvOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string DefaultRoot() {
    if (std::string xdg = EnvOrEmpty("XDG_DATA_HOME"); !xdg.empty()) return xdg + "/quorvane";
    if (std::string home = EnvOrEmpty("HOME"); !home.empty()) return home + "/.local/share/quorvane";
    return "quorvane-data";
}

}  // namespace

DataPaths ResolveDataPaths(std::string_view dataDirOption) {
    std::string root(dataDirOption);
    if (root.empty()) root = EnvOrEmpty("QUORVANE_DATA_DIR");
    if (root.empty()) root = DefaultRoot();
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return DataPaths{root, root + "/program"};
}

std::string ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return ".";
    return exe.parent_path().string();
}

std::string MainRecordsPath(const DataPaths& paths) { return paths.Root + "/VNX5MAIN.AID"; }

std::string ShippedDataDir() {
    const fs::path exeDir = ExecutableDir();
    std::error_code ec;
    if (exeDir.filename() == "bin") {
        const fs::path installed = exeDir.parent_path() / "share" / "quorvane";
        if (fs::is_directory(installed, ec)) return installed.string();
    }
    return exeDir.string();
}

Result FindProgramData(const DataPaths& paths, std::string_view fileName, std::string& path) {
    std::error_code ec;
    path = paths.ProgramDir + "/" + std::string(fileName);
    if (fs::exists(path, ec)) return Result::Done();
    const std::string shipped = ShippedDataDir();
    path = shipped + "/" + std::string(fileName);
    if (fs::exists(path, ec)) return Result::Done();
    return Result::Failed(0, std::string(fileName) + " not found in " + shipped + " nor in " + paths.ProgramDir);
}

Result LoadProgramTermTable(const DataPaths& paths, SolarTermTable& table) {
    std::string path;
    if (Result found = FindProgramData(paths, "AInfo.tbl", path); !found.Ok)
        return Result::Failed(0, "no solar-term table: " + found.Detail);
    std::string bytes;
    if (ReadResult read = ReadRegularFile(path, LongestSolarTermFile(), bytes); !read.Ok)
        return Result::Failed(0, "solar-term table " + path + " refused: " + read.Detail);
    Result loaded = ReadSolarTermTable(bytes, path, table);
    if (!loaded.Ok) loaded.Detail = "solar-term table " + path + " refused: " + loaded.Detail;
    return loaded;
}

}  // namespace qv
