// The records file operations on real files, grouped by operation.
#include <cstring>
#include <filesystem>
#include <functional>

#include "records_fixture.h"

namespace qv {
namespace {

using test::Big5;
using test::Exists;
using test::NameOf;
using test::Person;
using test::ReadFileText;
using test::SameBytes;
using test::WriteBytes;

class StoreRecordTest : public test::RecordsTest {};

TEST_F(StoreRecordTest, FirstStoreCreatesTheFileAndItsFolders) {
    const RecordsResult r = StoreRecord(file_, Person("王小明"), -1);
    ASSERT_TRUE(r.Ok) << r.Detail;
    EXPECT_EQ(r.Number, 0);
    EXPECT_EQ(r.Count, 1);
    const std::string bytes = ReadFileText(file_);
    ASSERT_EQ(bytes.size(), 448u);
    EXPECT_STREQ(bytes.data(), "Varnex Quorvane 100");
    EXPECT_EQ(bytes[32], 1);
    EXPECT_EQ(bytes[33], 0);
    EXPECT_TRUE(ScratchLeft().empty());
    // A first run makes the data root it stores into.
    const std::string root = PathOf("home/.local/share/quorvane");
    ASSERT_TRUE(StoreRecord(root + "/VNX5MAIN.AID", Person("王小明"), -1).Ok);
    EXPECT_EQ(ReadFileText(root + "/VNX5MAIN.AID").size(), 448u);
}

TEST_F(StoreRecordTest, AppendReturnsTheNewNumberReplaceKeepsTheLengthAndNeedsTheRecord) {
    Fill(file_, {Person("甲"), Person("乙"), Person("丙")});
    const RecordsResult appended = StoreRecord(file_, Person("丁"), -1);
    EXPECT_EQ(appended.Number, 3);
    EXPECT_EQ(ReadFileText(file_).size(), 36u + 4 * 412);
    const RecordsResult replaced = StoreRecord(file_, Person("戊"), 1);
    EXPECT_EQ(replaced.Number, 1);
    EXPECT_EQ(ReadFileText(file_).size(), 36u + 4 * 412);
    PersonRecord r{};
    ASSERT_TRUE(ReadRecord(file_, 1, r));
    EXPECT_EQ(NameOf(r), "戊");
    ASSERT_TRUE(ReadRecord(file_, 3, r));
    EXPECT_EQ(NameOf(r), "丁");
    // Replacing a record that is not there is refused.
    const std::string before = ReadFileText(file_);
    EXPECT_FALSE(StoreRecord(file_, Person("乙"), 4).Ok);
    EXPECT_FALSE(StoreRecord(file_, Person("乙"), -2).Ok);
    EXPECT_FALSE(StoreRecord(PathOf("none.sap"), Person("乙"), 0).Ok);
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_FALSE(Exists(PathOf("none.sap")));
}

TEST_F(StoreRecordTest, ForeignIdentificationTextIsKeptAndAccepted) {
    std::string bytes(36, '\0');
    std::memcpy(bytes.data(), "Someone else", 12);
    WriteBytes(file_, bytes);
    ASSERT_TRUE(StoreRecord(file_, Person("甲"), -1).Ok);
    const std::string after = ReadFileText(file_);
    EXPECT_STREQ(after.data(), "Someone else");
    EXPECT_EQ(ReadCount(file_), 1);
}

TEST_F(StoreRecordTest, TheCountNeverWraps) {
    std::string bytes(36 + 412 * size_t{MaxRecordCount}, '\0');
    bytes[32] = static_cast<char>(0xFF);
    bytes[33] = 0x7F;
    WriteBytes(file_, bytes);
    const RecordsResult r = StoreRecord(file_, Person("甲"), -1);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Detail.find("32767"), std::string::npos) << r.Detail;
    EXPECT_EQ(ReadFileText(file_).size(), bytes.size());
}

class ReadRecordTest : public test::RecordsTest {};

TEST_F(ReadRecordTest, ReadsEachRecordAndRefusesBeyondTheLast) {
    Fill(file_, {Person("甲"), Person("乙")});
    PersonRecord r{};
    ASSERT_TRUE(ReadRecord(file_, 0, r));
    EXPECT_TRUE(SameBytes(r, Person("甲")));
    ASSERT_TRUE(ReadRecord(file_, 1, r));
    EXPECT_EQ(NameOf(r), "乙");
    EXPECT_FALSE(ReadRecord(file_, 2, r));
    EXPECT_FALSE(ReadRecord(file_, -1, r));
    EXPECT_EQ(NameOf(r), "乙");  // untouched by the refused reads
    EXPECT_FALSE(ReadRecord(PathOf("none.sap"), 0, r));
    EXPECT_EQ(ReadCount(PathOf("none.sap")), 0);
}

// A cut-short record, a count below the length, a negative count.
TEST_F(ReadRecordTest, DamagedFileGivesOnlyItsWholeRecordsAndSaysSo) {
    Fill(file_, {Person("甲"), Person("乙"), Person("丙")});
    const std::string whole = ReadFileText(file_);
    const struct {
        std::string Bytes;
        size_t Records;
    } cases[] = {{whole.substr(0, 36 + 412 * 2 + 100), 2},
                 {std::string(whole).replace(32, 1, "\x01"), 1},
                 {std::string(whole).replace(32, 2, "\xFF\xFF"), 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Records);
        WriteBytes(file_, c.Bytes);
        const RecordsContent content = ReadRecordsFile(file_);
        EXPECT_TRUE(content.Damaged);
        EXPECT_NE(content.Problem.find("damaged"), std::string::npos);
        EXPECT_EQ(content.Records.size(), c.Records);
    }
    WriteBytes(file_, cases[0].Bytes);
    EXPECT_EQ(ReadCount(file_), 2);
    PersonRecord r{};
    EXPECT_FALSE(ReadRecord(file_, 2, r));
}

TEST_F(ReadRecordTest, NoOperationRewritesADamagedFile) {
    Fill(file_, {Person("甲"), Person("乙")});
    std::string bytes = ReadFileText(file_) + "xyz";
    WriteBytes(file_, bytes);
    const RecordsResult stored = StoreRecord(file_, Person("丙"), -1);
    EXPECT_FALSE(stored.Ok);
    EXPECT_NE(stored.Detail.find("damaged"), std::string::npos);
    EXPECT_FALSE(StoreRecord(file_, Person("丙"), 0).Ok);
    EXPECT_EQ(DeleteRecord(file_, 0).MessageId, CannotDeleteRecordText);
    EXPECT_EQ(MergeIntoMain(file_, PathOf("none.sap")).MessageId, CannotMergeRecordsText);
    EXPECT_EQ(ReadFileText(file_), bytes);
}

class FindByNameTest : public test::RecordsTest {};

// 乙 is A4 41 and 兀 is A4 61 in Big5: the second bytes look like 'A' and 'a'.
TEST_F(FindByNameTest, LatinLettersMatchWithoutCaseChineseDoNotAndTheLastMatchIsHandedBack) {
    Fill(file_, {Person("AB", 1980), Person("王"), Person("ab", 1999), Person("abc"), Person("乙", 2001)});
    const struct {
        const char* Name;
        std::vector<int> Numbers;
        int Year;  // of the record handed back; 1234 is the caller's own
    } cases[] = {{"Ab", {0, 2}, 1999}, {"A", {}, 1234}, {"兀", {}, 1234}, {"乙", {4}, 2001}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PersonRecord out = Person("Ab", 1234);
        std::vector<int> numbers{7};
        EXPECT_EQ(FindByName(file_, Big5(c.Name), out, numbers), static_cast<int>(c.Numbers.size()));
        EXPECT_EQ(numbers, c.Numbers);
        EXPECT_EQ(out.year, c.Year);
    }
    PersonRecord out{};
    std::vector<int> numbers;
    EXPECT_EQ(FindByName(PathOf("none.sap"), Big5("AB"), out, numbers), 0);
}

TEST_F(FindByNameTest, AtMostAHundredMatches) {
    std::vector<PersonRecord> many(130, Person("同名"));
    ASSERT_TRUE(AppendRecords(file_, many).Ok);
    PersonRecord out{};
    std::vector<int> numbers;
    EXPECT_EQ(FindByName(file_, Big5("同名"), out, numbers), MaxNameMatches);
    ASSERT_EQ(numbers.size(), size_t{MaxNameMatches});
    EXPECT_EQ(numbers.back(), MaxNameMatches - 1);
}

class ListNamesTest : public test::RecordsTest {};

TEST_F(ListNamesTest, DistinctNamesInFileOrderAndPrefixesComparedWithoutCase) {
    Fill(file_, {Person("王大明"), Person(""), Person("Lee"), Person("王大明"), Person("LEE"), Person(""), Person("李四"),
                 Person("王五"), Person("王"), Person("Smith"), Person("smyth")});
    EXPECT_EQ(ListNames(file_), (std::vector<std::string>{Big5("王大明"), Big5("無名氏"), "Lee", Big5("李四"),
                                                          Big5("王五"), Big5("王"), "Smith", "smyth"}));
    EXPECT_TRUE(ListNames(PathOf("none.sap")).empty());
    EXPECT_EQ(ListNamesByPrefix(file_, Big5("王")), (std::vector<std::string>{Big5("王大明"), Big5("王五"), Big5("王")}));
    EXPECT_EQ(ListNamesByPrefix(file_, "SM"), (std::vector<std::string>{"Smith", "smyth"}));
    EXPECT_TRUE(ListNamesByPrefix(file_, Big5("王五六")).empty());  // longer than every name
    EXPECT_TRUE(ListNamesByPrefix(file_, "").empty());
}

class DeleteRecordTest : public test::RecordsTest {};

TEST_F(DeleteRecordTest, LaterRecordsMoveDownAndTheLastLeavesAnEmptyFile) {
    Fill(file_, {Person("甲"), Person("乙"), Person("丙")});
    ASSERT_TRUE(DeleteRecord(file_, 1).Ok);
    PersonRecord r{};
    ASSERT_TRUE(ReadRecord(file_, 1, r));
    EXPECT_EQ(NameOf(r), "丙");
    EXPECT_EQ(ReadCount(file_), 2);
    ASSERT_TRUE(DeleteRecord(file_, 0).Ok);
    const RecordsResult last = DeleteRecord(file_, 0);
    ASSERT_TRUE(last.Ok) << last.Detail;
    EXPECT_EQ(last.Count, 0);
    const std::string bytes = ReadFileText(file_);
    ASSERT_EQ(bytes.size(), 36u);
    EXPECT_EQ(bytes[32], 0);
}

TEST_F(DeleteRecordTest, ANumberNotInTheFileIsRefusedAndNothingIsLeftBehind) {
    Fill(file_, {Person("甲"), Person("乙"), Person("丙")});
    const std::string before = ReadFileText(file_);
    for (int n : {5, 3, -1}) {
        const RecordsResult r = DeleteRecord(file_, n);
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.MessageId, CannotDeleteRecordText);
    }
    EXPECT_EQ(StringText(CannotDeleteRecordText), "無法刪除該筆資料");
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_TRUE(ScratchLeft().empty());
    EXPECT_FALSE(DeleteRecord(PathOf("none.sap"), 0).Ok);
}

