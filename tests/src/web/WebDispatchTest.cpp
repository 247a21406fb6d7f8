// The dispatcher and the strict field reading every web parser shares.
#include <gtest/gtest.h>

#include <sstream>

#include "GlobalData.h"
#include "support/LogCapture.h"
#include "web/web_parser/WebParser.h"
#include "web/web_processor/DeviceListQueryProcessor.h"
#include "web/web_processor/WebProcessorFactory.h"

namespace
{
// The shared readers, opened up.
struct Fields : web::WebParser
{
    using WebParser::findSlave;
    using WebParser::intOr;
    using WebParser::isTrue;
    using WebParser::limitOr;
    using WebParser::mayRelay;
    using WebParser::outletMask;
    using WebParser::readAddr;
    using WebParser::readDateTime;
    using WebParser::readInt;
    using WebParser::readIntArray;
    using WebParser::readString;
    using WebParser::readUint;
    int parse(Json::JsonCpp&, std::shared_ptr<web::WebProcessor>&) override { return kMalformed; }
};

// What a reader makes of key "v" (or "addr") of the object: its value or "bad".
std::string read(const std::string& kind, const rapidjson::Value& o)
{
    int i = -7;
    uint32_t u = 0;
    std::string s;
    std::vector<int> list;
    _DeviceDateTime t;
    std::ostringstream text;
    if (kind == "addr" || kind == "int")
        return (kind == "addr" ? Fields::readAddr(o, i) : Fields::readInt(o, "v", i)) ? std::to_string(i) : "bad";
    if (kind == "uint")
        return Fields::readUint(o, "v", u) ? std::to_string(u) : "bad";
    if (kind == "string")
        return Fields::readString(o, "v", s) ? s : "bad";
    if (kind == "ints" && !Fields::readIntArray(o, "v", list))
        return "bad";
    if (kind == "time" && !Fields::readDateTime(o, "v", t))
        return "bad";
    for (int n : list)
        text << n << ";";
    if (kind == "time")
        text << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute << ":" << t.second;
    if (kind == "limit")
        text << Fields::limitOr(o, "v");
    if (kind == "intOr")
        text << Fields::intOr(o, "v", -1);
    if (kind == "true")
        text << Fields::isTrue(o, "v");
    return text.str();
}

class WebDispatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved_ = GlobalData::getDevice();
        _Device& device = GlobalData::getDevice();
        device.portCount = 8;
        device.isMaster = true;
        device.slaves.clear();
        device.slaves[2].valid = true;
        device.slaves[2].portCount = 48;
        device.slaves[3].portCount = 8;  // not answered yet
    }
    void TearDown() override { GlobalData::getDevice() = saved_; }

    _Device saved_;
    web::WebProcessorFactory factory_{nullptr};
};
}

TEST_F(WebDispatchTest, MalformedRequestsGetNoProcessorAndALogLine)
{
    const std::string cases[][2] = {
        {"", "json parse error"}, {"[] {}", "json parse error"}, {"{\"request\":1", "json parse error"},
        {std::string("\0{\"request\":1}", 14), "json parse error"}, {"[{\"request\":1}]", "no request"},
        {"\"request\"", "no request"}, {"1", "no request"}, {"null", "no request"}, {"{\"content\":{}}", "no request"},
        {"{\"request\":\"1\"}", "request is not an integer"}, {"{\"request\":1.0}", "request is not an integer"},
        {"{\"request\":1e0}", "request is not an integer"}, {"{\"request\":4294967297}", "request is not an integer"},
        {"{\"request\":true}", "request is not an integer"}, {"{\"request\":99}", "no parser"},
        {"{\"request\":6}", "no parser"}, {"{\"request\":-1}", "no parser"},
    };
    for (const auto& c : cases)
    {
        test::LogCapture log;
        std::shared_ptr<web::WebProcessor> processor = std::make_shared<web::DeviceListQueryProcessor>();
        EXPECT_EQ(0, factory_.parseWebProcessor(c[0], processor)) << c[0];
        EXPECT_FALSE(processor) << c[0];
        EXPECT_TRUE(log.contains(c[1])) << c[0] << "\n" << log.text();
    }
}

TEST_F(WebDispatchTest, DeviceListListsThisUnitAndTheSlavesThatAnswered)
{
    const std::string requests[] = {"{\"request\":1}", " {\"request\":1,\"content\":5} ",
                                    std::string("{\"request\":1}\0garbage", 21), "{\"request\":1,\"request\":2}"};
    for (const std::string& request : requests)
    {
        std::shared_ptr<web::WebProcessor> processor;
        ASSERT_EQ(1, factory_.parseWebProcessor(request, processor)) << request;
        std::string answer;
        processor->process(answer);
        EXPECT_EQ(R"({"response":1,"result":0,"content":{"devices":[{"addr":0,"port_num":8},{"addr":2,"port_num":48}]}})",
                  answer);
    }
}

