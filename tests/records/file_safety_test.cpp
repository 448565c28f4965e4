// What a write keeps of the file it replaces and what it refuses to touch:
// permissions, read-only files, links, odd files, planted and stale scratch
// files, a held lock, a file-size limit, the backup of the version replaced,
// and a person who moved or went while a program still showed them.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "file_lock.h"
#include "potential_file.h"
#include "records_fixture.h"
#include "settings_file.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::Person;
using test::ReadFileText;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class FileSafetyTest : public test::RecordsTest {
protected:
    void SetUp() override { Fill(file_, {Person("甲"), Person("乙"), Person("丙")}); }
};

TEST_F(FileSafetyTest, AReplacedFileKeepsItsPermissionsAndItsBackupTheirs) {
    ::chmod(file_.c_str(), 0600);
    ASSERT_TRUE(StoreRecord(file_, Person("丁"), -1).Ok);
    ASSERT_TRUE(DeleteRecord(file_, 0).Ok);
    EXPECT_EQ(ModeOf(file_), 0600u);
    EXPECT_EQ(ModeOf(file_ + ".bak"), 0600u) << "a backup of a private file is private too";
    const std::string settings = PathOf("fs.ini");
    ASSERT_TRUE(WriteSetting(settings, SettingKey::K1, 5).Ok);
    ::chmod(settings.c_str(), 0640);
    ASSERT_TRUE(WriteSetting(settings, SettingKey::K2, 6).Ok);
    EXPECT_EQ(ModeOf(settings), 0640u);
}

TEST_F(FileSafetyTest, AReadOnlyFileIsRefusedAndLeftAsItIs) {
    ::chmod(file_.c_str(), 0444);
    const std::string before = ReadFileText(file_);
    for (const RecordsResult& r : {StoreRecord(file_, Person("丁"), -1), DeleteRecord(file_, 0)}) {
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Reason, NoWriteAccessText) << r.Detail;
    }
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_EQ(ModeOf(file_), 0444u);
    EXPECT_TRUE(ScratchLeft().empty());
}

TEST_F(FileSafetyTest, ALinkedRecordsFileIsWrittenThrough) {
    fs::create_directory(PathOf("real"));
    const std::string real = PathOf("real/people.sap");
    fs::rename(file_, real);
    fs::create_symlink(real, file_);
    ASSERT_TRUE(StoreRecord(file_, Person("丁"), -1).Ok);
    ASSERT_TRUE(DeleteRecord(file_, 0).Ok);
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(ReadCount(real), 3);
    EXPECT_EQ(ReadCount(file_), 3);
}

// A link planted where a scratch file would go, as if another user guessed
// the name first: the write takes another name and the link's target stays.
class PlantingWriter : public FileWriter {
public:
    explicit PlantingWriter(std::string victim) : victim_(std::move(victim)) {}
    int Create(const std::string& path) override {
        if (planted_++ == 0) fs::create_symlink(victim_, path);
        return FileWriter::Create(path);
    }

private:
    std::string victim_;
    int planted_ = 0;
};

TEST_F(FileSafetyTest, ALinkAtAScratchNameIsNotFollowed) {
    const std::string victim = PathOf("victim.txt");
    test::WriteBytes(victim, "keep me");
    PlantingWriter writer(victim);
    ASSERT_TRUE(StoreRecord(file_, Person("丁"), -1, writer).Ok);
    EXPECT_EQ(ReadFileText(victim), "keep me");
    EXPECT_EQ(ReadCount(file_), 4);
}

TEST_F(FileSafetyTest, AKilledWritersScratchFileGoesOnceItIsStale) {
    const std::string stale = PathOf(".VNX5MAIN.AID.aaaaaa.tmp"), fresh = PathOf(".VNX5MAIN.AID.bbbbbb.tmp");
    test::WriteBytes(stale, "half");
    test::WriteBytes(fresh, "half");
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::minutes(2));
    ASSERT_TRUE(StoreRecord(file_, Person("丁"), -1).Ok);
    EXPECT_FALSE(test::Exists(stale));
    EXPECT_TRUE(test::Exists(fresh)) << "a live writer may still own it";
}

