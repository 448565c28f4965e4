// quorvane-cli compare and best-days: two persons at once, checked against the
// one-person commands.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "json_tree.h"
#include "run_program.h"

namespace qv {
namespace {

using test::Fields;
using test::Lines;

const char* const Branches[12] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
int BranchOf(const std::string& pillar) {
    for (int b = 0; b < 12; ++b)
        if (pillar.substr(3) == Branches[b]) return b;
    return -1;
}

class TwoPersonsCli : public test::CliTest {
protected:
    const std::vector<std::string> A{"--birth", "1988-06-15 09:40", "--sex", "f"};
    const std::vector<std::string> B{"--with-birth", "1990-03-02 14:10", "--with-sex", "m"};
    test::ProgramResult Run(std::vector<std::string> args, bool withB) {
        args.insert(args.end(), A.begin(), A.end());
        if (withB) args.insert(args.end(), B.begin(), B.end());
        return Cli(args);
    }
    // "date" -> the fields of fortune --days for the person born at birth.
    std::map<std::string, std::vector<std::string>> DayRows(const std::string& birth, const std::string& sex) {
        std::map<std::string, std::vector<std::string>> rows;
        for (const char* month : {"2030-01", "2030-02", "2030-03"}) {
            const auto r = Cli({"fortune", "--birth", birth, "--sex", sex, "--category", "5", "--days", month});
            EXPECT_EQ(r.Status, 0) << r.Err;
            for (const auto& line : Lines(r.Out)) rows[Fields(line)[0]] = Fields(line);
        }
        return rows;
    }
    int DayBranch(const std::string& birth) {
        const auto r = Cli({"pillars", birth});
        const std::string pillars = Fields(Lines(r.Out).at(0)).back();  // "己卯 丙子 戊午 戊午"
        return BranchOf(pillars.substr(14, 6));
    }
};

TEST_F(TwoPersonsCli, BestDaysAreTheDayValuesOfBothBestFirstClashesLast) {
    const auto r = Run({"best-days", "--category", "5", "--from", "2030-01-20", "--to", "2030-03-10"}, true);
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto rowsA = DayRows("1988-06-15 09:40", "f"), rowsB = DayRows("1990-03-02 14:10", "m");
    const int branchA = DayBranch("1988-06-15 09:40"), branchB = DayBranch("1990-03-02 14:10");
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 50u);
    bool clashSeen = false;
    int previous = 1 << 20;
    int clashes = 0;
    for (const auto& line : lines) {
        const auto f = Fields(line);  // date pillar value valueA relationA valueB relationB [沖]
        ASSERT_GE(f.size(), 6u) << line;
        const auto& a = rowsA.at(f[0]);
        const auto& b = rowsB.at(f[0]);
        EXPECT_EQ(f[1], a[1]) << line;
        EXPECT_EQ(f[3], a[2]) << line;
        EXPECT_EQ(f[5], b[2]) << line;
        EXPECT_EQ(std::stoi(f[2]), std::min(std::stoi(a[2]), std::stoi(b[2]))) << line;
        const int day = BranchOf(f[1]);
        const bool clash = (day + 6) % 12 == branchA || (day + 6) % 12 == branchB;
        EXPECT_EQ(f.size() == 8 && f[7] == "沖", clash) << line;
        clashes += clash;
        if (clash && !clashSeen) previous = 1 << 20;
        EXPECT_FALSE(clashSeen && !clash) << "a day without 沖 after one with it: " << line;
        EXPECT_LE(std::stoi(f[2]), previous) << line;
        clashSeen = clashSeen || clash;
        previous = std::stoi(f[2]);
    }
    EXPECT_GT(clashes, 0);
    const auto json = Run({"best-days", "--category", "5", "--from", "2030-01-20", "--to", "2030-01-21", "--json"}, false);
    ASSERT_EQ(json.Status, 0) << json.Err;
    const auto days = Lines(json.Out);
    ASSERT_EQ(days.size(), 2u);
    for (const auto& line : days) {
        const test::Json day = test::ParseJson(line);
        // One person alone: the values are that person's day values.
        const auto& a = rowsA.at(day["date"].Text);
        EXPECT_EQ(day["pillar"].Text, a[1]) << line;
        EXPECT_EQ(day["value"].Int(), std::stoi(a[2])) << line;
        EXPECT_EQ(day["clash"].Is, test::Json::Kind::Bool) << line;
    }
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--from", "2030-01-01", "--to", "2031-01-02"},
                                                {"--from", "2030-02-01", "--to", "2030-01-01"}}) {
        std::vector<std::string> args{"best-days", "--category", "5"};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(Run(args, true).Status, 1);
    }
}

