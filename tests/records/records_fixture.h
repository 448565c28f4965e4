// Shared pieces of the records tests: persons to store and files to look at.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "person_text.h"
#include "records_file.h"
#include "engine/texts/string_table.h"
#include "run_program.h"

namespace qv::test {

// A person with UTF-8 texts; the birth fields are plain numbers.
inline PersonRecord Person(const std::string& name, int year = 1990, int16_t hour = 8, const std::string& phone = "") {
    PersonRecord r{};
    PersonTexts texts{name, "台北市", phone, "備註"};
    EXPECT_TRUE(StorePersonTexts(texts, r).Ok);
    r.year = static_cast<int16_t>(year);
    r.month = 5;
    r.day = 17;
    r.hour = hour;
    r.minute = 30;
    r.hourBranch = 5;
    r.lunarYear = static_cast<int16_t>(year);
    r.lunarMonth = 4;
    r.lunarDay = 23;
    return r;
}

inline std::string NameOf(const PersonRecord& r) {
    PersonTexts texts;
    EXPECT_TRUE(LoadPersonTexts(r, texts).Ok);
    return texts.Name;
}

inline std::string Big5(const std::string& utf8) {
    PersonRecord r{};
    EXPECT_TRUE(StorePersonTexts(PersonTexts{utf8, "", "", ""}, r).Ok);
    return std::string(r.name);
}

inline bool SameBytes(const PersonRecord& a, const PersonRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// Fails the step with the given index (counting every call of every step);
// a failing write first writes half of its bytes, as a full disk does.
class FailingWriter : public FileWriter {
public:
    explicit FailingWriter(int failAt) : failAt_(failAt) {}
    int Create(const std::string& path) override { return Fails() ? -1 : FileWriter::Create(path); }
    bool Write(int fd, std::string_view bytes) override {
        if (!Fails()) return FileWriter::Write(fd, bytes);
        FileWriter::Write(fd, bytes.substr(0, bytes.size() / 2));
        return false;
    }
    bool Sync(int fd) override { return !Fails() && FileWriter::Sync(fd); }
    bool Close(int fd) override {
        const bool ok = FileWriter::Close(fd);
        return !Fails() && ok;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return !Fails() && FileWriter::Rename(from, to);
    }
    bool SyncFolder(const std::string& folder) override { return !Fails() && FileWriter::SyncFolder(folder); }
    int Steps() const { return step_; }

private:
    bool Fails() {
        if (step_++ != failAt_) return false;
        errno = ENOSPC;
        return true;
    }
    int failAt_;
    int step_ = 0;
};

// Scratch files left in a folder (of any file written there).
inline std::vector<std::string> ScratchIn(const std::string& folder) {
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") && name.ends_with(".tmp")) left.push_back(name);
    }
    return left;
}

// Runs the change of the file at path with each of its steps failing in turn
// (as FailingWriter counts them), each time from the old bytes: the file must
// then hold exactly the old bytes (failure reported with a reason) or exactly
// the new ones, with no scratch file left.
template <class Change>
void EveryStepFails(const Change& change, const std::string& path, int leastSteps = 6) {
    const std::string old = ReadFileText(path);
    FailingWriter counter(-1);
    ASSERT_TRUE(change(counter).Ok);
    const std::string now = ReadFileText(path);
    ASSERT_NE(now, old);
    EXPECT_GE(counter.Steps(), leastSteps);
    const std::string folder = std::filesystem::path(path).parent_path().string();
    for (int failAt = 0; failAt < counter.Steps(); ++failAt) {
        SCOPED_TRACE("step " + std::to_string(failAt));
        WriteBytes(path, old);
        FailingWriter writer(failAt);
        const auto r = change(writer);
        EXPECT_EQ(ReadFileText(path), r.Ok ? now : old);
        EXPECT_TRUE(r.Ok || !r.Detail.empty());
        EXPECT_TRUE(ScratchIn(folder).empty());
    }
}

// A folder with a records file path in it.
class RecordsTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return dir_.Path() + "/" + name; }
    // Stores the persons in a new file at path, in order.
    void Fill(const std::string& path, const std::vector<PersonRecord>& persons) const {
        for (const PersonRecord& p : persons) ASSERT_TRUE(StoreRecord(path, p, -1).Ok);
    }
    // Scratch files left in the folder (of any file written there).
    std::vector<std::string> ScratchLeft() const { return ScratchIn(dir_.Path()); }

    TempDir dir_;
    const std::string file_ = PathOf("VNX5MAIN.AID");
};

}  // namespace qv::test
