// The potential table file "EngyInfo.tbl" in the program folder: user data,
// read whole and checked before anything of it is trusted, replaced whole and
// crash-safely when the definitions are saved.
#pragma once

#include <string>

#include "atomic_file.h"
#include "data_paths.h"
#include "engine/fortune/potential.h"
#include "engine/texts/text_ids.h"

namespace qv {

std::string PotentialTablePath(const DataPaths& paths);

// What loading found. A missing file is the empty table of a first start; a
// damaged one is refused (Problem names the file and the fault) and leaves
// the empty table too.
struct PotentialLoadResult {
    bool Missing = false;
    bool Refused = false;
    std::string Problem;
    int ReasonText = 0;  // the fault for the window programs' users: a string-table number
};


PotentialLoadResult LoadPotentialTable(const std::string& path, PotentialTable& table);

// Writes the table over the file through a scratch file in the same folder.
// A file on disk that does not load is kept beside it as path + ".bad" first.
// False with the reason when the table is not ready or not sound, or a step fails.
bool SavePotentialTable(const std::string& path, const PotentialTable& table, std::string& error,
                        FileWriter& writer = SystemWriter());

}  // namespace qv