class SaveCopyAsTest : public test::RecordsTest {};

TEST_F(SaveCopyAsTest, CopiesEveryByteAndRefusesTheFileItselfAndAMissingSource) {
    Fill(file_, {Person("甲"), Person("乙")});
    const std::string copy = PathOf("copy.sap");
    ASSERT_TRUE(SaveCopyAs(file_, copy).Ok);
    EXPECT_EQ(ReadFileText(copy), ReadFileText(file_));
    ASSERT_TRUE(StoreRecord(file_, Person("丙"), -1).Ok);
    ASSERT_TRUE(SaveCopyAs(file_, copy).Ok);  // over an older copy
    EXPECT_EQ(ReadCount(copy), 3);
    // The file itself and a missing source are refused.
    const std::string before = ReadFileText(file_);
    EXPECT_FALSE(SaveCopyAs(file_, file_).Ok);
    EXPECT_FALSE(SaveCopyAs(file_, dir_.Path() + "/./VNX5MAIN.AID").Ok);
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_FALSE(SaveCopyAs(PathOf("none.sap"), PathOf("other.sap")).Ok);
    EXPECT_FALSE(Exists(PathOf("other.sap")));
}

class MergeTest : public test::RecordsTest {
protected:
    const std::string other_ = PathOf("other.sap");
};

