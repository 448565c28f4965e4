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
    std::string bytes, error;
    int reason = PotentialUnreadableText;
    switch (ReadRegularFile(path, LargestSoundFile, bytes, error)) {
        case ReadOutcome::Missing:
            return Result::Done();
        case ReadOutcome::Refused: {
            std::error_code ec;
            if (fs::is_directory(path, ec)) {
                reason = PotentialFolderText;
            } else if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) > LargestSoundFile) {
                reason = PotentialTooLongText;
            }
            break;
        }
        case ReadOutcome::Read:
            error = DecodePotentialTable(bytes, table);
            if (error.empty()) return Result::Done();
            error = path + ": " + error;
            reason = PotentialDamagedText;
            break;
    }
    ResetPotentialTable(table);
    return Result::Failed(reason, error + "; it is refused");
}

namespace {

// The reason of a failed save is what the system said of the step that failed.
Result NotSaved(std::string error) { return Result::Failed(FaultText(errno), std::move(error)); }

}  // namespace

Result SavePotentialTable(const std::string& path, const PotentialTable& table, FileWriter& writer) {
    if (!table.TableReady) return NotSaved("the potential table is not loaded; nothing is saved");
    if (std::string problem = PotentialTableProblem(table); !problem.empty())
        return NotSaved("the potential table is not sound (" + problem + "); nothing is saved");
    MakeFolderOf(path);
    FileLock lock;
    std::string error;
    if (!lock.Acquire(path, error)) return NotSaved(std::move(error));
    // The damaged file goes aside, never lost, before the new definitions take
    // its place; what cannot be read (a folder, a device) or holds nothing
    // never replaces an earlier copy.
    PotentialTable onDisk{};
    std::string damaged, ignored;
    if (!LoadPotentialTable(path, onDisk).Ok && ReadWholeFile(path, damaged, ignored) && !damaged.empty() &&
        !ReplaceOwnFile(writer, path + ".bad", damaged, path, error))
        return NotSaved(std::move(error));
    if (!ReplaceFile(writer, path, EncodePotentialTable(table), error)) return NotSaved(std::move(error));
    return Result::Done();
}

}  // namespace qv
