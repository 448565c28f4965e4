// Where the programs keep their files. One data root holds the main records
// file; its "program" folder holds the settings, the potential table, the logo,
// the solar-term table and the scratch file, as a program directory and its parent.
#pragma once

#include <string>
#include <string_view>

namespace qv {

struct DataPaths {
    std::string Root;        // holds VNX5MAIN.AID
    std::string ProgramDir;  // Root + "/program"
};

// The data root: the option value when given, else $QUORVANE_DATA_DIR, else
// $XDG_DATA_HOME/quorvane, else ~/.local/share/quorvane.
DataPaths ResolveDataPaths(std::string_view dataDirOption);

// Folder of the running executable (where the build puts the shipped data files).
std::string ExecutableDir();

// Path of a data file in the program directory. A file shipped beside the
// executable is copied there on first use; nothing is written beside the
// executable. False with a message when the file is in neither place or the
// copy fails.
bool EnsureProgramFile(const DataPaths& paths, std::string_view fileName, std::string& path, std::string& error);

std::string MainRecordsPath(const DataPaths& paths);

}  // namespace qv
