#include <gtest/gtest.h>

#include "JsonCpp.h"

TEST(JsonCppTest, ParsesOneValueWithSurroundingWhiteSpace)
{
    Json::JsonCpp json;
    ASSERT_TRUE(json.Parse("  \n{\"request\": 3, \"name\": \"a\"}\t "));
    const auto& doc = json.GetDocument();
    ASSERT_TRUE(doc.IsObject());
    EXPECT_EQ(3, doc["request"].GetInt());
    EXPECT_STREQ("a", doc["name"].GetString());
}

TEST(JsonCppTest, RejectsEmptyAndDoubleRootsKeepingPreviousDocument)
{
    Json::JsonCpp json;
    ASSERT_TRUE(json.Parse("[1,2]"));
    EXPECT_FALSE(json.Parse(""));
    EXPECT_FALSE(json.Parse("   \n"));
    EXPECT_FALSE(json.Parse("{} {}"));
    EXPECT_FALSE(json.Parse("{\"a\":"));
    ASSERT_TRUE(json.GetDocument().IsArray());
    EXPECT_EQ(2u, json.GetDocument().Size());
}

TEST(JsonCppTest, SecondParseReplacesTheFirst)
{
    Json::JsonCpp json;
    ASSERT_TRUE(json.Parse("{\"a\":1}"));
    ASSERT_TRUE(json.Parse("{\"b\":2}"));
    EXPECT_FALSE(json.GetDocument().HasMember("a"));
    EXPECT_EQ(2, json.GetDocument()["b"].GetInt());
}

TEST(JsonCppTest, WritesCompactTextAndStartsAgainAfterClear)
{
    Json::JsonCpp json;
    json.StartObject();
    json.WriteKeyValue("type", 5);
    json.WriteKeyValue("port", -2);
    json.WriteKeyValue("name", std::string("a\"b"));
    json.WriteKeyValue("text", "x");
    json.WriteKeyValue("on", true);
    json.WriteKeyValue("big", static_cast<uint64_t>(1) << 40);
    json.Key("list");
    json.StartArray();
    json.WriteValue(1u);
    json.WriteValue(1.5);
    json.WriteNull();
    json.EndArray();
    json.EndObject();
    EXPECT_EQ("{\"type\":5,\"port\":-2,\"name\":\"a\\\"b\",\"text\":\"x\",\"on\":true,\"big\":1099511627776,"
              "\"list\":[1,1.5,null]}",
              json.GetString());

    json.Clear();
    EXPECT_EQ("", json.GetString());
    json.StartObject();
    json.WriteKeyValue("desc", 4);
    json.EndObject();
    EXPECT_EQ("{\"desc\":4}", json.GetString());
}

// A long-lived wrapper parses every request of the daemon's life: what stays
// in its pool is the last document, never the sum of them all.
TEST(JsonCppTest, ParsingAgainKeepsOnlyTheLastDocumentsMemory)
{
    const std::string status = R"({"request":3,"content":{"query":[{"addr":0,"on_off":true,"name":"outlet-name"}]}})";
    std::string nested;
    for (int i = 0; i < 2000; ++i)
        nested += "[\"a string longer than inline\",";
    Json::JsonCpp json;
    ASSERT_TRUE(json.Parse(status));
    const size_t one = json.GetDocument().GetAllocator().Size();
    ASSERT_GT(one, 0u);
    for (int i = 0; i < 2000; ++i)
    {
        ASSERT_TRUE(json.Parse(status));
        ASSERT_FALSE(json.Parse(nested));  // unfinished: strings parsed, then an error
        ASSERT_FALSE(json.Parse(R"({"a":"bcdefghijklmnopqrstuvwxyz"} {})"));
    }
    EXPECT_EQ(one, json.GetDocument().GetAllocator().Size());
    EXPECT_EQ(3, json.GetDocument()["request"].GetInt());
}
