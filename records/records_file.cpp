#include "records_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unordered_set>

#include "engine/texts/big5.h"
#include "person_entry.h"
#include "person_text.h"
#include "engine/texts/string_table.h"

namespace fs = std::filesystem;

namespace qv {
namespace {

size_t SoundLength(size_t count) { return RecordsHeaderSize + RecordSize * count; }

// Reading stops past the longest file a 16-bit count can describe.
constexpr size_t LongestRecordsFile = RecordsHeaderSize + RecordSize * MaxRecordCount;

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
    // Room for the one person a store adds, so that adding moves nothing.
    content.Records.reserve(used + 1);
    for (size_t i = 0; i < used; ++i) {
        content.Records.push_back(RecordFromBytes(bytes.data() + RecordsHeaderSize + RecordSize * i));
    }
}

RecordsResult Failure(int messageId, std::string error, int reasonId) {
    RecordsResult r;
    r.MessageId = messageId;
    r.Reason = reasonId;
    r.Detail = std::move(error);
    return r;
}

// A file step that failed, under the change's message.
RecordsResult Failure(int messageId, const Result& step, std::string_view more = {}) {
    return Failure(messageId, step.Detail + std::string(more), step.Reason);
}

RecordsContent ReadRecords(const std::string& path, std::string& bytes);

// Reads a file that is about to be rewritten (its bytes too). A missing file
// reads as an empty new one when allowed; an unreadable or damaged one is
// refused, so that no rewrite drops bytes that were there.
bool ReadForRewrite(const std::string& path, bool allowMissing, int messageId, RecordsContent& content,
                    std::string& bytes, RecordsResult& failure) {
    content = ReadRecords(path, bytes);
    if (content.Missing && allowMissing) {
        content.Header = NewRecordsHeader(0);
        return true;
    }
    if (content.Opened && !content.Damaged) return true;
    failure = Failure(messageId, content.Problem + (content.Damaged ? "; it is left as it is" : ""),
                      content.ProblemText);
    return false;
}

// A records file held for a rewrite: locked, then read whole and found sound.
// Its bytes serve as the backup and then as the buffer of the new content.
struct HeldFile {
    FileLock Lock;
    RecordsContent Content;
    std::string Bytes;
};

bool Hold(const std::string& path, bool allowMissing, int messageId, HeldFile& held, RecordsResult& failure) {
    if (Result locked = held.Lock.Acquire(path); !locked.Ok) {
        failure = Failure(messageId, locked);
        return false;
    }
    return ReadForRewrite(path, allowMissing, messageId, held.Content, held.Bytes, failure);
}

// The records after the header into `bytes`, whose buffer is reused.
void Encode(RecordsHeader header, const std::vector<PersonRecord>& records, std::string& bytes) {
    SetHeaderCount(header, static_cast<int>(records.size()));
    bytes.clear();  // a larger buffer then copies none of the old content
    bytes.reserve(SoundLength(records.size()));
    bytes.assign(header.data(), header.size());
    for (const PersonRecord& r : records) AppendRecordBytes(r, bytes);
}

// The version a change is about to replace (the sound bytes just read) goes
// to FILE.bak, with the file's looks.
bool KeepBackup(const std::string& path, const HeldFile& held, FileWriter& writer, int messageId,
                RecordsResult& failure) {
    if (held.Content.Missing) return true;
    const Result kept = ReplaceOwnFile(writer, path + std::string(BackupSuffix), held.Bytes, path);
    if (!kept.Ok) failure = Failure(messageId, kept, "; the records file is left as it is");
    return kept.Ok;
}

RecordsResult Rewrite(const std::string& path, HeldFile& held, FileWriter& writer, int messageId) {
    const std::vector<PersonRecord>& records = held.Content.Records;
    Encode(held.Content.Header, records, held.Bytes);
    if (Result written = ReplaceFile(writer, path, held.Bytes); !written.Ok) return Failure(messageId, written);
    RecordsResult result;
    result.Ok = true;
    result.Count = static_cast<int>(records.size());
    return result;
}

std::string NoSuchRecord(int n, size_t count) {
    return "there is no record " + std::to_string(n) + "; the file holds " + std::to_string(count);
}

std::string WouldNotFit(const std::string& path, size_t held, size_t added) {
    const size_t room = held < MaxPersons ? MaxPersons - held : 0;
    return path + " holds " + std::to_string(held) + " persons and takes at most " + std::to_string(MaxPersons) +
           ": " + std::to_string(room) + " more would fit, not " + std::to_string(added) + "; nothing is changed";
}

// Replaces (replacement set) or deletes record n; with `loaded`, the record
// that holds those bytes now.
RecordsResult ChangeRecord(const std::string& path, int n, const PersonRecord* loaded, const PersonRecord* replacement,
                           FileWriter& writer) {
    const int refusedText = replacement ? 0 : CannotDeleteRecordText;
    if (n < 0) return Failure(refusedText, "record numbers start at 0", 0);
    HeldFile held;
    RecordsResult failure;
    if (!Hold(path, false, refusedText, held, failure)) return failure;
    std::vector<PersonRecord>& records = held.Content.Records;
    const int at = loaded ? LocatePerson(records, *loaded, n) : n;
    if (loaded && at < 0) {
        return Failure(refusedText, "the person read as record " + std::to_string(n) + " is no longer in " + path +
                                        "; nothing is changed", PersonGoneText);
    }
    if (static_cast<size_t>(at) >= records.size()) return Failure(refusedText, NoSuchRecord(n, records.size()), 0);
    if (!KeepBackup(path, held, writer, replacement ? 0 : RecordMissingText, failure)) return failure;
    if (replacement) {
        records[static_cast<size_t>(at)] = *replacement;
    } else {
        records.erase(records.begin() + at);
    }
    RecordsResult result = Rewrite(path, held, writer, replacement ? 0 : RecordMissingText);
    if (result.Ok) result.Number = at;
    return result;
}

RecordsResult Append(const std::string& path, const std::vector<PersonRecord>& records, bool keepBackup,
                     FileWriter& writer) {
    MakeFolderOf(path);
    HeldFile held;
    RecordsResult failure;
    if (!Hold(path, true, 0, held, failure)) return failure;
    RecordsContent& content = held.Content;
    const size_t first = content.Records.size();
    if (first + records.size() > MaxPersons) return Failure(0, WouldNotFit(path, first, records.size()), FullFileText);
    if (keepBackup && !KeepBackup(path, held, writer, 0, failure)) return failure;
    content.Records.insert(content.Records.end(), records.begin(), records.end());
    RecordsResult result = Rewrite(path, held, writer, 0);
    if (result.Ok) result.Number = static_cast<int>(first);
    return result;
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

namespace {

RecordsContent ReadRecords(const std::string& path, std::string& bytes) {
    RecordsContent content;
    if (const ReadResult read = ReadRegularFile(path, LongestRecordsFile, bytes); !read.Ok) {
        content.Missing = read.Missing;
        content.Problem = read.Missing ? "there is no records file " + path : read.Detail + ", not a records file";
        content.ProblemText = read.Missing ? 0 : read.Reason;
        return content;
    }
    content.Opened = true;
    int count = 0;
    if (bytes.size() >= RecordsHeaderSize) {
        TakeRecords(bytes, content);
        count = HeaderCount(content.Header);
    }
    if (bytes.size() < RecordsHeaderSize || count < 0 || bytes.size() != SoundLength(static_cast<size_t>(count))) {
        content.Damaged = true;
        content.Problem = DamageReport(path, bytes.size(), count);
        content.ProblemText = FileDamagedText;
    }
    return content;
}

}  // namespace

RecordsContent ReadRecordsFile(const std::string& path) {
    std::string bytes;
    return ReadRecords(path, bytes);
}

Result CheckRecordsFile(const std::string& path) {
    const RecordsContent content = ReadRecordsFile(path);
    if (!content.Opened || content.Damaged) return Result::Failed(NotRecordsFileText, content.Problem);
    for (size_t i = 0; i < content.Records.size(); ++i) {
        PersonTexts texts;
        Result sound = CheckBirthFields(content.Records[i]);
        if (sound.Ok) sound = LoadPersonTexts(content.Records[i], texts);
        if (!sound.Ok) return Result::Failed(NotRecordsFileText, path + ": record " + std::to_string(i) + ": " + sound.Detail);
    }
    return Result::Done();
}

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
    return Append(path, records, false, writer);
}

RecordsResult ImportRecords(const std::string& path, const std::vector<PersonRecord>& records, FileWriter& writer) {
    return Append(path, records, true, writer);
}

RecordsResult StoreRecord(const std::string& path, const PersonRecord& record, int n, FileWriter& writer) {
    if (n == -1) return AppendRecords(path, {record}, writer);
    return ChangeRecord(path, n, nullptr, &record, writer);
}

RecordsResult DeleteRecord(const std::string& path, int n, FileWriter& writer) {
    return ChangeRecord(path, n, nullptr, nullptr, writer);
}

RecordsResult ReplacePerson(const std::string& path, const PersonRecord& loaded, int n, const PersonRecord& record,
                            FileWriter& writer) {
    return ChangeRecord(path, n, &loaded, &record, writer);
}

RecordsResult DeletePerson(const std::string& path, const PersonRecord& loaded, int n, FileWriter& writer) {
    return ChangeRecord(path, n, &loaded, nullptr, writer);
}

int LocatePerson(const std::vector<PersonRecord>& records, const PersonRecord& loaded, int n) {
    // Of several copies, the one nearest where the person was read (the
    // earlier one of two as near) is the one the user meant.
    int best = -1;
    long bestDistance = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        if (std::memcmp(&records[i], &loaded, sizeof loaded) != 0) continue;
        const long distance = std::labs(static_cast<long>(i) - n);
        if (best < 0 || distance < bestDistance) best = static_cast<int>(i), bestDistance = distance;
    }
    return best;
}