TEST_F(MergeTest, CopiesThatDifferOnlyInLunarFieldsAreSkippedOthersAdded) {
    Fill(file_, {Person("甲", 1990, 8, "111"), Person("乙")});
    PersonRecord lunarOnly = Person("甲", 1990, 8, "111");
    lunarOnly.lunarDay = 9;
    lunarOnly.leapMonth = 1;
    lunarOnly.hourBranch = 11;
    PersonRecord otherPhone = Person("甲", 1990, 8, "222");
    PersonRecord otherCase = Person("乙");
    std::strcpy(otherCase.remarks, "REMARK");
    PersonRecord upper = Person("乙");
    std::strcpy(upper.remarks, "remark");
    Fill(file_, {upper});
    Fill(other_, {lunarOnly, otherPhone, otherCase});
    const std::string otherBefore = ReadFileText(other_);
    const RecordsResult r = MergeIntoMain(file_, other_);
    ASSERT_TRUE(r.Ok) << r.Detail;
    EXPECT_EQ(r.Number, 1);
    EXPECT_EQ(r.Count, 4);
    PersonRecord added{};
    ASSERT_TRUE(ReadRecord(file_, 3, added));
    EXPECT_TRUE(SameBytes(added, otherPhone));
    EXPECT_EQ(ReadFileText(other_), otherBefore);
    EXPECT_TRUE(ScratchLeft().empty());
}

