#include "records_file.h"

#include <cstring>
#include <filesystem>
#include <unordered_set>

#include "big5.h"
#include "person_text.h"
#include "string_table.h"

namespace fs = std::filesystem;

namespace qv {
namespace {

size_t SoundLength(size_t count) { return RecordsHeaderSize + RecordSize * count; }

std::string DamageReport(const std::string& path, size_t length, int count) {
    std::string why = path + " is damaged: ";
    if (length < RecordsHeaderSize) return why + "it is shorter than a header (" + std::to_string(length) + " bytes)";
    why += "its header counts " + std::to_string(count) + " records but it is " + std::to_string(length) + " bytes long";
    if (count >= 0) why += " instead of " + std::to_string(SoundLength(static_cast<size_t>(count)));
    return why;
}

void TakeRecords(std::string_view bytes, RecordsContent& content) {
    std::memcpy(content.Header.data(), bytes.data(), RecordsHeaderSize);
    const int count = HeaderCount(content.Header);
    const size_t whole = (bytes.size() - RecordsHeaderSize) / RecordSize;
    const size_t used = count < 0 ? whole : std::min(static_cast<size_t>(count), whole);
    content.Records.reserve(used);
    for (size_t i = 0; i < used; ++i) {
        content.Records.push_back(RecordFromBytes(bytes.data() + RecordsHeaderSize + RecordSize * i));
    }
}

RecordsResult Failure(int messageId, std::string error) {
    RecordsResult r;
    r.MessageId = messageId;
    r.Error = std::move(error);
    return r;
}

// Reads a file that is about to be rewritten. A missing file reads as an empty
// new one when allowed; an unreadable or damaged one is refused, so that no
// rewrite drops bytes that were there.
bool ReadForRewrite(const std::string& path, bool allowMissing, int messageId, RecordsContent& content,
                    RecordsResult& failure) {
    content = ReadRecordsFile(path);
    if (content.Missing && allowMissing) {
        content.Header = NewRecordsHeader(0);
        return true;
    }
    if (content.Opened && !content.Damaged) return true;
    failure = Failure(messageId, content.Problem + (content.Damaged ? "; it is left as it is" : ""));
    return false;
}

RecordsResult Rewrite(const std::string& path, RecordsHeader header, const std::vector<PersonRecord>& records,
                      FileWriter& writer, int messageId) {
    SetHeaderCount(header, static_cast<int>(records.size()));
    std::string bytes(header.data(), header.size());
    bytes.reserve(SoundLength(records.size()));
    for (const PersonRecord& r : records) AppendRecordBytes(r, bytes);
    RecordsResult result;
    MakeFolderOf(path);
    if (!ReplaceFile(writer, path, ScratchPathFor(path), bytes, result.Error)) return Failure(messageId, result.Error);
    result.Ok = true;
    result.Count = static_cast<int>(records.size());
    return result;
}

std::string NoSuchRecord(int n, size_t count) {
    return "there is no record " + std::to_string(n) + "; the file holds " + std::to_string(count);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec)) return true;
    std::error_code ecA, ecB;
    const fs::path canonicalA = fs::weakly_canonical(a, ecA);
    const fs::path canonicalB = fs::weakly_canonical(b, ecB);
    return !ecA && !ecB && canonicalA == canonicalB;
}

// A record's identity for the merge: the compared fields, texts case-folded.
// Texts stop at their zero byte, so the separators cannot be forged.
std::string PersonKey(const PersonRecord& r) {
    std::string key;
    for (std::string_view text : {FieldText(r.name), FieldText(r.address), FieldText(r.phone), FieldText(r.remarks)}) {
        key += FoldCase(text);
        key += '\0';
    }
    for (int value : {r.sex, int{r.year}, int{r.month}, int{r.day}, int{r.hour}, int{r.minute}}) {
        key += std::to_string(value);
        key += ',';
    }
    return key;
}

std::string NamelessBig5() {
    std::string text;
    Utf8ToBig5(StringText(NamelessText), text);
    return text;
}

// The distinct shown names (folded comparison) that the filter accepts.
template <typename Filter>
std::vector<std::string> CollectNames(const std::string& path, Filter accept) {
    const RecordsContent content = ReadRecordsFile(path);
    const std::string nameless = NamelessBig5();
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const PersonRecord& r : content.Records) {
        std::string_view name = FieldText(r.name);
        if (name.empty()) name = nameless;
        std::string folded = FoldCase(name);
        if (accept(folded) && seen.insert(std::move(folded)).second) names.emplace_back(name);
    }
    return names;
}

}  // namespace

RecordsContent ReadRecordsFile(const std::string& path) {
    RecordsContent content;
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        content.Missing = !ec;
        content.Problem = "there is no records file " + path;
        return content;
    }
    std::string bytes;
    if (fs::is_directory(path, ec)) {
        content.Problem = path + " is a folder, not a records file";
        return content;
    }
    if (!ReadWholeFile(path, bytes, content.Problem)) return content;
    content.Opened = true;
    if (bytes.size() < RecordsHeaderSize) {
        content.Damaged = true;
        content.Problem = DamageReport(path, bytes.size(), 0);
        return content;
    }
    TakeRecords(bytes, content);
    const int count = HeaderCount(content.Header);
    if (count < 0 || bytes.size() != SoundLength(static_cast<size_t>(count))) {
        content.Damaged = true;
        content.Problem = DamageReport(path, bytes.size(), count);
    }
    return content;
}

