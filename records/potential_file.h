// The potential table file "EngyInfo.tbl" in the program folder: user data,
// read whole and checked before anything of it is trusted, replaced whole and
// crash-safely when the definitions are saved.
#pragma once

#include <string>

#include "atomic_file.h"
#include "data_paths.h"
#include "engine/fortune/potential.h"
#include "engine/texts/result.h"
#include "engine/texts/text_ids.h"

namespace qv {

std::string PotentialTablePath(const DataPaths& paths);

// A missing file is the empty table of a first start, and done; a damaged one
// is refused (the reason for the window programs' users, the detail naming
// the file and the fault) and leaves the empty table too.
Result LoadPotentialTable(const std::string& path, PotentialTable& table);

// Writes the table over the file through a scratch file in the same folder.
// A file on disk that does not load is kept beside it as path + ".bad" first.
// Failed when the table is not ready or not sound, or a step fails (the
// reason: what the system said of the last step).
Result SavePotentialTable(const std::string& path, const PotentialTable& table, FileWriter& writer = SystemWriter());

}  // namespace qv
