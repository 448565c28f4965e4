// The bytes of a records file, and the person texts in their Big5 fields.
#include <cstring>

#include "record_codec.h"
#include "records_fixture.h"

namespace qv {
namespace {

using test::ReadFileText;

int16_t At16(const std::string& b, size_t offset) {
    return static_cast<int16_t>(static_cast<unsigned char>(b[offset]) | (static_cast<unsigned char>(b[offset + 1]) << 8));
}

int32_t At32(const std::string& b, size_t offset) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(At16(b, offset))) |
                                (static_cast<uint32_t>(static_cast<uint16_t>(At16(b, offset + 2))) << 16));
}

TEST(RecordLayoutTest, EveryFieldSitsAtItsOffsetLittleEndian) {
    test::TempDir dir;
    const std::string path = dir.Path() + "/layout.sap";
    PersonRecord r{};
    ASSERT_TRUE(StorePersonTexts(PersonTexts{"王", "地址", "02-1234", "一\r\n二"}, r).Ok);
    r.year = 1990, r.month = 12, r.day = 31, r.hourBranch = 12, r.hour = 23, r.minute = 59;
    r.lunarYear = -2, r.lunarMonth = 11, r.lunarDay = 15, r.sex = 1, r.leapMonth = 0x01020304;
    ASSERT_TRUE(StoreRecord(path, r, -1).Ok);
    const std::string b = ReadFileText(path);
    ASSERT_EQ(b.size(), 448u);
    const std::string rec = b.substr(36);
    EXPECT_EQ(rec.substr(0, 3), std::string("\xA4\xFD\0", 3));  // 王, then the zero
    const std::pair<size_t, int> shorts[] = {{32, 1990}, {34, 12}, {36, 31}, {38, 12}, {40, 23},
                                             {42, 59},   {44, -2}, {46, 11}, {48, 15}, {50, 0}};
    for (auto [offset, value] : shorts) EXPECT_EQ(At16(rec, offset), value) << "offset " << offset;
    EXPECT_EQ(At32(rec, 52), 1);
    EXPECT_EQ(At32(rec, 56), 0x01020304);
    EXPECT_EQ(rec[56], 4);  // least significant byte first
    EXPECT_EQ(rec.substr(60, 5), std::string("\xA6\x61\xA7}\0", 5));  // 地址
    EXPECT_EQ(rec.substr(124, 8), std::string("02-1234\0", 8));
    EXPECT_EQ(rec.substr(156, 7), std::string("\xA4@\r\n\xA4G\0", 7));
}

TEST(RecordLayoutTest, BytesReadBackToTheSameRecord) {
    PersonRecord r = test::Person("陳", 2001);
    r.leapMonth = 1;
    std::string bytes;
    AppendRecordBytes(r, bytes);
    ASSERT_EQ(bytes.size(), RecordSize);
    EXPECT_TRUE(test::SameBytes(RecordFromBytes(bytes.data()), r));
}

TEST(RecordLayoutTest, HeaderCountIsSigned16Bit) {
    RecordsHeader h = NewRecordsHeader(0);
    SetHeaderCount(h, 513);
    EXPECT_EQ(h[32], 1);
    EXPECT_EQ(h[33], 2);
    h[33] = static_cast<char>(0x80);
    EXPECT_LT(HeaderCount(h), 0);
}

class PersonTextTest : public ::testing::Test {
protected:
    // Stores the texts; the reason and detail of a refusal are kept.
    bool Store(const PersonTexts& texts) {
        stored_ = StorePersonTexts(texts, record_);
        return stored_.Ok;
    }
    bool Says(int reason, std::initializer_list<std::string_view> words) const {
        bool all = stored_.Reason == reason;
        for (std::string_view w : words) all = all && stored_.Detail.find(w) != std::string::npos;
        return all;
    }
    PersonRecord record_ = test::Person("原名");
    Result stored_;
};

TEST_F(PersonTextTest, TextsRoundTripThroughBig5) {
    const PersonTexts texts{"林美玲", "臺北市信義路五段7號", "(02) 2345-6789", "第一行\r\n第二行"};
    ASSERT_TRUE(Store(texts)) << stored_.Detail;
    PersonTexts back;
    ASSERT_TRUE(LoadPersonTexts(record_, back).Ok);
    EXPECT_EQ(back, texts);
}

TEST_F(PersonTextTest, ACharacterBig5CannotHoldIsRefusedNamingTheField) {
    const PersonRecord before = record_;
    EXPECT_FALSE(Store(PersonTexts{"王", "住在😀這裡", "", ""}));
    EXPECT_TRUE(Says(NotBig5Text, {"address", "😀"})) << stored_.Detail;
    EXPECT_FALSE(Store(PersonTexts{"王", "", "", "\xFF\xFE"}));
    EXPECT_TRUE(Says(NotBig5Text, {"remarks", "UTF-8"})) << stored_.Detail;
    EXPECT_FALSE(Store(PersonTexts{"王", "", std::string("0\0" "2", 3), ""}));
    EXPECT_TRUE(Says(NotBig5Text, {"phone", "zero byte"})) << stored_.Detail;
    EXPECT_TRUE(test::SameBytes(record_, before));
}

TEST_F(PersonTextTest, TheFieldWidthIsCountedInBig5BytesAndNeverCut) {
    std::string fifteen;
    for (int i = 0; i < 15; ++i) fifteen += "王";
    ASSERT_TRUE(Store(PersonTexts{fifteen + "a", "", "", ""}));  // 31 bytes fit
    EXPECT_EQ(std::strlen(record_.name), 31u);
    EXPECT_FALSE(Store(PersonTexts{fifteen + "王", "", "", ""}));  // 32 do not
    EXPECT_TRUE(Says(TooLongText, {"name", "31"})) << stored_.Detail;
    EXPECT_FALSE(Store(PersonTexts{"", "", std::string(32, '1'), ""}));
    EXPECT_TRUE(Says(TooLongText, {"phone"})) << stored_.Detail;
    EXPECT_TRUE(Store(PersonTexts{"", "", "", std::string(255, 'r')}));
    EXPECT_FALSE(Store(PersonTexts{"", "", "", std::string(256, 'r')}));
}

TEST_F(PersonTextTest, UnterminatedOrNonBig5FieldsOfAForeignFileAreNamed) {
    std::memset(record_.phone, 0xFF, sizeof record_.phone);
    PersonTexts texts;
    const Result loaded = LoadPersonTexts(record_, texts);
    EXPECT_FALSE(loaded.Ok);
    EXPECT_NE(loaded.Detail.find("phone"), std::string::npos);
    std::memset(record_.phone, 'x', sizeof record_.phone);
    EXPECT_EQ(FieldText(record_.phone).size(), sizeof record_.phone);
}

TEST(FoldCaseTest, FoldsLatinLettersButNotTheSecondByteOfACharacter) {
    EXPECT_EQ(FoldCase("AbC"), "abc");
    EXPECT_EQ(FoldCase("\xA4\x41Z"), "\xA4\x41z");  // 乙 stays 乙
    EXPECT_FALSE(EqualIgnoringCase("\xA4\x41", "\xA4\x61"));  // 乙 and 兀
    EXPECT_TRUE(EqualIgnoringCase("Lee", "LEE"));
}

}  // namespace
}  // namespace qv
