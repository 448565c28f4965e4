// The potential table file: a first start, saving and loading back, damaged
// files refused and kept, failing writes and a fuzz of garbage.
#include <cstring>
#include <random>

#include "engine/texts/byte_fields.h"
#include "potential_file.h"
#include "records_fixture.h"

namespace qv {
namespace {

using test::ReadFileText;
using test::WriteBytes;

// Two categories, 2 and 1 abilities, with Big5 names.
PotentialTable Defined() {
    PotentialTable t{};
    ResetPotentialTable(t);
    AddPotentialCategory(t, 30, 2);
    AddPotentialCategory(t, 100, 1);
    std::strcpy(t.Categories[0].Name, test::Big5("領導").c_str());
    std::strcpy(t.Items[0].Name, test::Big5("決斷").c_str());
    t.Items[0].ElementMask = 0xA0;
    t.Items[1].TenGodMask = 0x8400;
    t.Items[2].ElementMask = 0x08;
    return t;
}

class PotentialFileTest : public test::RecordsTest {
protected:
    const std::string path_ = PathOf("EngyInfo.tbl");

    bool Save(const PotentialTable& t, FileWriter& writer = SystemWriter()) {
        const Result saved = SavePotentialTable(path_, t, writer);
        EXPECT_TRUE(saved.Ok || !saved.Detail.empty());
        return saved.Ok;
    }
};

TEST_F(PotentialFileTest, MissingFileIsTheEmptyTableOfAFirstStart) {
    PotentialTable t = Defined();
    EXPECT_TRUE(LoadPotentialTable(path_, t).Ok);
    EXPECT_TRUE(t.TableReady);
    EXPECT_EQ(t.CategoryCount, 0);
    EXPECT_EQ(t.ItemTotal, 0);
    EXPECT_EQ(t.Categories[0].K, 25);
    EXPECT_EQ(t.Categories[1].ItemCount, 0);  // nothing of the table before survives
    EXPECT_EQ(t.Items[0].ElementMask, 0);
    // Saving it creates the 1730-byte file of no categories.
    ASSERT_TRUE(Save(t));
    EXPECT_EQ(ReadFileText(path_).size(), 1730u);
    // On a first run even the data root's program folder is missing.
    const std::string fresh = PathOf("new-root/program/EngyInfo.tbl");
    ASSERT_TRUE(SavePotentialTable(fresh, t).Ok);
    EXPECT_EQ(ReadFileText(fresh).size(), 1730u);
}

TEST_F(PotentialFileTest, SavedTableLoadsBackByteForByte) {
    const PotentialTable t = Defined();
    ASSERT_TRUE(Save(t));
    EXPECT_EQ(ReadFileText(path_).size(), 1730u + 3 * 36);
    PotentialTable back{};
    const Result r = LoadPotentialTable(path_, back);
    EXPECT_TRUE(r.Ok) << r.Detail;
    EXPECT_EQ(std::memcmp(&back, &t, sizeof t), 0);
    EXPECT_EQ(PotentialNameText(back.Categories[0].Name), "領導");
    EXPECT_TRUE(ScratchFilesOf(path_).empty());
}

TEST_F(PotentialFileTest, TableNotReadyOrNotSoundIsNotSaved) {
    PotentialTable t = Defined();
    ASSERT_TRUE(Save(t));
    const std::string before = ReadFileText(path_);
    t.TableReady = false;
    EXPECT_FALSE(Save(t));
    t = Defined();
    t.Categories[1].FirstItem = 1;
    EXPECT_FALSE(Save(t));
    EXPECT_EQ(ReadFileText(path_), before);
}

// A damaged file is refused, left as it is while the program runs on the
// empty table, and kept as .bad once new definitions are saved.
TEST_F(PotentialFileTest, DamagedFileIsRefusedAndKeptBesideTheNewOne) {
    std::string damaged = EncodePotentialTable(Defined());
    damaged[0] = 40;  // 40 categories
    WriteBytes(path_, damaged);
    PotentialTable t = Defined();
    const Result r = LoadPotentialTable(path_, t);
    ASSERT_FALSE(r.Ok);
    EXPECT_NE(r.Detail.find(path_), std::string::npos);
    EXPECT_NE(r.Detail.find("category count 40"), std::string::npos);
    EXPECT_EQ(t.CategoryCount, 0);
    EXPECT_EQ(ReadFileText(path_), damaged);

    ASSERT_TRUE(Save(Defined()));
    EXPECT_EQ(ReadFileText(path_ + ".bad"), damaged);
    EXPECT_EQ(ReadFileText(path_), EncodePotentialTable(Defined()));
    // A sound file replaced later is not set aside.
    WriteBytes(path_ + ".bad", "older");
    ASSERT_TRUE(Save(t));
    EXPECT_EQ(ReadFileText(path_ + ".bad"), "older");
}

TEST_F(PotentialFileTest, FolderInPlaceOfTheFileIsRefused) {
    std::filesystem::create_directory(path_);
    PotentialTable t{};
    EXPECT_FALSE(LoadPotentialTable(path_, t).Ok);
    EXPECT_FALSE(Save(Defined()));
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

// Every step of a save failing in turn: the old file stays whole, or the
// new one is in place; never a half-written table.
TEST_F(PotentialFileTest, EveryFailingStepKeepsTheOldFileOrTheNew) {
    WriteBytes(path_, EncodePotentialTable(Defined()));
    PotentialTable changed = Defined();
    changed.Categories[1].K = 55;
    test::EveryStepFails([&](FileWriter& w) { return SavePotentialTable(path_, changed, w); }, path_);
}

// The disk flushes cost most of a save and prove nothing about the bytes.
class UnflushedWriter : public FileWriter {
public:
    bool Sync(int) override { return true; }
    bool SyncFolder(const std::string&) override { return true; }
};

// Each count field pushed out of range, truncations, extensions and random
// bytes: loading never crashes, refuses what is not sound, never changes the
// file, and a save afterwards keeps whatever was refused.
TEST_F(PotentialFileTest, FuzzOfDamagedFilesNeverCrashesNorLosesAFile) {
    const std::string good = EncodePotentialTable(Defined());
    std::vector<std::string> files;
    const int16_t outOfRange[] = {-32768, -1, 33, 256, 32767};
    for (int16_t v : outOfRange) {
        std::string field;
        PutLittleEndian(v, field);
        for (size_t offset : {size_t{0}, size_t{2 + 48}, size_t{2 + 54 + 48}, size_t{2 + 50}, size_t{2 + 54 + 52}}) {
            std::string b = good;
            b.replace(offset, 2, field);
            files.push_back(b);
        }
    }
    for (size_t cut = 0; cut < good.size(); cut += 37) files.push_back(good.substr(0, cut));
    for (size_t more : {1, 35, 36, 37, 1000}) files.push_back(good + std::string(more, '\0'));
    std::mt19937 rng(5);
    for (int i = 0; i < 300; ++i) {
        std::string b = good;
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int f = 0; f < flips; ++f) b[rng() % b.size()] = static_cast<char>(rng());
        files.push_back(b);
        std::string noise(rng() % 4000, '\0');
        for (char& c : noise) c = static_cast<char>(rng());
        files.push_back(noise);
    }
    for (const std::string& bytes : files) {
        WriteBytes(path_, bytes);
        std::filesystem::remove(path_ + ".bad");
        PotentialTable t{};
        const Result r = LoadPotentialTable(path_, t);
        ASSERT_EQ(ReadFileText(path_), bytes);
        ASSERT_TRUE(t.TableReady);
        if (r.Ok) {
            // What loads is sound and saves back to the same bytes.
            ASSERT_EQ(PotentialTableProblem(t), "");
            ASSERT_EQ(EncodePotentialTable(t), bytes);
            continue;
        }
        ASSERT_EQ(t.CategoryCount, 0);
        UnflushedWriter writer;
        ASSERT_TRUE(Save(Defined(), writer));
        ASSERT_EQ(ReadFileText(path_ + ".bad"), bytes);
    }
}

}  // namespace
}  // namespace qv
