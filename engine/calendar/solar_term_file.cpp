// "AInfo.tbl": a 16-byte header, one 96-byte row per year, then a checksum.
//   0  8  identification "QVSTERMS"
//   8  2  format version (2), little-endian
//  10  2  first year
//  12  2  last year
//  14  2  row count (last - first + 1)
//  16     rows: 24 entries of month, day, hour, minute bytes, 小寒 first
//  end 4  CRC-32 of every byte before it, little-endian: a changed byte that
//         still reads as a valid moment would move a term, and with it pillars
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "engine/calendar/calendar.h"
#include "engine/calendar/solar_terms.h"
#include "engine/texts/string_table.h"

namespace qv {
namespace {

constexpr char Magic[8] = {'Q', 'V', 'S', 'T', 'E', 'R', 'M', 'S'};
constexpr int FormatVersion = 2;
constexpr size_t HeaderSize = 16;
constexpr size_t RowSize = TermsPerYear * 4;
constexpr size_t ChecksumSize = 4;

// CRC-32 (IEEE 802.3, reflected): it catches every change of up to 32 adjacent bits.
constexpr std::array<uint32_t, 256> CrcTable = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        table[n] = c;
    }
    return table;
}();

uint32_t Crc32(const unsigned char* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = CrcTable[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

int ReadU16(const unsigned char* p) { return p[0] | (p[1] << 8); }

void WriteU16(std::string& out, int v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

std::string TermName(int term) { return std::string(StringText(text_base::Term + term)); }

std::string EntryProblem(int year, int term, const TermMoment& t) {
    char what[96] = "";
    if (t.Month < 1 || t.Month > 12) {
        std::snprintf(what, sizeof what, "month %d is not 1-12", t.Month);
    } else if (!IsValidDate(year, t.Month, t.Day)) {
        std::snprintf(what, sizeof what, "day %d is not valid in month %d", t.Day, t.Month);
    } else if (t.Hour > 23) {
        std::snprintf(what, sizeof what, "hour %d is not 0-23", t.Hour);
    } else if (t.Minute > 59) {
        std::snprintf(what, sizeof what, "minute %d is not 0-59", t.Minute);
    } else {
        return {};
    }
    return "year " + std::to_string(year) + " term " + std::to_string(term) + " (" + TermName(term) + "): " + what;
}

// Minutes since the table's first year began, across year ends.
int64_t AbsoluteMinute(int firstYear, int year, const TermMoment& t) {
    return (static_cast<int64_t>(DayNumber(firstYear, year, t.Month, t.Day)) * 24 + t.Hour) * 60 + t.Minute;
}

Result Refuse(SolarTermTable& table, const std::string& path, const std::string& why) {
    table.FirstYear = table.LastYear = 0;
    return Result::Failed(0, path + ": " + why);
}

}  // namespace

size_t LongestSolarTermFile() { return HeaderSize + RowSize * SolarTermMaxRows + ChecksumSize; }

Result LoadSolarTermTable(const std::string& path, SolarTermTable& table) {
    table.FirstYear = table.LastYear = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Refuse(table, path, "cannot be opened");
    // Never more than a full table plus one byte, so a huge file cannot flood memory.
    const size_t limit = LongestSolarTermFile() + 1;
    std::string data(limit, '\0');
    in.read(data.data(), static_cast<std::streamsize>(limit));
    data.resize(static_cast<size_t>(in.gcount()));
    return ReadSolarTermTable(data, path, table);
}

Result ReadSolarTermTable(std::string_view bytes, const std::string& path, SolarTermTable& table) {
    table.FirstYear = table.LastYear = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < HeaderSize || std::memcmp(data, Magic, sizeof Magic) != 0)
        return Refuse(table, path, "not a solar-term table");
    if (ReadU16(&data[8]) != FormatVersion) return Refuse(table, path, "unknown format version");
    const int first = ReadU16(&data[10]), last = ReadU16(&data[12]), rows = ReadU16(&data[14]);
    if (first != SolarTermFirstYear) return Refuse(table, path, "first year is not 1801");
    if (last < first || rows != last - first + 1 || rows > SolarTermMaxRows)
        return Refuse(table, path, "year range and row count do not agree");
    const size_t checked = HeaderSize + RowSize * static_cast<size_t>(rows);
    if (bytes.size() != checked + ChecksumSize)
        return Refuse(table, path, "length does not match " + std::to_string(rows) + " rows (truncated or extended)");
    const uint32_t stored = static_cast<uint32_t>(ReadU16(&data[checked])) |
                            (static_cast<uint32_t>(ReadU16(&data[checked + 2])) << 16);
    if (stored != Crc32(data, checked))
        return Refuse(table, path, "checksum does not match: the file was changed after it was made");

    int64_t previous = -1;
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < TermsPerYear; ++i) {
            const unsigned char* e = &data[HeaderSize + RowSize * r + 4 * i];
            const TermMoment t{e[0], e[1], e[2], e[3]};
            if (std::string problem = EntryProblem(first + r, i, t); !problem.empty()) return Refuse(table, path, problem);
            const int64_t minute = AbsoluteMinute(first, first + r, t);
            if (minute <= previous)
                return Refuse(table, path,
                              "year " + std::to_string(first + r) + " term " + std::to_string(i) + " (" + TermName(i) +
                                  ") is not after the term before it");
            previous = minute;
            table.Rows[r][i] = t;
        }
    }
    table.FirstYear = static_cast<uint16_t>(first);
    table.LastYear = static_cast<uint16_t>(last);
    return Result::Done();
}

Result SaveSolarTermTable(const std::string& path, const SolarTermTable& table) {
    if (table.FirstYear == 0) return Result::Failed(0, "no table to save");
    std::string out(Magic, sizeof Magic);
    const int rows = table.LastYear - table.FirstYear + 1;
    WriteU16(out, FormatVersion);
    WriteU16(out, table.FirstYear);
    WriteU16(out, table.LastYear);
    WriteU16(out, rows);
    for (int r = 0; r < rows; ++r) {
        for (const TermMoment& t : table.Rows[r]) {
            out.push_back(static_cast<char>(t.Month));
            out.push_back(static_cast<char>(t.Day));
            out.push_back(static_cast<char>(t.Hour));
            out.push_back(static_cast<char>(t.Minute));
        }
    }
    const uint32_t crc = Crc32(reinterpret_cast<const unsigned char*>(out.data()), out.size());
    WriteU16(out, static_cast<int>(crc & 0xFFFF));
    WriteU16(out, static_cast<int>(crc >> 16));
    // The build writes this file; a temporary name and a rename keep a half-written table from being read.
    const std::string temp = path + ".tmp";
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        f.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!f.flush()) return Result::Failed(0, temp + ": cannot be written");
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) return Result::Failed(0, path + ": cannot be replaced");
    return Result::Done();
}

}  // namespace qv
