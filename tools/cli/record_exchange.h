// Person records as UTF-8 JSON and CSV for `records export` and `import`.
// Every field of the record appears under its own name, so that an exported
// file imports back to the same records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/chart/person_record.h"
#include "engine/texts/result.h"

namespace qv::cli {

// One JSON array, one object a line; failed, the detail naming the record
// number and the field, when a record's text is not Big5.
Result RecordsToJson(const std::vector<PersonRecord>& records, std::string& out);
Result RecordsToCsv(const std::vector<PersonRecord>& records, std::string& out);

// Reads what RecordsToJson writes; failed with the reason and where in the detail.
Result RecordsFromJson(std::string_view json, std::vector<PersonRecord>& records);

}  // namespace qv::cli
