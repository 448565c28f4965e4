// The solar-term table file: what the build wrote loads, and anything
// truncated, foreign or hand-edited is refused with a reason.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "reference_data.h"
#include "run_program.h"
#include "solar_terms.h"

namespace qv {
namespace {

class SolarTermFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        bytes_ = test::ReadFileText(std::string(QUORVANE_BIN_DIR) + "/AInfo.tbl");
        ASSERT_EQ(bytes_.size(), 16u + 300u * 96u);
    }

    TableLoadResult LoadBytes(const std::string& bytes, SolarTermTable& table) {
        const std::string path = dir_.Path() + "/AInfo.tbl";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return LoadSolarTermTable(path, table);
    }

    // Expects the edited bytes to be refused with a message containing `why`.
    void ExpectRefused(const std::string& bytes, const std::string& why) {
        auto table = std::make_unique<SolarTermTable>();
        const TableLoadResult r = LoadBytes(bytes, *table);
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Error.find(why), std::string::npos) << r.Error;
        EXPECT_EQ(table->FirstYear, 0);
        EXPECT_FALSE(table->Covers(2000));
    }

    // Offset of an entry's byte: field 0 month, 1 day, 2 hour, 3 minute.
    static size_t At(int year, int term, int field) { return 16 + (year - 1801) * 96 + term * 4 + field; }

    std::string bytes_;
    test::TempDir dir_;
};

TEST_F(SolarTermFileTest, TheBuiltTableLoadsAndCoversThreeHundredYears) {
    auto table = std::make_unique<SolarTermTable>();
    const TableLoadResult r = LoadBytes(bytes_, *table);
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(table->FirstYear, 1801);
    EXPECT_EQ(table->LastYear, 2100);
    EXPECT_TRUE(table->Covers(2100));
    EXPECT_FALSE(table->Covers(2101));
    EXPECT_FALSE(table->Covers(1800));
    EXPECT_EQ(table->FirstEntryIndex(1802), 24);
}

TEST_F(SolarTermFileTest, SaveAndLoadRoundTrip) {
    auto table = std::make_unique<SolarTermTable>();
    ASSERT_TRUE(LoadBytes(bytes_, *table).Ok);
    const std::string path = dir_.Path() + "/copy.tbl";
    ASSERT_TRUE(SaveSolarTermTable(path, *table).Ok);
    EXPECT_EQ(test::ReadFileText(path), bytes_);
}

TEST_F(SolarTermFileTest, EveryTruncationIsRefused) {
    for (size_t length = 0; length < bytes_.size(); length += (length < 64 ? 1 : 97)) {
        auto table = std::make_unique<SolarTermTable>();
        EXPECT_FALSE(LoadBytes(bytes_.substr(0, length), *table).Ok) << length;
    }
    ExpectRefused(bytes_.substr(0, bytes_.size() - 1), "length");
    ExpectRefused(bytes_ + "x", "length");
}

TEST_F(SolarTermFileTest, ForeignAndInconsistentHeadersAreRefused) {
    ExpectRefused("", "not a solar-term table");
    std::string foreign = bytes_;
    foreign[0] = 'X';
    ExpectRefused(foreign, "not a solar-term table");
    std::string version = bytes_;
    version[8] = 2;
    ExpectRefused(version, "version");
    std::string rows = bytes_;
    rows[14] = 0x2B;  // 299 rows for 300 years
    ExpectRefused(rows, "row count");
    std::string first = bytes_;
    first[10] = 0x12;  // 1810
    ExpectRefused(first, "first year");
}

TEST_F(SolarTermFileTest, HandEditedEntriesAreRefusedByName) {
    std::string month = bytes_;
    month[At(1923, 5, 0)] = 13;
    ExpectRefused(month, "year 1923 term 5 (春分): month 13");
    std::string day = bytes_;
    day[At(1923, 5, 1)] = 31;
    day[At(1923, 5, 0)] = 4;
    ExpectRefused(day, "day 31 is not valid in month 4");
    std::string leap = bytes_;
    leap[At(1901, 2, 0)] = 2;
    leap[At(1901, 2, 1)] = 29;  // 1901 is no leap year
    ExpectRefused(leap, "day 29 is not valid in month 2");
    std::string hour = bytes_;
    hour[At(2000, 7, 2)] = 24;
    ExpectRefused(hour, "hour 24");
    std::string minute = bytes_;
    minute[At(2000, 7, 3)] = 60;
    ExpectRefused(minute, "minute 60");
}

TEST_F(SolarTermFileTest, MomentsMustIncreaseAcrossTheWholeTable) {
    std::string swapped = bytes_;
    for (int field = 0; field < 4; ++field) std::swap(swapped[At(1950, 3, field)], swapped[At(1950, 4, field)]);
    ExpectRefused(swapped, "year 1950 term 4 (驚蟄) is not after");
    // A 小寒 moved into December of its own year falls after that year's 大寒.
    std::string december = bytes_;
    december[At(1951, 0, 0)] = 12;
    ExpectRefused(december, "year 1951 term 1 (大寒) is not after");
}

TEST_F(SolarTermFileTest, MissingFileIsRefused) {
    auto table = std::make_unique<SolarTermTable>();
    const TableLoadResult r = LoadSolarTermTable(dir_.Path() + "/none.tbl", *table);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find("cannot be opened"), std::string::npos);
}

}  // namespace
}  // namespace qv