std::string ScratchPathFor(const std::string& path) { return FolderOf(path) + "/" + std::string(ScratchFileName); }

int ReadCount(const std::string& path) { return static_cast<int>(ReadRecordsFile(path).Records.size()); }

bool ReadRecord(const std::string& path, int n, PersonRecord& out) {
    const RecordsContent content = ReadRecordsFile(path);
    if (n < 0 || static_cast<size_t>(n) >= content.Records.size()) return false;
    out = content.Records[static_cast<size_t>(n)];
    return true;
}

int FindByName(const std::string& path, std::string_view name, PersonRecord& out, std::vector<int>& numbers) {
    const RecordsContent content = ReadRecordsFile(path);
    const std::string wanted = FoldCase(name);
    numbers.clear();
    for (size_t i = 0; i < content.Records.size() && numbers.size() < MaxNameMatches; ++i) {
        if (FoldCase(FieldText(content.Records[i].name)) != wanted) continue;
        numbers.push_back(static_cast<int>(i));
        out = content.Records[i];
    }
    return static_cast<int>(numbers.size());
}

std::vector<std::string> ListNames(const std::string& path) {
    return CollectNames(path, [](const std::string&) { return true; });
}

std::vector<std::string> ListNamesByPrefix(const std::string& path, std::string_view prefix) {
    if (prefix.empty()) return {};
    const std::string folded = FoldCase(prefix);
    return CollectNames(path, [&](const std::string& name) { return name.compare(0, folded.size(), folded) == 0; });
}

RecordsResult AppendRecords(const std::string& path, const std::vector<PersonRecord>& records, FileWriter& writer) {
    RecordsContent content;
    RecordsResult failure;
    if (!ReadForRewrite(path, true, 0, content, failure)) return failure;
    const size_t first = content.Records.size();
    if (first + records.size() > MaxRecordCount) {
        return Failure(0, path + " would hold more than " + std::to_string(MaxRecordCount) + " records");
    }
    content.Records.insert(content.Records.end(), records.begin(), records.end());
    RecordsResult result = Rewrite(path, content.Header, content.Records, writer, 0);
    if (result.Ok) result.Number = static_cast<int>(first);
    return result;
}

RecordsResult StoreRecord(const std::string& path, const PersonRecord& record, int n, FileWriter& writer) {
    if (n == -1) return AppendRecords(path, {record}, writer);
    RecordsContent content;
    RecordsResult failure;
    if (!ReadForRewrite(path, false, 0, content, failure)) return failure;
    if (n < 0 || static_cast<size_t>(n) >= content.Records.size()) {
        return Failure(0, NoSuchRecord(n, content.Records.size()));
    }
    content.Records[static_cast<size_t>(n)] = record;
    RecordsResult result = Rewrite(path, content.Header, content.Records, writer, 0);
    if (result.Ok) result.Number = n;
    return result;
}

RecordsResult DeleteRecord(const std::string& path, int n, FileWriter& writer) {
    if (n < 0) return Failure(CannotDeleteRecordText, "record numbers start at 0");
    RecordsContent content;
    RecordsResult failure;
    if (!ReadForRewrite(path, false, CannotDeleteRecordText, content, failure)) return failure;
    if (static_cast<size_t>(n) >= content.Records.size()) {
        return Failure(CannotDeleteRecordText, NoSuchRecord(n, content.Records.size()));
    }
    content.Records.erase(content.Records.begin() + n);
    return Rewrite(path, content.Header, content.Records, writer, RecordMissingText);
}

RecordsResult SaveCopyAs(const std::string& path, const std::string& target, FileWriter& writer) {
    if (SameFile(path, target)) return Failure(0, target + " is the records file itself");
    std::string bytes;
    RecordsResult result;
    if (!ReadWholeFile(path, bytes, result.Error)) return result;
    result.Ok = ReplaceFile(writer, target, ScratchPathFor(target), bytes, result.Error);
    return result;
}

RecordsResult MergeIntoMain(const std::string& mainPath, const std::string& otherPath, FileWriter& writer) {
    if (SameFile(mainPath, otherPath)) return Failure(CannotMergeRecordsText, otherPath + " is the main file itself");
    RecordsContent main, other;
    RecordsResult failure;
    if (!ReadForRewrite(mainPath, false, CannotOpenRecordsText, main, failure)) {
        if (main.Damaged) failure.MessageId = CannotMergeRecordsText;
        return failure;
    }
    if (!ReadForRewrite(otherPath, false, CannotOpenRecordsText, other, failure)) return failure;

    std::unordered_set<std::string> held;
    for (const PersonRecord& r : main.Records) held.insert(PersonKey(r));
    const size_t oldCount = main.Records.size();
    for (const PersonRecord& r : other.Records) {
        if (!held.contains(PersonKey(r))) main.Records.push_back(r);
    }
    if (main.Records.size() > MaxRecordCount) {
        return Failure(CannotMergeRecordsText, mainPath + " would hold more than " + std::to_string(MaxRecordCount) +
                                                   " records");
    }
    RecordsResult result = Rewrite(mainPath, main.Header, main.Records, writer, CannotMergeRecordsText);
    if (result.Ok) result.Number = static_cast<int>(main.Records.size() - oldCount);
    return result;
}

bool IsSamePerson(const PersonRecord& a, const PersonRecord& b) { return PersonKey(a) == PersonKey(b); }

}  // namespace qv
