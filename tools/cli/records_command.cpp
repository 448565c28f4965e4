// records: the person records file from the command line.
#include <cstdio>
#include <iostream>

#include "engine/texts/big5.h"
#include "cli.h"
#include "data_paths.h"
#include "person_entry.h"
#include "person_text.h"
#include "record_exchange.h"
#include "records_file.h"
#include "settings_file.h"
#include "engine/texts/string_table.h"

namespace qv::cli {
namespace {

struct RecordsContext {
    Args& Arguments;
    DataPaths Paths;
    std::string File;  // the current records file
    bool IsMain;
};

// A Big5 text for the terminal; bytes that are not Big5 are shown as \xHH.
std::string Shown(std::string_view big5) {
    std::string utf8;
    if (Big5ToUtf8(big5, utf8)) return utf8;
    for (unsigned char c : big5) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        utf8 += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return utf8;
}

std::string SexText(const PersonRecord& r) {
    return (r.sex == 0 || r.sex == 1) ? std::string(StringText(text_base::Sex + r.sex)) : std::to_string(r.sex);
}

void PrintListLine(int number, const PersonRecord& r) {
    std::cout << number << '\t' << Shown(FieldText(r.name)) << '\t' << BirthText(r) << '\t' << SexText(r) << '\n';
}

int Refuse(const std::string& message, int code = ExitBadInput) {
    Complain(message);
    return code;
}

int Report(const RecordsResult& r) {
    return Reported(r, r.MessageId ? StringText(r.MessageId) : std::string_view()) ? ExitOk : ExitNoData;
}

// The file's records; false after a complaint when it is missing or damaged.
bool LoadSound(const std::string& path, RecordsContent& content) {
    content = ReadRecordsFile(path);
    if (content.Opened && !content.Damaged) return true;
    Complain(content.Problem);
    return false;
}

bool TakeRecordNumber(RecordsContext& c, int& n) {
    if (c.Arguments.Items.empty() || !ParseInt(c.Arguments.Items.front(), n) || n < 0) {
        Complain("expected a record number (0, 1, ...)");
        return false;
    }
    c.Arguments.Items.erase(c.Arguments.Items.begin());
    return true;
}

// The one argument of find, copy, merge and import.
bool TakeArgument(RecordsContext& c, const char* what, std::string& value) {
    if (c.Arguments.Items.empty() || IsBlank(c.Arguments.Items.front())) {
        Complain(std::string("expected ") + what);
        return false;
    }
    value = c.Arguments.Items.front();
    c.Arguments.Items.erase(c.Arguments.Items.begin());
    return true;
}

bool NothingLeft(const RecordsContext& c) {
    if (c.Arguments.RejectUnknownOptions()) return false;
    if (c.Arguments.Items.empty()) return true;
    Complain("unexpected argument " + c.Arguments.Items.front());
    return false;
}

// ---- the person options of add and replace ----

bool ParseTime(std::string_view text, BirthEntry& e) {
    return text.size() == 5 && text[2] == ':' && ParseInt(text.substr(0, 2), e.Hour) &&
           ParseInt(text.substr(3, 2), e.Minute);
}

// "Y-M-D" or "Y-M-D-leap"
bool ParseLunarDate(std::string_view text, BirthEntry& e) {
    std::vector<std::string_view> parts;
    for (size_t dash; (dash = text.find('-')) != std::string_view::npos; text.remove_prefix(dash + 1)) {
        parts.push_back(text.substr(0, dash));
    }
    parts.push_back(text);
    e.LeapMonth = parts.size() == 4 && parts[3] == "leap";
    return (parts.size() == 3 || e.LeapMonth) && ParseInt(parts[0], e.Year) && ParseInt(parts[1], e.Month) &&
           ParseInt(parts[2], e.Day);
}

// "DATE HH:MM", or just "DATE" when the hour is unknown.
bool ParseBirth(std::string_view text, bool lunar, BirthEntry& e) {
    const size_t space = text.find(' ');
    const std::string_view date = text.substr(0, space);
    if (space == std::string_view::npos ? !e.HourUnknown : !ParseTime(text.substr(space + 1), e)) return false;
    if (lunar) return ParseLunarDate(date, e);
    CivilDate d{};
    if (!ParseDate(date, d)) return false;
    e.Year = d.Year, e.Month = d.Month, e.Day = d.Day;
    return true;
}

bool TakeBirth(Args& args, BirthEntry& e) {
    const auto solar = args.TakeValue("--birth");
    const auto lunar = args.TakeValue("--lunar");
    e.HourUnknown = args.TakeFlag("--hour-unknown");
    e.Lunar = lunar.has_value();
    if (solar.has_value() == lunar.has_value()) {
        Complain("give the birth once: --birth \"YYYY-MM-DD HH:MM\" or --lunar \"Y-M-D[-leap] HH:MM\"");
        return false;
    }
    if (!ParseBirth(e.Lunar ? *lunar : *solar, e.Lunar, e)) {
        Complain(e.Lunar ? "--lunar takes \"Y-M-D[-leap] HH:MM\", not " + *lunar
                         : "--birth takes \"YYYY-MM-DD HH:MM\", not " + *solar);
        return false;
    }
    return true;
}

bool TakeSex(Args& args, PersonRecord& record) {
    const auto sex = args.TakeValue("--sex");
    if (sex == "m" || sex == StringText(text_base::Sex)) {
        record.sex = 0;
    } else if (sex == "f" || sex == StringText(text_base::Sex + 1)) {
        record.sex = 1;
    } else {
        Complain("--sex m|f is required");
        return false;
    }
    return true;
}

// Remarks keep their lines apart with CR LF.
std::string WithCrLf(std::string text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

bool TakeTexts(Args& args, PersonRecord& record) {
    PersonTexts texts;
    texts.Name = args.TakeValue("--name").value_or("");
    texts.Address = args.TakeValue("--address").value_or("");
    texts.Phone = args.TakeValue("--phone").value_or("");
    texts.Remarks = WithCrLf(args.TakeValue("--remarks").value_or(""));
    return Reported(StorePersonTexts(texts, record));
}

bool TakePerson(RecordsContext& c, PersonRecord& record) {
    record = PersonRecord{};
    BirthEntry entry;
    if (!TakeTexts(c.Arguments, record) || !TakeSex(c.Arguments, record) || !TakeBirth(c.Arguments, entry)) {
        return false;
    }
    const int ratHour = ReadSetting(SettingsPath(c.Paths), SettingKey::FirstTimeBase);
    return Reported(FillBirth(entry, ratHour, record)) && NothingLeft(c);
}

// ---- the subcommands ----

int List(RecordsContext& c) {
    const bool names = c.Arguments.TakeFlag("--names");
    const auto prefix = c.Arguments.TakeValue("--prefix");
    if (!NothingLeft(c)) return ExitBadInput;
    RecordsContent content;
    if (!LoadSound(c.File, content)) return ExitNoData;
    if (!names && !prefix) {
        for (size_t i = 0; i < content.Records.size(); ++i) PrintListLine(static_cast<int>(i), content.Records[i]);
        return ExitOk;
    }
    std::string big5;
    if (prefix && !Utf8ToBig5(*prefix, big5)) return Refuse("--prefix holds a character that Big5 cannot store");
    for (const std::string& name : prefix ? ListNamesByPrefix(c.File, big5) : ListNames(c.File)) {
        std::cout << Shown(name) << '\n';
    }
    return ExitOk;
}

void PrintRecord(int n, const PersonRecord& r) {
    std::cout << "number\t" << n << "\nname\t" << Shown(FieldText(r.name)) << "\nsex\t" << SexText(r) << "\nbirth\t"
              << BirthText(r) << "\nlunar\t" << r.lunarYear << '-' << r.lunarMonth << '-' << r.lunarDay
              << (r.leapMonth ? "-leap" : "") << "\ndouble-hour\t" << r.hourBranch << "\naddress\t"
              << Shown(FieldText(r.address)) << "\nphone\t" << Shown(FieldText(r.phone)) << "\nremarks\t"
              << Shown(FieldText(r.remarks)) << '\n';
}

int Show(RecordsContext& c) {
    int n = 0;
    if (!TakeRecordNumber(c, n) || !NothingLeft(c)) return ExitBadInput;
    RecordsContent content;
    if (!LoadSound(c.File, content)) return ExitNoData;
    if (static_cast<size_t>(n) >= content.Records.size()) return Refuse("there is no record " + std::to_string(n));
    PrintRecord(n, content.Records[static_cast<size_t>(n)]);
    return ExitOk;
}

int Find(RecordsContext& c) {
    std::string name, big5;
    if (!TakeArgument(c, "a name", name) || !NothingLeft(c)) return ExitBadInput;
    if (!Utf8ToBig5(name, big5)) return Refuse("the name holds a character that Big5 cannot store");
    RecordsContent content;
    if (!LoadSound(c.File, content)) return ExitNoData;
    PersonRecord found{};
    std::vector<int> numbers;
    if (FindByName(c.File, big5, found, numbers) == 0) return Refuse("no record is named " + name);
    for (int n : numbers) PrintListLine(n, content.Records[static_cast<size_t>(n)]);
    return ExitOk;
}

int Add(RecordsContext& c) {
    PersonRecord record;
    if (!TakePerson(c, record)) return ExitBadInput;
    const RecordsResult r = StoreRecord(c.File, record, -1);
    if (r.Ok) std::cout << r.Number << '\n';
    return Report(r);
}

// The number names the record there when the change holds the file's lock.
int Replace(RecordsContext& c) {
    int n = 0;
    PersonRecord record;
    if (!TakeRecordNumber(c, n) || !TakePerson(c, record)) return ExitBadInput;
    return Report(StoreRecord(c.File, record, n));
}

int Delete(RecordsContext& c) {
    int n = 0;
    if (!TakeRecordNumber(c, n) || !NothingLeft(c)) return ExitBadInput;
    return Report(DeleteRecord(c.File, n));
}

int Copy(RecordsContext& c) {
    std::string target;
    if (!TakeArgument(c, "a file path", target) || !NothingLeft(c)) return ExitBadInput;
    return Report(SaveCopyAs(c.File, target));
}

int Merge(RecordsContext& c) {
    std::string other;
    if (!TakeArgument(c, "a file path", other) || !NothingLeft(c)) return ExitBadInput;
    const RecordsResult r = MergeIntoMain(MainRecordsPath(c.Paths), other);
    if (r.Ok) std::cout << "added " << r.Number << "; the main file holds " << r.Count << '\n';
    return Report(r);
}

int Export(RecordsContext& c) {
    const bool csv = c.Arguments.TakeFlag("--csv");
    if (c.Arguments.TakeFlag("--json") && csv) return Refuse("choose --json or --csv");
    if (!NothingLeft(c)) return ExitBadInput;
    RecordsContent content;
    if (!LoadSound(c.File, content)) return ExitNoData;
    std::string out;
    if (!Reported((csv ? RecordsToCsv : RecordsToJson)(content.Records, out))) return ExitNoData;
    std::cout << out;
    return ExitOk;
}

int Import(RecordsContext& c) {
    std::string from, json;
    if (!TakeArgument(c, "a file path", from) || !NothingLeft(c)) return ExitBadInput;
    std::vector<PersonRecord> records;
    if (!Reported(ReadWholeFile(from, json))) return ExitNoData;
    if (!Reported(RecordsFromJson(json, records), from)) return ExitBadInput;
    const RecordsResult r = ImportRecords(c.File, records);
    if (r.Ok) std::cout << "imported " << records.size() << "; the file holds " << r.Count << '\n';
    return Report(r);
}

struct Subcommand {
    const char* Name;
    int (*Run)(RecordsContext& c);
};

constexpr Subcommand Subcommands[] = {
    {"list", List},     {"show", Show}, {"find", Find},     {"add", Add},       {"replace", Replace},
    {"delete", Delete}, {"copy", Copy}, {"merge", Merge}, {"export", Export}, {"import", Import},
};

}  // namespace

int RunRecords(Args& args) {
    const auto file = args.TakeValue("--file");
    RecordsContext c{args, ResolveDataPaths(args.DataDir), "", !file.has_value()};
    c.File = file ? *file : MainRecordsPath(c.Paths);
    if (args.Items.empty()) return Refuse("records needs a subcommand: list, show, find, add, replace, delete, copy, "
                                          "merge, export or import");
    const std::string name = args.Items.front();
    args.Items.erase(args.Items.begin());
    for (const Subcommand& s : Subcommands) {
        if (name == s.Name) return s.Run(c);
    }
    return Refuse("unknown records subcommand " + name);
}

}  // namespace qv::cli
