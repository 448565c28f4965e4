#include "potential_file.h"

#include <cerrno>
#include <filesystem>

#include "file_lock.h"

namespace qv {
namespace fs = std::filesystem;
namespace {

// A file larger than the largest sound table is damaged whatever it holds;
// reading stops one byte past that size.
constexpr size_t LargestSoundFile = PotentialFileHeadSize + sizeof(PotentialItem) * MaxPotentialItems;

}  // namespace

std::string PotentialTablePath(const DataPaths& paths) {
    return paths.ProgramDir + "/" + std::string(PotentialFileName);
}

Result LoadPotentialTable(const std::string& path, PotentialTable& table) {
    ResetPotentialTable(table);
    std::string bytes;
    const ReadResult read = ReadRegularFile(path, LargestSoundFile, bytes);
    if (read.Missing) return Result::Done();
    std::string error = read.Detail;
    int reason = PotentialUnreadableText;
    std::error_code ec;
    if (read.Ok) {
        error = DecodePotentialTable(bytes, table);
        if (error.empty()) return Result::Done();
        error = path + ": " + error;
        reason = PotentialDamagedText;
    } else if (fs::is_directory(path, ec)) {
        reason = PotentialFolderText;
    } else if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) > LargestSoundFile) {
        reason = PotentialTooLongText;
    }
    ResetPotentialTable(table);
    return Result::Failed(reason, error + "; it is refused");
}

Result SavePotentialTable(const std::string& path, const PotentialTable& table, FileWriter& writer) {
    if (!table.TableReady) return Result::Failed(CannotWriteFileText, "the potential table is not loaded; nothing is saved");
    if (std::string problem = PotentialTableProblem(table); !problem.empty())
        return Result::Failed(CannotWriteFileText, "the potential table is not sound (" + problem + "); nothing is saved");
    MakeFolderOf(path);
    FileLock lock;
    if (Result locked = lock.Acquire(path); !locked.Ok) return locked;
    // The damaged file goes aside, never lost, before the new definitions take
    // its place; what cannot be read (a folder, a device) or holds nothing
    // never replaces an earlier copy.
    PotentialTable onDisk{};
    std::string damaged;
    if (!LoadPotentialTable(path, onDisk).Ok && ReadWholeFile(path, damaged).Ok && !damaged.empty()) {
        if (Result setAside = ReplaceOwnFile(writer, path + ".bad", damaged, path); !setAside.Ok) return setAside;
    }
    return ReplaceFile(writer, path, EncodePotentialTable(table));
}

}  // namespace qv
