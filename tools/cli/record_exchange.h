// Person records as UTF-8 JSON and CSV for `records export` and `import`.
// Every field of the record appears under its own name, so that an exported
// file imports back to the same records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/chart/person_record.h"

namespace qv::cli {

// One JSON array, one object a line; false with the reason (record number and
// field) when a record's text is not Big5.
bool RecordsToJson(const std::vector<PersonRecord>& records, std::string& out, std::string& error);
bool RecordsToCsv(const std::vector<PersonRecord>& records, std::string& out, std::string& error);

// Reads what RecordsToJson writes; false with the reason and where.
bool RecordsFromJson(std::string_view json, std::vector<PersonRecord>& records, std::string& error);

}  // namespace qv::cli
