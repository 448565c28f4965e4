// The exchange formats on their own: the JSON reader of the imports (the two
// forms it takes, escapes, where and why it stops); the JSON of the records
// and of the potential table reads back to what was written, and anything
// else is refused with the object and the field.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/texts/big5.h"
#include "json_in.h"
#include "json_tree.h"
#include "person_text.h"
#include "potential_exchange.h"
#include "record_exchange.h"

namespace qv::cli {
namespace {

struct Read {
    bool Ok;
    size_t Taken;
    std::vector<JsonFields> Objects;
    std::string Error;
};

Read ReadAll(std::string_view json) {
    Read r{};
    r.Ok = ReadJsonObjects(
        json, [&](const JsonFields& f) { r.Objects.push_back(f); return std::string(); }, r.Taken, r.Error);
    return r;
}

TEST(JsonIn, TakesAnArrayOrOneObjectALine) {
    for (std::string_view json : {R"([{"a": 1, "b": "x"}, {"a": -2, "b": ""}])",
                                  "{\"a\":1,\"b\":\"x\"}\n{\"a\":-2,\"b\":\"\"}\n"}) {
        const Read r = ReadAll(json);
        ASSERT_TRUE(r.Ok) << r.Error;
        ASSERT_EQ(r.Taken, 2u);
        int64_t a = 0;
        std::string b;
        EXPECT_EQ(JsonInteger(r.Objects[1], "a", -5, 5, a), "");
        EXPECT_EQ(a, -2);
        EXPECT_EQ(JsonText(r.Objects[0], "b", b), "");
        EXPECT_EQ(b, "x");
    }
    EXPECT_TRUE(ReadAll("[]").Ok);
    EXPECT_TRUE(ReadAll(" [ { } ] ").Ok);
}

TEST(JsonIn, EscapesBecomeUtf8) {
    // \u7532 甲, a surrogate pair for U+20000 𠀀, and the short escapes.
    const Read r = ReadAll(R"([{"t": "\u7532\ud840\udc00\"\\\/\n\t"}])");
    ASSERT_TRUE(r.Ok) << r.Error;
    std::string t;
    EXPECT_EQ(JsonText(r.Objects[0], "t", t), "");
    EXPECT_EQ(t, "甲\xF0\xA0\x80\x80\"\\/\n\t");
}

TEST(JsonIn, RefusesWithTheReasonAndTheByte) {
    struct Case {
        std::string_view Json, Error;
    };
    for (const Case& c : {Case{"", "expected '[' or '{' at byte 0"},
                          Case{R"([{"a": 1, "a": 2}])", "field a twice at byte 16"},
                          Case{R"([{"a": 1.5}])", "expected '}' at byte 8"},
                          Case{R"([{"t": "\ud840"}])", "lone surrogate at byte 14"},
                          Case{R"([{"t": "\q"}])", "bad escape at byte 10"},
                          Case{"[{\"t\": \"a\x01\"}]", "control character in text at byte 10"},
                          Case{R"([{"a": 1}] x)", "text after the last object at byte 11"},
                          Case{R"([{"a": 1})", "expected ']' at byte 9"}}) {
        const Read r = ReadAll(c.Json);
        EXPECT_FALSE(r.Ok) << c.Json;
        EXPECT_EQ(r.Error, c.Error) << c.Json;
    }
}

TEST(JsonIn, FieldsAreCheckedByKindAndRange) {
    const Read r = ReadAll(R"([{"n": 7, "s": "7"}])");
    ASSERT_TRUE(r.Ok);
    int64_t n = 0;
    std::string s;
    EXPECT_EQ(JsonInteger(r.Objects[0], "n", 0, 6, n), "n out of range");
    EXPECT_EQ(JsonInteger(r.Objects[0], "s", 0, 9, n), "missing number s");
    EXPECT_EQ(JsonText(r.Objects[0], "n", s), "missing text n");
    // A refusal of the taker stops the reading after the objects already taken.
    size_t taken = 0;
    std::string error;
    int seen = 0;
    EXPECT_FALSE(ReadJsonObjects(
        R"([{"a": 1}, {"a": 2}, {"a": 3}])", [&](const JsonFields&) { return ++seen == 2 ? "no" : ""; }, taken, error));
    EXPECT_EQ(taken, 1u);
    EXPECT_EQ(error.rfind("no at byte", 0), 0u) << error;
}