TEST_F(WebDispatchTest, FieldsAreReadOnlyAsTheirOwnTypeAndRange)
{
    const char* cases[][3] = {
        {"addr", "{}", "0"}, {"addr", "{\"addr\":255}", "255"}, {"addr", "{\"addr\":256}", "bad"},
        {"addr", "{\"addr\":-1}", "bad"}, {"addr", "{\"addr\":4294967298}", "bad"}, {"addr", "{\"addr\":1.0}", "bad"},
        {"addr", "{\"addr\":\"1\"}", "bad"}, {"addr", "{\"addr\":1,\"addr\":300}", "1"},
        {"int", "{\"v\":2147483647}", "2147483647"}, {"int", "{\"v\":-2147483648}", "-2147483648"},
        {"int", "{\"v\":2147483648}", "bad"}, {"int", "{\"v\":-2147483649}", "bad"},
        {"int", "{\"v\":99999999999999999999}", "bad"}, {"int", "{\"v\":1e3}", "bad"}, {"int", "{\"v\":5.0}", "bad"},
        {"int", "{\"v\":null}", "bad"}, {"int", "{}", "bad"}, {"intOr", "{\"v\":5.5}", "-1"}, {"intOr", "{\"v\":5}", "5"},
        {"uint", "{\"v\":4294967295}", "4294967295"}, {"uint", "{\"v\":4294967296}", "bad"},
        {"uint", "{\"v\":-1}", "bad"}, {"uint", "{\"v\":2.5}", "bad"},
        {"limit", "{\"v\":5}", "5"}, {"limit", "{\"v\":-0.25}", "-0.25"},
        {"limit", "{\"v\":18446744073709551615}", "1.84467e+19"}, {"limit", "{\"v\":\"5\"}", "2.14748e+09"},
        {"limit", "{\"v\":null}", "2.14748e+09"}, {"limit", "{}", "2.14748e+09"},
        {"string", "{\"v\":\"a\\u0000b\"}", "a"}, {"string", "{\"v\":5}", "bad"},
        {"true", "{\"v\":true}", "1"}, {"true", "{\"v\":1}", "0"},
        {"ints", "{\"v\":[]}", ""}, {"ints", "{\"v\":[1,-2]}", "1;-2;"}, {"ints", "{\"v\":[1,2.0]}", "bad"},
        {"ints", "{\"v\":{}}", "bad"},
        {"time", "{\"v\":{\"year\":2024,\"month\":13,\"day\":1,\"hour\":0,\"minute\":0,\"second\":-1}}", "2024-13-1 0:0:-1"},
        {"time", "{\"v\":{\"year\":2024,\"month\":1,\"day\":1,\"hour\":0,\"minute\":0}}", "bad"},
        {"time", "{\"v\":{\"year\":2024,\"month\":1,\"day\":1.5,\"hour\":0,\"minute\":0,\"second\":0}}", "bad"},
    };
    for (const auto& c : cases)
    {
        Json::JsonCpp json;
        ASSERT_TRUE(json.Parse(c[1])) << c[1];
        EXPECT_EQ(c[2], read(c[0], json.GetDocument())) << c[0] << " " << c[1];
    }
}

TEST_F(WebDispatchTest, RelaysGoOnlyFromAMasterToAKnownSlave)
{
    EXPECT_EQ(1ull | 1ull << 40 | 1ull << 63, Fields::outletMask({0, 40, 63, 64, -1, 40}));
    ASSERT_NE(nullptr, Fields::findSlave(2));
    EXPECT_EQ(48, Fields::findSlave(2)->portCount);
    test::LogCapture log;
    EXPECT_EQ(nullptr, Fields::findSlave(9));
    EXPECT_FALSE(Fields::mayRelay(9));  // one relay class or two: the slave must be known
    EXPECT_EQ(2, log.count("no slave with addr:9"));
    EXPECT_TRUE(Fields::mayRelay(3));
    GlobalData::getDevice().isMaster = false;
    EXPECT_EQ(nullptr, Fields::findSlave(2));
    EXPECT_FALSE(Fields::mayRelay(2));
    EXPECT_EQ(2, log.count("not the master, request for addr:2 dropped"));
}