TEST_F(FileSafetyTest, DevicesFifosAndFoldersAreRefusedAtOnce) {
    const std::string fifo = PathOf("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(PathOf("folder"));
    for (const std::string& odd : {std::string("/dev/zero"), fifo, PathOf("folder")}) {
        const RecordsContent content = ReadRecordsFile(odd);
        EXPECT_FALSE(content.Opened) << odd;
        EXPECT_FALSE(StoreRecord(odd, Person("丁"), -1).Ok) << odd;
        PotentialTable table{};
        EXPECT_FALSE(LoadPotentialTable(odd, table).Ok) << odd;
        EXPECT_EQ(ReadSetting(odd, SettingKey::K1), 20) << odd;
        EXPECT_FALSE(WriteSetting(odd, SettingKey::K1, 5).Ok) << odd;
    }
}

TEST_F(FileSafetyTest, AWriteBeyondTheFileSizeLimitFailsLikeAFullDisk) {
    const std::string before = ReadFileText(file_);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;  // the file is 36 + 3 * 412 bytes: one more record does not fit
    ::setrlimit(RLIMIT_FSIZE, &small);
    const RecordsResult r = StoreRecord(file_, Person("丁"), -1);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Reason, DiskFullText) << r.Detail;
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_TRUE(ScratchLeft().empty());
}

TEST_F(FileSafetyTest, AWriterWaitsForTheLockSayingSoThenGivesUpWithAReason) {
    const auto patience = LockPatience();
    LockPatience() = std::chrono::milliseconds(50);
    const std::string before = ReadFileText(file_);
    std::vector<int> waits;
    SetLockWaitNotice([&](const std::string& path, int waited) {
        EXPECT_EQ(path, file_);
        waits.push_back(waited);
    });
    {
        FileLock held;
        ASSERT_TRUE(held.Acquire(file_).Ok);
        const RecordsResult r = StoreRecord(file_, Person("丁"), -1);
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Reason, FileBusyText) << r.Detail;
        EXPECT_EQ(ReadFileText(file_), before);
    }
    ASSERT_GE(waits.size(), 2u);
    EXPECT_EQ(waits.back(), -1) << "the end of the wait is told";
    EXPECT_TRUE(std::is_sorted(waits.begin(), waits.end() - 1));
    waits.clear();
    EXPECT_TRUE(StoreRecord(file_, Person("丁"), -1).Ok);
    EXPECT_TRUE(waits.empty()) << "no wait, nothing told";
    SetLockWaitNotice({});
    LockPatience() = patience;
}

TEST_F(FileSafetyTest, TheVersionADeleteReplacesIsKeptAsABackup) {
    const std::string before = ReadFileText(file_);
    ASSERT_TRUE(DeleteRecord(file_, 1).Ok);
    EXPECT_EQ(ReadFileText(file_ + ".bak"), before);
    ASSERT_TRUE(StoreRecord(file_, Person("丁"), -1).Ok);
    EXPECT_EQ(ReadFileText(file_ + ".bak"), before) << "an add changes nothing irreversibly";
    const std::string afterAdd = ReadFileText(file_);
    ASSERT_TRUE(StoreRecord(file_, Person("戊"), 0).Ok);
    EXPECT_EQ(ReadFileText(file_ + ".bak"), afterAdd) << "one level: the latest replaced version";
}

TEST_F(FileSafetyTest, APersonWhoMovedIsFoundAndOneWhoWentIsNotReplaced) {
    PersonRecord second{};
    ASSERT_TRUE(ReadRecord(file_, 1, second));  // 乙, as a program shows it
    ASSERT_TRUE(DeleteRecord(file_, 0).Ok);     // another program deletes 甲
    const RecordsResult moved = ReplacePerson(file_, second, 1, Person("乙二"));
    ASSERT_TRUE(moved.Ok) << moved.Detail;
    EXPECT_EQ(moved.Number, 0);
    PersonRecord r{};
    ASSERT_TRUE(ReadRecord(file_, 1, r));
    EXPECT_EQ(test::NameOf(r), "丙") << "the record now numbered 1 is left alone";

    const std::string before = ReadFileText(file_);
    const RecordsResult gone = DeletePerson(file_, second, 0);  // 乙 was replaced meanwhile
    EXPECT_FALSE(gone.Ok);
    EXPECT_EQ(gone.Reason, PersonGoneText);
    EXPECT_EQ(ReadFileText(file_), before);
}

TEST(PotentialBackupTest, AnUnreadableTableNeverReplacesTheKeptCopy) {
    test::TempDir dir;
    const std::string path = dir.Path() + "/EngyInfo.tbl";
    fs::create_directory(path);
    test::WriteBytes(path + ".bad", "the damaged table kept earlier");
    PotentialTable table{};
    ResetPotentialTable(table);
    table.TableReady = true;
    EXPECT_FALSE(SavePotentialTable(path, table).Ok);
    EXPECT_EQ(ReadFileText(path + ".bad"), "the damaged table kept earlier");
}

}  // namespace
}  // namespace qv
