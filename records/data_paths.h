// Where the programs keep their files. One data root holds the main records
// file; its "program" folder holds what the user's work writes (settings, the
// potential table, the scratch file), as a program directory and its parent.
// Read-only data the programs ship (the solar-term table, the pictures) stays
// where the programs were installed or built and is read from there.
#pragma once

#include <string>
#include <string_view>

#include "engine/calendar/solar_terms.h"

namespace qv {

struct DataPaths {
    std::string Root;        // holds VNX5MAIN.AID
    std::string ProgramDir;  // Root + "/program"
};

// The data root: the option value when given, else $QUORVANE_DATA_DIR, else
// $XDG_DATA_HOME/quorvane, else ~/.local/share/quorvane.
DataPaths ResolveDataPaths(std::string_view dataDirOption);

// Folder of the running executable.
std::string ExecutableDir();

// Folder of the data shipped with the programs: <prefix>/share/quorvane beside
// an installed <prefix>/bin, else the executable's own folder (a build tree).
std::string ShippedDataDir();

// Path of a shipped data file. A copy the user put into the program folder of
// the data root deliberately overrides the shipped one; nothing is copied
// anywhere. Failed with a message when the file is in neither place.
Result FindProgramData(const DataPaths& paths, std::string_view fileName, std::string& path);

// Finds and loads the solar-term table; the message of a refusal names the
// file that was read.
Result LoadProgramTermTable(const DataPaths& paths, SolarTermTable& table);

std::string MainRecordsPath(const DataPaths& paths);

}  // namespace qv
