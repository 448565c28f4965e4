// The byte layout of a records file: a 36-byte header, then 412-byte person
// records back to back, integers little-endian, texts Big5 and zero-terminated.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/texts/byte_fields.h"
#include "engine/chart/person_record.h"

namespace qv {

inline constexpr size_t RecordsHeaderSize = 36;
inline constexpr size_t RecordSize = 412;
inline constexpr size_t HeaderCountOffset = 32;
inline constexpr int MaxRecordCount = INT16_MAX;  // the header count is 16-bit
inline constexpr std::string_view RecordsFileId = "Varnex Quorvane 100";

using RecordsHeader = std::array<char, RecordsHeaderSize>;

// A header with the identification text of the files this program creates.
RecordsHeader NewRecordsHeader(int count);
int16_t HeaderCount(const RecordsHeader& header);
void SetHeaderCount(RecordsHeader& header, int count);

// Appends the 412 bytes of the record.
void AppendRecordBytes(const PersonRecord& record, std::string& out);
// Reads a record from 412 bytes.
PersonRecord RecordFromBytes(const char* bytes);

}  // namespace qv