// 2000-01-01 01:00 is the lunar 1999-11-25, in the 丑 double hour.
PersonRecord Person(const PersonTexts& texts, int sex) {
    PersonRecord r{};
    EXPECT_TRUE(StorePersonTexts(texts, r).Ok);
    r.year = 2000, r.month = 1, r.day = 1, r.hour = 1, r.minute = 0, r.hourBranch = 1;
    r.lunarYear = 1999, r.lunarMonth = 11, r.lunarDay = 25, r.sex = sex;
    return r;
}

TEST(RecordExchange, JsonReadsBackToTheSameRecords) {
    const std::vector<PersonRecord> records = {Person({"王\"小\"明", "台北\\信義", "02-1234", "一\r\n二\t三"}, 0),
                                               Person({}, 1)};
    std::string json;
    ASSERT_TRUE(RecordsToJson(records, json).Ok);
    const test::Json doc = test::ParseJson(json);
    ASSERT_EQ(doc.Items.size(), 2u);
    EXPECT_EQ(doc[0]["name"].Text, "王\"小\"明");
    EXPECT_EQ(doc[0]["remarks"].Text, "一\r\n二\t三");
    EXPECT_EQ(doc[1]["sex"].Int(), 1);
    EXPECT_EQ(doc[1]["lunarDay"].Int(), 25);
    std::vector<PersonRecord> back;
    const Result read = RecordsFromJson(json, back);
    ASSERT_TRUE(read.Ok) << read.Detail;
    ASSERT_EQ(back.size(), records.size());
    for (size_t i = 0; i < back.size(); ++i) EXPECT_EQ(std::memcmp(&back[i], &records[i], sizeof back[i]), 0) << i;
}

TEST(RecordExchange, MalformedRecordsAreRefusedWithTheirNumber) {
    std::string one;
    ASSERT_TRUE(RecordsToJson({Person({"甲", "", "", ""}, 0)}, one).Ok);
    auto edited = [&](std::string_view from, std::string_view to) {
        std::string json = one;
        json.replace(json.find(from), from.size(), to);
        return json;
    };
    const struct {
        std::string Json, Why;
    } cases[] = {
        {edited("\"甲\"", "\"😀\""), "record 0: name"},
        {edited("\"sex\":0", "\"sex\":\"0\""), "record 0: "},
        {edited("\"day\":1", "\"day\":32"), "record 0: "},
        {edited("\"phone\":\"\"", "\"phone\":\"\",\"colour\":\"\""), "record 0: unknown field"},
        {one + one, "record 1: "},
        {one.substr(0, one.size() / 2), "record 0: "},
        {"[1]", "record 0: "},
    };
    for (const auto& c : cases) {
        std::vector<PersonRecord> records;
        const Result r = RecordsFromJson(c.Json, records);
        EXPECT_FALSE(r.Ok) << c.Json;
        EXPECT_EQ(r.Detail.rfind(c.Why, 0), 0u) << r.Detail;
    }
    // A text that is not Big5 is not exported.
    PersonRecord broken = Person({}, 0);
    std::memcpy(broken.name, "\xff\xff", 3);
    const Result refused = RecordsToJson({Person({}, 0), broken}, one);
    EXPECT_FALSE(refused.Ok);
    EXPECT_EQ(refused.Detail.rfind("record 1: name", 0), 0u) << refused.Detail;
}

