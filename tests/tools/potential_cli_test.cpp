// quorvane-cli potential and potential-table on a data folder of their own.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "atomic_file.h"
#include "json_tree.h"
#include "engine/fortune/potential.h"
#include "run_program.h"

namespace qv {
namespace {

using test::Lines;
using test::ReadFileText;

// What export writes: a category of two abilities (the second unnamed) and
// an empty one.
const std::string Definitions =
    "[\n"
    "{\"category\":1,\"name\":\"領導\",\"share\":30},\n"
    "{\"category\":1,\"item\":1,\"name\":\"決斷\",\"elements\":\"水 火\",\"tenGods\":\"比肩 正官\"},\n"
    "{\"category\":1,\"item\":2,\"name\":\"\",\"elements\":\"土\",\"tenGods\":\"\"},\n"
    "{\"category\":2,\"name\":\"藝術\",\"share\":25}\n"
    "]\n";

class PotentialCliTest : public test::CliTest {
protected:
    std::string Table() const { return data_.Path() + "/program/EngyInfo.tbl"; }
    std::string Json(const std::string& name, const std::string& text) const {
        const std::string path = data_.Path() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    void Import(const std::string& text) {
        Out({"potential-table", "import", Json("in.json", text)});
    }
    void WriteTable(const std::string& bytes) {
        std::filesystem::create_directories(data_.Path() + "/program");
        std::ofstream(Table(), std::ios::binary) << bytes;
    }
};

TEST_F(PotentialCliTest, ImportShowAndExportRoundTrip) {
    Import(Definitions);
    EXPECT_EQ(ReadFileText(Table()).size(), 1730u + 2 * 36);
    EXPECT_TRUE(ScratchFilesOf(Table()).empty());
    const std::string show = Out({"potential-table", "show"});
    EXPECT_EQ(Lines(show),
              (std::vector<std::string>{"category 1\t領導\tK 30\t2 abilities", "  1\t決斷\t水 火\t比肩 正官",
                                        "  2\t未命名\t土\t", "category 2\t藝術\tK 25\t0 abilities"}));
    const std::string out = Out({"potential-table", "export"});
    EXPECT_EQ(out, Definitions);
}

TEST_F(PotentialCliTest, FirstStartHasNoCategories) {
    const auto show = Cli({"potential-table", "show"});
    EXPECT_EQ(show.Status, 0);
    EXPECT_NE(show.Out.find("no potential categories"), std::string::npos);
    EXPECT_EQ(Cli({"potential-table", "export"}).Out, "[\n]\n");
    const auto values = Cli({"potential", "--birth", "1990-05-17 08:30", "--sex", "m"});
    EXPECT_EQ(values.Status, 2);
    EXPECT_NE(values.Err.find("潛能參數"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Table()));
}

// 1990-05-17 08:30 男 has 水 53, 火 63, 土 57, 比肩 50, 正官 45 and no
// transformation. 決斷: F = 0.4·63 + 0.3·53 + 0.2·63 + 0.1·63 = 60,
// G = 0.4·50 + 0.3·45 + 0.2·50 + 0.1·50 = 48.5 -> 49; K 30: m = 1800 + 3430,
// o = 52, P = 60 + 38·2/35 = 62. 土 alone: m = 1710, o = 17, P = 105/5 = 21.
TEST_F(PotentialCliTest, NatalValuesWorkedByHand) {
    Import(Definitions);
    const std::string r = Out({"potential", "--birth", "1990-05-17 08:30", "--sex", "m"});
    EXPECT_EQ(Lines(r), (std::vector<std::string>{"ability\tnatal", "category 1\t領導\tK 30", "決斷\t62",
                                                      "未命名\t21", "category 2\t藝術\tK 25"}));
    const std::string json = Out({"potential", "--birth", "1990-05-17 08:30", "--sex", "m", "--json", "--category", "1"});
    EXPECT_EQ(json,
              "{\"transformed\":false,\"abilities\":[{\"category\":1,\"categoryName\":\"領導\",\"item\":1,\"name\":"
              "\"決斷\",\"natal\":62},{\"category\":1,\"categoryName\":\"領導\",\"item\":2,\"name\":\"未命名\","
              "\"natal\":21}]}\n");
    EXPECT_EQ(Cli({"potential", "--birth", "1990-05-17 08:30", "--sex", "m", "--category", "3"}).Status, 1);
}

// 1987-08-12 10:00 男 transforms. Natal 水 63 火 72 比肩 60 正官 67 土 67:
// F = 69.3 -> 69, G = 64.9 -> 65, o = 66, P = 77; 土: o = 20, P = 24.
// Transformed 水 76 火 67 比肩 70 正官 54 土 54: F = 73.3 -> 73, G = 65.2 -> 65,
// o = 67, P = 78; 土: o = 16, P = 19.
TEST_F(PotentialCliTest, TransformedValuesWhenTheChartDiffers) {
    Import(Definitions);
    const std::string r = Out({"potential", "--birth", "1987-08-12 10:00", "--sex", "m", "--category", "1"});
    EXPECT_EQ(Lines(r), (std::vector<std::string>{"ability\tnatal\ttransformed", "category 1\t領導\tK 30",
                                                      "決斷\t77\t78", "未命名\t24\t19"}));
}

// What the exchange format refuses, and why, is its own test's; here the
// refusal is told and the table file kept as it was.
TEST_F(PotentialCliTest, ImportRefusesWhatTheTableCannotHoldAndKeepsTheFile) {
    Import(Definitions);
    const std::string before = ReadFileText(Table());
    for (const std::string json : {R"([{"category":1,"name":"a","share":101}])", R"([{"category":1,"name":"a","share":25},)"}) {
        const auto r = Cli({"potential-table", "import", Json("bad.json", json)});
        EXPECT_EQ(r.Status, 1) << json;
        EXPECT_NE(r.Err.find("object "), std::string::npos) << r.Err;
        EXPECT_EQ(ReadFileText(Table()), before);
    }
}

// A damaged table is refused by name; importing new definitions keeps it as .bad.
TEST_F(PotentialCliTest, DamagedTableIsRefusedAndKeptOnImport) {
    WriteTable(std::string(1729, '\0'));
    const auto show = Cli({"potential-table", "show"});
    EXPECT_EQ(show.Status, 2);
    EXPECT_NE(show.Err.find(Table()), std::string::npos);
    EXPECT_EQ(Cli({"potential", "--birth", "1990-05-17 08:30", "--sex", "m"}).Status, 2);
    Import(Definitions);
    EXPECT_EQ(ReadFileText(Table() + ".bad"), std::string(1729, '\0'));
    EXPECT_EQ(Cli({"potential-table", "export"}).Out, Definitions);
}

TEST_F(PotentialCliTest, NameThatIsNotBig5ShowsAsUnnamed) {
    PotentialTable t{};
    ResetPotentialTable(t);
    AddPotentialCategory(t, 25, 1);
    std::strcpy(t.Categories[0].Name, "\xFF\xFF");
    std::strcpy(t.Items[0].Name, "ok");
    WriteTable(EncodePotentialTable(t));
    const std::string show = Out({"potential-table", "show"});
    EXPECT_EQ(Lines(show).front(), "category 1\t未命名\tK 25\t1 abilities");
    const auto out = Cli({"potential-table", "export"});
    EXPECT_EQ(test::ParseJson(out.Out)[0]["name"].Text, "未命名");
    EXPECT_NE(out.Err.find("category 1: the name is not Big5"), std::string::npos);
}

}  // namespace
}  // namespace qv
