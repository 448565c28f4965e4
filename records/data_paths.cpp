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

bool EnsureProgramFile(const DataPaths& paths, std::string_view fileName, std::string& path, std::string& error) {
    path = paths.ProgramDir + "/" + std::string(fileName);
    std::error_code ec;
    if (fs::exists(path, ec)) return true;
    const std::string shipped = ExecutableDir() + "/" + std::string(fileName);
    if (!fs::exists(shipped, ec)) {
        error = std::string(fileName) + " not found in " + paths.ProgramDir + " nor beside the program";
        return false;
    }
    fs::create_directories(paths.ProgramDir, ec);
    if (ec) {
        error = "cannot create " + paths.ProgramDir + ": " + ec.message();
        return false;
    }
    return CopyFileAtomically(shipped, path, error);
}

}  // namespace qv
