// The person records file: read, find, list, store, delete, copy and merge.
// Every operation opens the file anew and keeps nothing open between calls.
// A rewrite holds the file's lock from its read to its rename, builds the
// whole new content in a scratch file beside the target and renames it over
// the target only once it is complete and on disk. A delete, merge, import or
// replace first keeps the version it replaces as FILE.bak (one level).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "atomic_file.h"
#include "file_lock.h"
#include "engine/chart/person_record.h"
#include "record_codec.h"
#include "engine/texts/result.h"
#include "engine/texts/text_ids.h"

namespace qv {

inline constexpr int MaxNameMatches = 100;
// The most persons a records file takes; every change checks it under the lock.
inline constexpr size_t MaxPersons = 1000;
inline constexpr std::string_view BackupSuffix = ".bak";


// What a records file holds. A file whose header count does not fit its
// length is damaged: Records then holds only the whole records present.
struct RecordsContent {
    bool Opened = false;
    bool Missing = false;  // the file does not exist
    bool Damaged = false;
    std::string Problem;   // why it could not be opened or is damaged
    int ProblemText = 0;   // the same for the user: FileDamagedText, or what the system said
    RecordsHeader Header{};
    std::vector<PersonRecord> Records;
};

RecordsContent ReadRecordsFile(const std::string& path);

// Whether the file can be opened as a records file: it exists, its length fits
// its header and every record holds a sound birth and Big5 texts. Nothing is
// written or locked; failed (NotRecordsFileText) with the fault in the detail.
Result CheckRecordsFile(const std::string& path);

// The outcome of a change to a records file, and what the change did.
struct RecordsResult : Result {
    int Number = -1;     // StoreRecord: the record's number; MergeIntoMain: records added
    int Count = 0;       // the file's record count afterwards
    int MessageId = 0;   // string-table text naming the change that failed, else 0
};

// The number of records (of a damaged file, its whole records); 0 when the
// file cannot be opened.
int ReadCount(const std::string& path);

// Record n; false when the file cannot be opened or has no record n.
bool ReadRecord(const std::string& path, int n, PersonRecord& out);

// Records whose name equals the Big5 text without regard to case, at most
// MaxNameMatches, in file order: their numbers go to `numbers`, the last of
// them to `out` (untouched when none matches). The result is their number.
int FindByName(const std::string& path, std::string_view name, PersonRecord& out, std::vector<int>& numbers);

// Distinct names (Big5) in file order, an empty name shown as 無名氏.
std::vector<std::string> ListNames(const std::string& path);
// The distinct names that begin with the prefix; none for an empty prefix.
std::vector<std::string> ListNamesByPrefix(const std::string& path, std::string_view prefix);

// Appends the record when n is -1, else replaces record n. A missing file is
// created with this one record. A file of MaxPersons takes no more (reason
// FullFileText), nor does an append, import or merge that would pass it.
RecordsResult StoreRecord(const std::string& path, const PersonRecord& record, int n,
                          FileWriter& writer = SystemWriter());
// Appends many records in one rewrite.
RecordsResult AppendRecords(const std::string& path, const std::vector<PersonRecord>& records,
                            FileWriter& writer = SystemWriter());
RecordsResult DeleteRecord(const std::string& path, int n, FileWriter& writer = SystemWriter());

// Replace or delete the person the caller read as record n (its 412 bytes in
// `loaded`). When the file changed meanwhile, the change goes to the record
// that now holds those bytes (of several, the one nearest n); when none does,
// nothing changes and the reason is PersonGoneText. Number is the record acted
// on. Only a program that showed the person earlier needs this; a record
// number given now means the record there now (StoreRecord, DeleteRecord).
RecordsResult ReplacePerson(const std::string& path, const PersonRecord& loaded, int n, const PersonRecord& record,
                            FileWriter& writer = SystemWriter());
RecordsResult DeletePerson(const std::string& path, const PersonRecord& loaded, int n,
                           FileWriter& writer = SystemWriter());
// Where the person read as record n is now: the record holding the same
// bytes nearest n; -1 when none.
int LocatePerson(const std::vector<PersonRecord>& records, const PersonRecord& loaded, int n);
// Import: AppendRecords that keeps the replaced version as FILE.bak.
RecordsResult ImportRecords(const std::string& path, const std::vector<PersonRecord>& records,
                            FileWriter& writer = SystemWriter());
// Copies the file's bytes to target (under the target's lock).
RecordsResult SaveCopyAs(const std::string& path, const std::string& target, FileWriter& writer = SystemWriter());
// Adds to the main file the other file's records that it does not hold yet.
RecordsResult MergeIntoMain(const std::string& mainPath, const std::string& otherPath,
                            FileWriter& writer = SystemWriter());

// Same name, sex, Gregorian birth moment and texts (texts without regard to case).
bool IsSamePerson(const PersonRecord& a, const PersonRecord& b);

}  // namespace qv
