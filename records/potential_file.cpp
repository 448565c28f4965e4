#include "potential_file.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace qv {
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
    std::error_code ec;
    if (!fs::exists(path, ec) && !ec) {
        result.Missing = true;
        return result;
    }
    std::string bytes, error;
    if (fs::is_directory(path, ec)) {
        error = "it is a folder";
        result.ReasonText = PotentialFolderText;
    } else if (const auto size = fs::file_size(path, ec); !ec && size > LargestSoundFile) {
        error = "it is longer than any potential table (" + std::to_string(size) + " bytes)";
        result.ReasonText = PotentialTooLongText;
    } else if (ReadWholeFile(path, bytes, error)) {
        error = DecodePotentialTable(bytes, table);
        result.ReasonText = PotentialDamagedText;
    } else {
        result.ReasonText = PotentialUnreadableText;
    }
    if (!error.empty()) {
        ResetPotentialTable(table);
        result.Refused = true;
        result.Problem = path + " is refused: " + error;
    }
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
    // The damaged file goes aside, never lost, before the new definitions take its place.
    PotentialTable onDisk{};
    if (LoadPotentialTable(path, onDisk).Refused) {
        std::string damaged;
        if (!ReadWholeFile(path, damaged, error) ||
            !ReplaceFile(writer, path + ".bad", path + ".bad.tmp", damaged, error))
            return false;
    }
    MakeFolderOf(path);
    return ReplaceFile(writer, path, path + ".tmp", EncodePotentialTable(table), error);
}

}  // namespace qv