TEST_F(TwoPersonsCli, CompareNamesEachRelationAndRecordsGiveTheSame) {
    const auto json = Run({"compare", "--json"}, true);
    ASSERT_EQ(json.Status, 0) << json.Err;
    ASSERT_EQ(Lines(json.Out).size(), 1u);
    // 戊辰 戊午 辛丑 癸巳 and 庚午 戊寅 丙寅 乙未: 丙 is 辛's 正官, 辛 is 丙's 正財, and
    // 丙 with 辛 is a five union of the day pillars.
    const test::Json j = test::ParseJson(json.Out);
    EXPECT_EQ(j["A"]["Pillars"].Text, "戊辰 戊午 辛丑 癸巳");
    EXPECT_EQ(j["B"]["Pillars"].Text, "庚午 戊寅 丙寅 乙未");
    EXPECT_EQ(j["TenGodOfBFromA"].Text, "正官");
    EXPECT_EQ(j["TenGodOfAFromB"].Text, "正財");
    ASSERT_FALSE(j["Relations"].Items.empty());
    EXPECT_EQ(j["Relations"][0]["kind"].Text, "五合");
    EXPECT_EQ(j["Relations"][0]["a"].Text, "日柱");
    EXPECT_EQ(j["A"]["RolesInOther"].Items.size(), 5u);
    EXPECT_FALSE(j["NaYinRelation"].Text.empty());
    EXPECT_EQ(j["Harmonious"].Is, test::Json::Kind::Number);
    ASSERT_EQ(Cli({"records", "add", "--sex", "f", "--birth", "1988-06-15 09:40"}).Status, 0);
    ASSERT_EQ(Cli({"records", "add", "--sex", "m", "--birth", "1990-03-02 14:10"}).Status, 0);
    const std::string byRecord = Out({"compare", "--json", "--record", "0", "--with-record", "1"});
    EXPECT_EQ(byRecord, json.Out);
    const auto text = Cli({"compare", "--record", "1", "--with-record", "0"});
    EXPECT_NE(text.Out.find("甲方"), std::string::npos) << text.Out;
    EXPECT_EQ(Cli({"compare", "--record", "0", "--with-record", "7"}).Status, 2);
    EXPECT_EQ(Run({"compare"}, false).Status, 1);  // the second person is missing
}

TEST_F(TwoPersonsCli, PicturesOfBothPersons) {
    if (!QUORVANE_GUI) GTEST_SKIP() << "built without the picture program";
    struct Row {
        std::vector<std::string> Args;
        int Status;
    };
    const std::string png = data_.Path() + "/two.png";
    const Row rows[] = {
        {{"curve", "--mode", "0", "--lifetime", "--category", "5"}, 0},
        {{"curve", "--mode", "1", "--year", "2020"}, 0},
        {{"curve", "--mode", "2", "--year", "2020"}, 1},  // the month chart is not by years
        {{"compare"}, 0},
    };
    for (const Row& row : rows) {
        std::remove(png.c_str());
        auto args = row.Args;
        args.insert(args.end(), {"--out", png});
        const auto r = Run(args, true);
        EXPECT_EQ(r.Status, row.Status) << row.Args[0] << " " << r.Err;
        EXPECT_EQ(test::ReadFileText(png).starts_with("\x89PNG"), row.Status == 0) << row.Args[0];
    }
}

}  // namespace
}  // namespace qv
