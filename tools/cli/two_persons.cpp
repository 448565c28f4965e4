#include "two_persons.h"

#include "data_paths.h"
#include "records_file.h"

namespace qv::cli {
namespace {

// Record n of the records file (--file or the main one); false after a complaint.
bool ReadRecord(const Args& args, const std::string& file, const std::string& number, PersonRecord& out) {
    int n = 0;
    if (!ParseInt(number, n) || n < 0) {
        Complain("a record number is 0, 1, ..., not " + number);
        return false;
    }
    const RecordsContent content = ReadRecordsFile(file.empty() ? MainRecordsPath(ResolveDataPaths(args.DataDir)) : file);
    if (!content.Opened || content.Damaged) {
        Complain(content.Problem);
        return false;
    }
    if (static_cast<size_t>(n) >= content.Records.size()) {
        Complain("there is no record " + number);
        return false;
    }
    out = content.Records[static_cast<size_t>(n)];
    return true;
}

int ChartRecords(Args& args, Charting& charting, TwoPersons& out, const std::string& first,
                 const std::optional<std::string>& second) {
    const std::string file = args.TakeValue("--file").value_or("");
    if (const int code = PrepareCharting(args, charting, nullptr); code != ExitOk) return code;
    PersonRecord a{}, b{};
    if (!ReadRecord(args, file, first, a) || (second && !ReadRecord(args, file, *second, b))) return ExitNoData;
    auto chart = [&](const PersonRecord& person, ChartRecord& target) {
        if (!charting.Session.Chart(person, ChartingSession::Fortunes::Skipped)) return false;
        target = charting.Record();
        return true;
    };
    if (!chart(a, *out.A) || (second && !chart(b, *out.B))) {
        Complain(NoChart);
        return ExitBadInput;
    }
    out.HasB = second.has_value();
    return ExitOk;
}

}  // namespace

int ChartTwoPersons(Args& args, Charting& charting, TwoPersons& out, bool secondOptional) {
    if (const auto first = args.TakeValue("--record")) {
        const auto second = args.TakeValue("--with-record");
        if (!second && !secondOptional) {
            Complain("--with-record M is required with --record N");
            return ExitBadInput;
        }
        return ChartRecords(args, charting, out, *first, second);
    }
    const auto when = args.TakeValue("--with-birth");
    const auto sex = args.TakeValue("--with-sex");
    Birth second;
    second.HourUnknown = args.TakeFlag("--with-hour-unknown");
    out.HasB = when || sex || !secondOptional;
    if (out.HasB && (!when || !ParseMoment(*when, second.When))) {
        Complain("--with-birth \"YYYY-MM-DD HH:MM\" is required");
        return ExitBadInput;
    }
    if (out.HasB && (!sex || !ParseSex(*sex, second.Sex))) {
        Complain("--with-sex m|f is required");
        return ExitBadInput;
    }
    Birth first;
    if (const int code = ChartOneBirth(args, charting, first); code != ExitOk) return code;
    *out.A = charting.Record();
    if (!out.HasB) return ExitOk;
    if (!charting.Chart(second)) {
        Complain(std::string("--with-birth: ") + charting.Problem);
        return ExitBadInput;
    }
    *out.B = charting.Record();
    return ExitOk;
}

}  // namespace qv::cli