RecordsResult SaveCopyAs(const std::string& path, const std::string& target, FileWriter& writer) {
    if (SameFile(path, target)) return Failure(0, target + " is the records file itself", 0);
    std::string bytes;
    FileLock lock;
    if (Result locked = lock.Acquire(target); !locked.Ok) return Failure(0, locked);
    if (Result read = ReadRegularFile(path, LongestRecordsFile, bytes); !read.Ok) return Failure(0, read);
    if (bytes.size() > SoundLength(MaxPersons)) {
        return Failure(0, WouldNotFit(target, 0, (bytes.size() - RecordsHeaderSize) / RecordSize), FullFileText);
    }
    if (Result written = ReplaceFile(writer, target, bytes, path); !written.Ok) return Failure(0, written);
    RecordsResult result;
    result.Ok = true;
    return result;
}

RecordsResult MergeIntoMain(const std::string& mainPath, const std::string& otherPath, FileWriter& writer) {
    if (SameFile(mainPath, otherPath))
        return Failure(CannotMergeRecordsText, otherPath + " is the main file itself", 0);
    HeldFile held;
    RecordsContent& main = held.Content;
    RecordsContent other;
    RecordsResult failure;
    if (!Hold(mainPath, false, CannotOpenRecordsText, held, failure)) {
        if (main.Damaged) failure.MessageId = CannotMergeRecordsText;
        return failure;
    }
    std::string otherBytes;
    if (!ReadForRewrite(otherPath, false, CannotOpenRecordsText, other, otherBytes, failure)) return failure;

    std::unordered_set<std::string> known;
    for (const PersonRecord& r : main.Records) known.insert(PersonKey(r));
    std::vector<PersonRecord> added;
    for (const PersonRecord& r : other.Records) {
        if (!known.contains(PersonKey(r))) added.push_back(r);
    }
    if (main.Records.size() + added.size() > MaxPersons) {
        return Failure(CannotMergeRecordsText, WouldNotFit(mainPath, main.Records.size(), added.size()), FullFileText);
    }
    if (!KeepBackup(mainPath, held, writer, CannotMergeRecordsText, failure)) return failure;
    main.Records.insert(main.Records.end(), added.begin(), added.end());
    RecordsResult result = Rewrite(mainPath, held, writer, CannotMergeRecordsText);
    if (result.Ok) result.Number = static_cast<int>(added.size());
    return result;
}

bool IsSamePerson(const PersonRecord& a, const PersonRecord& b) { return PersonKey(a) == PersonKey(b); }

}  // namespace qv
