// What another user of the machine can plant or do in a shared folder, and
// what several writers at once do to one file: nothing they plant is written
// through, no lock they remove lets two writers in, no file changes hands.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "file_lock.h"
#include "potential_file.h"
#include "records_fixture.h"
#include "settings_file.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::Person;
using test::ReadFileText;

constexpr uid_t Nobody = 65534;

struct stat StatOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

// Runs the check in a child process acting as the user nobody; its result.
bool AsNobody(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = ::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0 && check();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class SecondUserTest : public test::RecordsTest {
protected:
    void SetUp() override {
        Fill(file_, {Person("甲"), Person("乙"), Person("丙")});
        test::WriteBytes(victim_, "keep me");
    }
    const std::string victim_ = PathOf("victim.txt");
};

// Remembers the permission bits each scratch file had the moment it was made.
class WatchingWriter : public FileWriter {
public:
    int Create(const std::string& path) override {
        const int fd = FileWriter::Create(path);
        if (fd >= 0) modes.push_back(StatOf(path).st_mode & 07777);
        return fd;
    }
    std::vector<mode_t> modes;
};

TEST_F(SecondUserTest, ScratchFilesArePrivateFromTheirCreation) {
    ::chmod(file_.c_str(), 0644);
    WatchingWriter writer;
    ASSERT_TRUE(StoreRecord(file_, Person("丁"), -1, writer).Ok);
    ASSERT_TRUE(DeleteRecord(file_, 0, writer).Ok);  // writes the backup too
    ASSERT_TRUE(WriteSetting(PathOf("fs.ini"), SettingKey::K1, 5, writer).Ok);
    ASSERT_EQ(writer.modes.size(), 4u);
    for (mode_t mode : writer.modes) EXPECT_EQ(mode, 0600u);
    EXPECT_EQ(StatOf(file_).st_mode & 07777, 0644u) << "the file itself keeps its bits";
}

TEST_F(SecondUserTest, NamesTheProgramKeepsBesideAFileAreNeverFollowed) {
    fs::create_symlink(victim_, file_ + ".bak");
    ASSERT_TRUE(DeleteRecord(file_, 0).Ok);
    EXPECT_FALSE(fs::is_symlink(file_ + ".bak")) << "the backup replaces the link";
    EXPECT_EQ(ReadCount(file_ + ".bak"), 3);

    const std::string table = PathOf("EngyInfo.tbl");
    test::WriteBytes(table, "damaged");
    fs::create_symlink(victim_, table + ".bad");
    PotentialTable fresh{};
    ResetPotentialTable(fresh);
    fresh.TableReady = true;
    ASSERT_TRUE(SavePotentialTable(table, fresh).Ok);
    EXPECT_EQ(ReadFileText(table + ".bad"), "damaged");

    fs::remove(file_ + ".lock");
    fs::create_symlink(victim_, file_ + ".lock");
    const std::string before = ReadFileText(file_);
    EXPECT_FALSE(StoreRecord(file_, Person("丁"), -1).Ok);
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_EQ(ReadFileText(victim_), "keep me");
}

TEST_F(SecondUserTest, AFolderAtTheBackupsNameIsNamedAndNothingChanges) {
    fs::create_directory(file_ + ".bak");
    const std::string before = ReadFileText(file_);
    const RecordsResult r = DeleteRecord(file_, 0);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Reason, OwnFileIsFolderText);
    EXPECT_NE(r.Detail.find(file_ + ".bak"), std::string::npos) << r.Detail;
    EXPECT_EQ(ReadFileText(file_), before);
}

TEST_F(SecondUserTest, AFileWithASecondNameIsRefusedWithTheReason) {
    ASSERT_EQ(::link(file_.c_str(), PathOf("other-name").c_str()), 0);
    const std::string before = ReadFileText(file_);
    const RecordsResult r = StoreRecord(file_, Person("丁"), -1);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Reason, HardLinkedText) << r.Detail;
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_EQ(StatOf(file_).st_nlink, 2u);
}

TEST_F(SecondUserTest, NoLockFileIsMadeBesideARefusedTarget) {
    const std::string fifo = PathOf("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(PathOf("folder"));
    for (const std::string& odd : {fifo, PathOf("folder"), PathOf("no-folder/copy.aid")}) {
        EXPECT_FALSE(SaveCopyAs(file_, odd).Ok) << odd;
        EXPECT_FALSE(test::Exists(odd + ".lock")) << odd;
    }
    EXPECT_FALSE(test::Exists(PathOf("no-folder")));
}

TEST_F(SecondUserTest, ALockFileRemovedWhileHeldLetsNoSecondWriterIn) {
    auto first = std::make_unique<FileLock>();
    ASSERT_TRUE(first->Acquire(file_).Ok);
    std::atomic<bool> done = false;
    std::thread waiting([&] { done = StoreRecord(file_, Person("丁"), -1).Ok; });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // it waits on the first lock file
    fs::remove(file_ + ".lock");
    auto second = std::make_unique<FileLock>();  // a writer that came after the removal
    ASSERT_TRUE(second->Acquire(file_).Ok);
    first.reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done) << "the waiting writer must not share the lock with the second one";
    EXPECT_EQ(ReadCount(file_), 3);
    second.reset();
    waiting.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(ReadCount(file_), 4);
}

