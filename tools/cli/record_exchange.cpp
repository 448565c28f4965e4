#include "record_exchange.h"

#include <cstdint>

#include "json_in.h"
#include "json_out.h"
#include "person_entry.h"
#include "person_text.h"

namespace qv::cli {
namespace {

// The numbers of a record under their exchange names; a field is 16-bit
// (Short) or 32-bit (Long).
struct NumberField {
    const char* Key;
    int16_t PersonRecord::*Short;
    int32_t PersonRecord::*Long;
};

constexpr NumberField NumberFields[] = {
    {"sex", nullptr, &PersonRecord::sex},
    {"year", &PersonRecord::year, nullptr},
    {"month", &PersonRecord::month, nullptr},
    {"day", &PersonRecord::day, nullptr},
    {"hour", &PersonRecord::hour, nullptr},
    {"minute", &PersonRecord::minute, nullptr},
    {"hourBranch", &PersonRecord::hourBranch, nullptr},
    {"lunarYear", &PersonRecord::lunarYear, nullptr},
    {"lunarMonth", &PersonRecord::lunarMonth, nullptr},
    {"lunarDay", &PersonRecord::lunarDay, nullptr},
    {"leapMonth", nullptr, &PersonRecord::leapMonth},
};

struct TextField {
    const char* Key;
    std::string PersonTexts::*Text;
};

constexpr TextField TextFields[] = {
    {"name", &PersonTexts::Name},
    {"address", &PersonTexts::Address},
    {"phone", &PersonTexts::Phone},
    {"remarks", &PersonTexts::Remarks},
};

int64_t NumberOf(const PersonRecord& r, const NumberField& f) { return f.Short ? r.*f.Short : r.*f.Long; }

Result TextsOf(const PersonRecord& r, size_t number, PersonTexts& texts) {
    Result loaded = LoadPersonTexts(r, texts);
    if (!loaded.Ok) loaded.Detail = "record " + std::to_string(number) + ": " + loaded.Detail;
    return loaded;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) quoted += (c == '"') ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The record of one exported object; an empty text or the reason it is refused.
std::string ToRecord(const JsonFields& object, PersonRecord& record) {
    record = PersonRecord{};
    size_t known = object.count("#number");
    for (const NumberField& f : NumberFields) {
        int64_t v = 0;
        const int64_t lo = f.Short ? INT16_MIN : INT32_MIN, hi = f.Short ? INT16_MAX : INT32_MAX;
        if (std::string why = JsonInteger(object, f.Key, lo, hi, v); !why.empty()) return why;
        ++known;
        if (f.Short) record.*f.Short = static_cast<int16_t>(v);
        else record.*f.Long = static_cast<int32_t>(v);
    }
    PersonTexts texts;
    for (const TextField& f : TextFields) {
        if (std::string why = JsonText(object, f.Key, texts.*f.Text); !why.empty()) return why;
        ++known;
    }
    if (known != object.size()) return "unknown field";
    Result taken = StorePersonTexts(texts, record);
    if (taken.Ok) taken = CheckBirthFields(record);
    return taken.Detail;
}

}  // namespace

Result RecordsToJson(const std::vector<PersonRecord>& records, std::string& out) {
    out = "[\n";
    for (size_t i = 0; i < records.size(); ++i) {
        PersonTexts texts;
        if (Result read = TextsOf(records[i], i, texts); !read.Ok) return read;
        {
            JsonObject object(out);
            object.Field("number", i);
            for (const TextField& f : TextFields) object.Text(f.Key, texts.*f.Text);
            for (const NumberField& f : NumberFields) object.Field(f.Key, NumberOf(records[i], f));
        }
        out += i + 1 < records.size() ? ",\n" : "\n";
    }
    out += "]\n";
    return Result::Done();
}

Result RecordsToCsv(const std::vector<PersonRecord>& records, std::string& out) {
    out = "number";
    for (const TextField& f : TextFields) out += std::string(",") + f.Key;
    for (const NumberField& f : NumberFields) out += std::string(",") + f.Key;
    out += "\r\n";
    for (size_t i = 0; i < records.size(); ++i) {
        PersonTexts texts;
        if (Result read = TextsOf(records[i], i, texts); !read.Ok) return read;
        out += std::to_string(i);
        for (const TextField& f : TextFields) out += "," + CsvField(texts.*f.Text);
        for (const NumberField& f : NumberFields) out += "," + std::to_string(NumberOf(records[i], f));
        out += "\r\n";
    }
    return Result::Done();
}

Result RecordsFromJson(std::string_view json, std::vector<PersonRecord>& records) {
    records.clear();
    size_t taken = 0;
    std::string error;
    const bool ok = ReadJsonObjects(
        json,
        [&](const JsonFields& object) {
            PersonRecord record;
            std::string why = ToRecord(object, record);
            if (why.empty()) records.push_back(record);
            return why;
        },
        taken, error);
    return ok ? Result::Done() : Result::Failed(0, "record " + std::to_string(taken) + ": " + error);
}

}  // namespace qv::cli
