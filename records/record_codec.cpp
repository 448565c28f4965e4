#include "record_codec.h"

#include <cstring>

static_assert(qv::RecordSize == sizeof(qv::PersonRecord));

namespace qv {
namespace {

// Calls f on every field of the record in file order, so that the writer and
// the reader share one list of fields.
template <typename Record, typename F>
void VisitFields(Record& r, F&& f) {
    f(r.name);
    f(r.year);
    f(r.month);
    f(r.day);
    f(r.hourBranch);
    f(r.hour);
    f(r.minute);
    f(r.lunarYear);
    f(r.lunarMonth);
    f(r.lunarDay);
    f(r.reserved);
    f(r.sex);
    f(r.leapMonth);
    f(r.address);
    f(r.phone);
    f(r.remarks);
}

template <typename Int>
void PutLittleEndian(Int value, std::string& out) {
    auto u = static_cast<std::make_unsigned_t<Int>>(value);
    for (size_t i = 0; i < sizeof(Int); ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

template <typename Int>
Int GetLittleEndian(const char* bytes) {
    std::make_unsigned_t<Int> u = 0;
    for (size_t i = 0; i < sizeof(Int); ++i) {
        u |= static_cast<std::make_unsigned_t<Int>>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return static_cast<Int>(u);
}

struct FieldWriter {
    std::string& out;
    template <size_t N>
    void operator()(const char (&text)[N]) {
        out.append(text, N);
    }
    template <typename Int>
    void operator()(Int value) {
        PutLittleEndian(value, out);
    }
};

struct FieldReader {
    const char* at;
    template <size_t N>
    void operator()(char (&text)[N]) {
        std::memcpy(text, at, N);
        at += N;
    }
    template <typename Int>
    void operator()(Int& value) {
        value = GetLittleEndian<Int>(at);
        at += sizeof(Int);
    }
};

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
