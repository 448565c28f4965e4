#include "record_codec.h"

#include <cstring>

#include "engine/texts/byte_fields.h"

static_assert(qv::RecordSize == sizeof(qv::PersonRecord));

namespace qv {
namespace {

// Calls f on every field of the record in file order, so that the writer and
// the reader share one list of fields.
template <typename Record, typename F>
void VisitFields(Record& r, F&& f) {
    VisitEach(f, r.name, r.year, r.month, r.day, r.hourBranch, r.hour, r.minute, r.lunarYear, r.lunarMonth, r.lunarDay,
              r.reserved, r.sex, r.leapMonth, r.address, r.phone, r.remarks);
}

}  // namespace

RecordsHeader NewRecordsHeader(int count) {
    RecordsHeader header{};
    std::memcpy(header.data(), RecordsFileId.data(), RecordsFileId.size());
    SetHeaderCount(header, count);
    return header;
}

int16_t HeaderCount(const RecordsHeader& header) { return GetLittleEndian<int16_t>(header.data() + HeaderCountOffset); }

void SetHeaderCount(RecordsHeader& header, int count) {
    std::string bytes;
    PutLittleEndian(static_cast<int16_t>(count), bytes);
    std::memcpy(header.data() + HeaderCountOffset, bytes.data(), bytes.size());
}

void AppendRecordBytes(const PersonRecord& record, std::string& out) { VisitFields(record, FieldWriter{out}); }

PersonRecord RecordFromBytes(const char* bytes) {
    PersonRecord record{};
    VisitFields(record, FieldReader{bytes});
    return record;
}

}  // namespace qv
