#include "potential_file.h"

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

PotentialLoadResult LoadPotentialTable(const std::string& path, PotentialTable& table) {
    ResetPotentialTable(table);
    PotentialLoadResult result;
    std::string bytes, error;
    switch (ReadRegularFile(path, LargestSoundFile, bytes, error)) {
        case ReadOutcome::Missing:
            result.Missing = true;
            return result;
        case ReadOutcome::Refused: {
            std::error_code ec;
            if (fs::is_directory(path, ec)) {
                result.ReasonText = PotentialFolderText;
            } else if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) > LargestSoundFile) {
                result.ReasonText = PotentialTooLongText;
            } else {
                result.ReasonText = PotentialUnreadableText;
            }
            break;
        }
        case ReadOutcome::Read:
            error = DecodePotentialTable(bytes, table);
            if (error.empty()) return result;
            error = path + ": " + error;
            result.ReasonText = PotentialDamagedText;
            break;
    }
    ResetPotentialTable(table);
    result.Refused = true;
    result.Problem = error + "; it is refused";
    return result;
}

bool SavePotentialTable(const std::string& path, const PotentialTable& table, std::string& error, FileWriter& writer) {
    if (!table.TableReady) {
        error = "the potential table is not loaded; nothing is saved";
        return false;
    }
    if (std::string problem = PotentialTableProblem(table); !problem.empty()) {
        error = "the potential table is not sound (" + problem + "); nothing is saved";
        return false;
    }
    MakeFolderOf(path);
    FileLock lock;
    if (!lock.Acquire(path, error)) return false;
    // The damaged file goes aside, never lost, before the new definitions take
    // its place; what cannot be read (a folder, a device) or holds nothing
    // never replaces an earlier copy.
    PotentialTable onDisk{};
    std::string damaged, ignored;
    if (LoadPotentialTable(path, onDisk).Refused && ReadWholeFile(path, damaged, ignored) && !damaged.empty() &&
        !ReplaceOwnFile(writer, path + ".bad", damaged, path, error))
        return false;
    return ReplaceFile(writer, path, EncodePotentialTable(table), error);
}

}  // namespace qv
