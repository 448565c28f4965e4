// The potential table as UTF-8 JSON for `potential-table export` and
// `import`: one array of flat objects, a category and then its abilities,
// numbered from 1 as the parameter dialogs number them.
//   {"category":1,"name":"領導","share":30}
//   {"category":1,"item":1,"name":"決斷","elements":"水 火","tenGods":"比肩 正官"}
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "charting_session.h"
#include "cli.h"
#include "engine/fortune/potential.h"
#include "potential_file.h"

namespace qv::cli {

// The names of the set bits, in element order 水 木 火 土 金, respectively
// ten-god order 比肩 … 傷官, separated by blanks.
std::string ElementNames(uint8_t mask);
std::string TenGodNames(uint16_t mask);

// The JSON of the categories in use. A name that is not Big5 is written as
// 未命名 and reported in `warnings`, one line each.
std::string PotentialTableToJson(const PotentialTable& table, std::vector<std::string>& warnings);

// Reads what PotentialTableToJson writes into a sound, ready table; failed,
// the detail naming the object number and the field, on anything else, names
// that have no Big5 form or do not fit their fields included.
Result PotentialTableFromJson(std::string_view json, PotentialTable& table);

// The table file a subcommand works on.
struct TableFile {
    std::string Path;
    std::unique_ptr<PotentialTable> Table = std::make_unique<PotentialTable>();
};

// The table at --file, else in the data folder's program folder; false after
// a complaint when the file is refused.
bool LoadTable(Args& args, TableFile& file);
// The same table as the potential table of the session.
bool LoadSessionTable(Args& args, ChartingSession& session);

}  // namespace qv::cli
