// The records file under failing writes, a killed writer and garbage input.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <random>

#include "records_fixture.h"

namespace qv {
namespace {

using test::Person;
using test::ReadFileText;
using test::WriteBytes;
using test::FailingWriter;

class FaultInjectionTest : public test::RecordsTest {};

// Append, replace, delete and merge with each step failing in turn: the old
// file or the new one, never a damaged one.
TEST_F(FaultInjectionTest, EveryStepOfEveryChangeFailing) {
    const std::string other = PathOf("other.sap");
    Fill(other, {Person("乙"), Person("丙")});
    const std::pair<const char*, std::function<RecordsResult(FileWriter&)>> changes[] = {
        {"append", [&](FileWriter& w) { return StoreRecord(file_, Person("丙"), -1, w); }},
        {"replace", [&](FileWriter& w) { return StoreRecord(file_, Person("丙"), 1, w); }},
        {"delete", [&](FileWriter& w) { return DeleteRecord(file_, 0, w); }},
        {"merge", [&](FileWriter& w) { return MergeIntoMain(file_, other, w); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        std::filesystem::remove(file_);
        Fill(file_, {Person("甲"), Person("乙")});
        test::EveryStepFails([&](FileWriter& w) {
            const RecordsResult r = change(w);
            EXPECT_FALSE(ReadRecordsFile(file_).Damaged);
            return r;
        }, file_);
    }
}

TEST_F(FaultInjectionTest, FailedScratchCreationOfADeleteSaysSo) {
    Fill(file_, {Person("甲")});
    FailingWriter writer(0);
    const RecordsResult r = DeleteRecord(file_, 0, writer);
    EXPECT_EQ(r.MessageId, RecordMissingText);
    EXPECT_EQ(StringText(r.MessageId), "該筆資料不存在");
    EXPECT_NE(r.Detail.find(std::strerror(ENOSPC)), std::string::npos) << r.Detail;
}

// A record whose every field tells its number, so a torn one shows.
PersonRecord Numbered(int i) {
    PersonRecord r = Person("人" + std::to_string(i), 1900 + i % 200);
    r.minute = static_cast<int16_t>(i % 60);
    std::snprintf(r.remarks, sizeof r.remarks, "record %d of the crash test", i);
    return r;
}

// Appends records in a loop, telling the parent each acknowledged number.
[[noreturn]] void AppendForever(const std::string& path, int writeEnd) {
    for (;;) {
        const int count = ReadCount(path);
        const RecordsResult r = StoreRecord(path, Numbered(count), -1);
        if (!r.Ok || write(writeEnd, &r.Number, sizeof r.Number) != sizeof r.Number) _exit(1);
    }
}

TEST_F(FaultInjectionTest, KilledWriterLeavesASoundFileWithEveryAcknowledgedRecord) {
    std::mt19937 rng(11);
    int acknowledged = -1;
    for (int round = 0; round < 12; ++round) {
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeFds[0]);
            AppendForever(file_, pipeFds[1]);
        }
        close(pipeFds[1]);
        // Killed only once it has stored something, so every round makes progress
        // however slow the disk; then at a random moment of its next writes.
        const bool stored = read(pipeFds[0], &acknowledged, sizeof acknowledged) == static_cast<ssize_t>(sizeof acknowledged);
        usleep(rng() % 20000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(stored) << "round " << round << ": the writer stored nothing";
        for (int n; read(pipeFds[0], &n, sizeof n) == sizeof n;) acknowledged = n;
        close(pipeFds[0]);

        const RecordsContent content = ReadRecordsFile(file_);
        ASSERT_TRUE(content.Opened) << "round " << round;
        ASSERT_FALSE(content.Damaged) << content.Problem;
        ASSERT_GT(static_cast<int>(content.Records.size()), acknowledged);
        for (size_t i = 0; i < content.Records.size(); ++i) {
            ASSERT_TRUE(test::SameBytes(content.Records[i], Numbered(static_cast<int>(i)))) << "record " << i;
        }
    }
    EXPECT_GE(acknowledged, 11);
}

TEST(RecordsFuzzTest, GarbageFilesGiveClearAnswersAndAreNeverRewritten) {
    test::TempDir dir;
    const std::string path = dir.Path() + "/fuzz.sap";
    std::mt19937 rng(5);
    std::string sound(36 + 412 * 3, '\0');
    sound[32] = 3;
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        switch (round % 4) {
            case 0: bytes = sound.substr(0, rng() % (sound.size() + 1)); break;  // truncated
            case 1: bytes = sound + std::string(rng() % 900, 'x'); break;         // oversized
            default:
                bytes.resize(rng() % 2000);
                for (char& c : bytes) c = static_cast<char>(rng());
        }
        WriteBytes(path, bytes);
        const RecordsContent content = ReadRecordsFile(path);
        ASSERT_TRUE(content.Opened);
        const size_t whole = bytes.size() < 36 ? 0 : (bytes.size() - 36) / 412;
        EXPECT_LE(content.Records.size(), whole);
        const bool sound16 = bytes.size() >= 36 && HeaderCount(content.Header) >= 0 &&
                             bytes.size() == 36 + 412 * size_t(HeaderCount(content.Header));
        ASSERT_EQ(content.Damaged, !sound16);
        if (!content.Damaged) continue;
        EXPECT_NE(content.Problem.find("damaged"), std::string::npos);
        PersonRecord r{};
        std::vector<int> numbers;
        ReadRecord(path, static_cast<int>(rng() % 5), r);
        FindByName(path, "x", r, numbers);
        ListNames(path);
        ListNamesByPrefix(path, "a");
        EXPECT_FALSE(StoreRecord(path, Person("甲"), -1).Ok);
        EXPECT_FALSE(DeleteRecord(path, 0).Ok);
        EXPECT_EQ(ReadFileText(path), bytes);
    }
}

}  // namespace
}  // namespace qv