TEST_F(MergeTest, IntoAnEmptyMainFileEveryRecordIsAddedEvenEqualOnes) {
    ASSERT_TRUE(AppendRecords(file_, {}).Ok);
    EXPECT_EQ(ReadFileText(file_).size(), 36u);
    Fill(other_, {Person("甲"), Person("甲"), Person("乙")});
    const RecordsResult r = MergeIntoMain(file_, other_);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Number, 3);
    EXPECT_EQ(ReadCount(file_), 3);
}

// Each refusal names the step in the user's words and leaves the main file as it was.
TEST_F(MergeTest, RefusalsLeaveTheMainFileAsItWas) {
    std::vector<PersonRecord> many;
    for (int i = 0; i < 200; ++i) many.push_back(Person("人", 1900 + i));
    std::string nearlyFull(36 + 412 * size_t{MaxRecordCount - 100}, '\0');
    nearlyFull[32] = static_cast<char>((MaxRecordCount - 100) & 0xFF);
    nearlyFull[33] = static_cast<char>((MaxRecordCount - 100) >> 8);
    const std::string one = (Fill(other_, {Person("甲")}), ReadFileText(other_));
    const struct {
        const char* What;
        std::function<void()> Prepare;
        std::string Other;
        int Message;
    } cases[] = {
        // A leftover scratch file is no main file.
        {"no main file", [&] { WriteBytes(PathOf(".VNX5MAIN.AID.x1y2z3.tmp"), one); }, other_, CannotOpenRecordsText},
        {"no other file", [&] { Fill(file_, {Person("甲")}); }, PathOf("none.sap"), CannotOpenRecordsText},
        {"itself", [&] { Fill(file_, {Person("甲")}); }, dir_.Path() + "//VNX5MAIN.AID", CannotMergeRecordsText},
        {"too many", [&] { ASSERT_TRUE(AppendRecords(other_, many).Ok); WriteBytes(file_, nearlyFull); }, other_,
         CannotMergeRecordsText},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(file_);
        c.Prepare();
        const bool existed = Exists(file_);
        const std::string before = existed ? ReadFileText(file_) : "";
        const RecordsResult r = MergeIntoMain(file_, c.Other);
        EXPECT_FALSE(r.Ok) << c.What;
        EXPECT_EQ(r.MessageId, c.Message) << c.What;
        EXPECT_EQ(Exists(file_), existed) << c.What;
        EXPECT_EQ(existed ? ReadFileText(file_) : "", before) << c.What;
    }
    EXPECT_EQ(StringText(CannotOpenRecordsText), "無法開啟資料庫");
    EXPECT_EQ(StringText(CannotMergeRecordsText), "無法合併資料庫");
}

}  // namespace
}  // namespace qv
