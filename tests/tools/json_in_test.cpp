// The JSON reader of the imports, on its own: the two forms it takes, escapes,
// and where and why it stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json_in.h"

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

}  // namespace
}  // namespace qv::cli