PotentialTable TwoCategories() {
    PotentialTable t{};
    ResetPotentialTable(t);
    AddPotentialCategory(t, 30, 2);
    AddPotentialCategory(t, 100, 1);
    std::string big5;
    Utf8ToBig5("領導", big5);
    std::strcpy(t.Categories[0].Name, big5.c_str());
    Utf8ToBig5("決斷", big5);
    std::strcpy(t.Items[0].Name, big5.c_str());
    t.Items[0].ElementMask = ElementBit(0) | ElementBit(2);
    t.Items[0].TenGodMask = TenGodBit(0) | TenGodBit(5);
    t.Items[2].ElementMask = ElementBit(4);
    return t;
}

TEST(PotentialExchange, JsonReadsBackToTheSameTable) {
    const PotentialTable t = TwoCategories();
    std::vector<std::string> warnings;
    const std::string json = PotentialTableToJson(t, warnings);
    EXPECT_TRUE(warnings.empty());
    const test::Json doc = test::ParseJson(json);
    ASSERT_EQ(doc.Items.size(), 5u);  // two categories and three abilities
    EXPECT_EQ(doc[0]["name"].Text, "領導");
    EXPECT_EQ(doc[0]["share"].Int(), 30);
    EXPECT_EQ(doc[1]["elements"].Text, "水 火");
    EXPECT_EQ(doc[1]["tenGods"].Text, "比肩 正官");
    EXPECT_EQ(doc[4]["category"].Int(), 2);
    auto back = std::make_unique<PotentialTable>();
    const Result read = PotentialTableFromJson(json, *back);
    ASSERT_TRUE(read.Ok) << read.Detail;
    EXPECT_TRUE(back->TableReady);
    EXPECT_EQ(back->CategoryCount, 2);
    EXPECT_EQ(back->ItemTotal, 3);
    EXPECT_STREQ(back->Items[0].Name, t.Items[0].Name);
    EXPECT_EQ(back->Items[0].TenGodMask, t.Items[0].TenGodMask);
    EXPECT_EQ(back->Items[2].ElementMask, t.Items[2].ElementMask);
    EXPECT_EQ(PotentialTableToJson(*back, warnings), json);
}

// Each refusal names the object and why.
TEST(PotentialExchange, MalformedTablesAreRefused) {
    std::string many = R"([{"category":1,"name":"a","share":25})";
    for (int i = 1; i <= 33; ++i)
        many += R"(,{"category":1,"item":)" + std::to_string(i) + R"(,"name":"x","elements":"水","tenGods":""})";
    const std::pair<std::string, const char*> cases[] = {
        {R"([{"category":2,"name":"a","share":1}])", "out of order"},
        {R"([{"category":1,"name":"a","share":101}])", "share out of range"},
        {R"([{"category":1,"name":"a","share":1,"more":1}])", "object 1"},  // a field too many
        {R"([{"category":1,"name":"😀","share":1}])", "no Big5 form"},
        {R"([{"category":1,"name":")" + std::string(48, 'a') + R"(","share":1}])", "longer than 47"},
        {R"([{"category":1,"item":1,"name":"a","elements":"","tenGods":""}])", "object 1"},  // ability before its category
        {R"([{"category":1,"name":"a","share":1},
            {"category":1,"item":1,"name":"b","elements":"水 風","tenGods":""}])", "unknown name 風"},
        {R"([{"category":1,"name":"a","share":1},
            {"category":1,"item":1,"name":"b","elements":"水 木 火 土","tenGods":""}])", "at most three elements"},
        {R"([{"category":1,"name":"a","share":1},
            {"category":1,"item":2,"name":"b","elements":"","tenGods":""}])", "ability 2 out of order"},
        {many + "]", "item out of range"},
        {R"([{"category":1,"name":"a","share":1},)", "object 2"},  // unterminated
    };
    for (const auto& [json, reason] : cases) {
        auto table = std::make_unique<PotentialTable>();
        const Result r = PotentialTableFromJson(json, *table);
        EXPECT_FALSE(r.Ok) << json;
        EXPECT_TRUE(r.Detail.starts_with("object ")) << r.Detail;
        EXPECT_NE(r.Detail.find(reason), std::string::npos) << r.Detail;
        EXPECT_EQ(table->CategoryCount, 0) << json;
    }
}

}  // namespace
}  // namespace qv::cli