TEST_F(SecondUserTest, TheLimitHoldsForWritersAtOnceAndWholeImportsAndMerges) {
    std::vector<PersonRecord> many(MaxPersons - 5, Person("甲"));
    ASSERT_TRUE(AppendRecords(file_, many).Ok);  // 998 persons
    std::vector<std::thread> adds;
    std::atomic<int> stored = 0, refusedFull = 0;
    for (int i = 0; i < 8; ++i) {
        adds.emplace_back([&, i] {
            const RecordsResult r = StoreRecord(file_, Person("乙", 1950 + i), -1);
            (r.Ok ? stored : refusedFull) += r.Ok || r.Reason == FullFileText;
        });
    }
    for (std::thread& t : adds) t.join();
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(refusedFull, 6);
    EXPECT_EQ(ReadCount(file_), 1000);

    ASSERT_TRUE(DeleteRecord(file_, 0).Ok && DeleteRecord(file_, 0).Ok);  // room for 2
    const std::string before = ReadFileText(file_);
    const RecordsResult imported = ImportRecords(file_, {Person("丙", 1901), Person("丙", 1902), Person("丙", 1903)});
    EXPECT_EQ(imported.Reason, FullFileText);
    EXPECT_NE(imported.Detail.find("2 more would fit, not 3"), std::string::npos) << imported.Detail;
    const std::string other = PathOf("other.aid");
    Fill(other, {Person("丁", 1901), Person("丁", 1902), Person("丁", 1903)});
    const RecordsResult merged = MergeIntoMain(file_, other);
    EXPECT_EQ(merged.Reason, FullFileText);
    EXPECT_NE(merged.Detail.find("2 more would fit, not 3"), std::string::npos) << merged.Detail;
    EXPECT_EQ(ReadFileText(file_), before);
}

TEST_F(SecondUserTest, ANumberMeansTheRecordThereNowAndALoadedPersonTheNearestCopy) {
    const std::string path = PathOf("dup.aid");
    Fill(path, {Person("X"), Person("P"), Person("Y"), Person("P")});
    std::atomic<int> deleted = 0;
    std::thread a([&] { deleted += DeleteRecord(path, 3).Ok; }), b([&] { deleted += DeleteRecord(path, 3).Ok; });
    a.join();
    b.join();
    EXPECT_EQ(deleted, 1);
    ASSERT_EQ(ReadCount(path), 3);
    PersonRecord p{};
    ASSERT_TRUE(ReadRecord(path, 1, p));
    EXPECT_EQ(test::NameOf(p), "P") << "one copy of P is left";

    // [X P Y P]: the window read P as record 3; X went meanwhile: [P Y P].
    const std::string dup = PathOf("dup2.aid");
    Fill(dup, {Person("X"), Person("P"), Person("Y"), Person("P")});
    PersonRecord loaded{};
    ASSERT_TRUE(ReadRecord(dup, 3, loaded));
    ASSERT_TRUE(DeleteRecord(dup, 0).Ok);
    const RecordsResult r = DeletePerson(dup, loaded, 3);
    ASSERT_TRUE(r.Ok) << r.Detail;
    EXPECT_EQ(r.Number, 2);
}

// ---- as root, the checks of another user's files ----

class RootTest : public SecondUserTest {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root";
        SecondUserTest::SetUp();
    }
};

TEST_F(RootTest, RootKeepsOwnerGroupAndBitsAndRefusesAFileWithoutOwnerWrite) {
    ASSERT_EQ(::chown(file_.c_str(), Nobody, Nobody), 0);
    ::chmod(file_.c_str(), 0664);
    ASSERT_TRUE(StoreRecord(file_, Person("丁"), -1).Ok);
    ASSERT_TRUE(DeleteRecord(file_, 0).Ok);
    for (const std::string& path : {file_, file_ + ".bak"}) {
        const struct stat st = StatOf(path);
        EXPECT_EQ(st.st_uid, Nobody) << path;
        EXPECT_EQ(st.st_gid, Nobody) << path;
        EXPECT_EQ(st.st_mode & 07777, 0664u) << path;
    }
    ::chmod(file_.c_str(), 0444);
    const std::string before = ReadFileText(file_);
    const RecordsResult r = StoreRecord(file_, Person("戊"), -1);
    EXPECT_EQ(r.Reason, NoWriteAccessText) << r.Detail;
    EXPECT_EQ(ReadFileText(file_), before);
}

TEST_F(RootTest, AnotherUsersLinkIsNotFollowedAndAGroupMembersWriteKeepsTheOwner) {
    const std::string settings = PathOf("fs.ini");
    fs::create_symlink(victim_, settings);
    ASSERT_EQ(::lchown(settings.c_str(), Nobody, Nobody), 0);
    EXPECT_EQ(WriteSetting(settings, SettingKey::K1, 5).Reason, ForeignLinkText);
    EXPECT_EQ(ReadFileText(victim_), "keep me");

    // A group-writable file of root's, written by nobody of its group: a
    // rewrite would make it nobody's, so it is refused and stays root's.
    ::chmod(dir_.Path().c_str(), 0777);
    ASSERT_EQ(::chown(file_.c_str(), 0, Nobody), 0);
    ::chmod(file_.c_str(), 0664);
    const std::string before = ReadFileText(file_);
    EXPECT_TRUE(AsNobody([&] {
        const RecordsResult r = StoreRecord(file_, Person("丁"), -1);
        return !r.Ok && r.Reason == OtherOwnerText;
    }));
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_EQ(StatOf(file_).st_uid, 0u);
    EXPECT_TRUE(ScratchLeft().empty());
}

}  // namespace
}  // namespace qv
