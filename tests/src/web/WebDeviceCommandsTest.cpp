// Web codes 12-14, 16, 17, 20, 21, 26-29 and 38 on an in-process server: each answer and what it leaves on the
// board, the frame a relayed request puts on the cascade line (and for every command with an Ext twin, which of
// the two a slave of 31 or 32 outlets gets), and the requests dropped unanswered.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "DeviceClock.h"
#include "GlobalData.h"
#include "PduServer.h"
#include "PingTask.h"
#include "PingTaskContainer.h"
#include "ScheduledTask.h"
#include "ScheduledTaskContainer.h"
#include "cascade/processor/CascadeCtrlRelay.h"
#include "platform/core/BoardRoot.h"
#include "platform/pmemu/PmPty.h"
#include "support/AlarmProbe.h"
#include "support/ClockShift.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"
#include "support/TestFrames.h"
#include "web/web_processor/WebProcessor.h"

namespace
{
struct Step
{
    Step(std::string r, std::string a, std::function<std::string()> e = nullptr, std::string x = "")
        : request(std::move(r)), answer(std::move(a)), effect(std::move(e)), expected(std::move(x))
    {
    }
    std::string request;
    std::string answer;  // "dropped" when nothing is answered
    std::function<std::string()> effect;
    std::string expected;
};

class WebDeviceCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server_ = &board_.build();
        _Device& device = GlobalData::getDevice();
        device.isMaster = true;
        device.slaves[2].portCount = 8;
        device.slaves[3].portCount = 48;
        // hwclock and reboot stand-ins that record their calls.
        ::mkdir(board::path("/bin").c_str(), 0755);
        for (const char* name : {"/bin/hwclock", "/bin/reboot"})
        {
            std::ofstream(board::path(name)) << "#!/bin/sh\necho \"${0##*/} $*\" >> \"$RAILBOX_ROOT/calls\"\n";
            ::chmod(board::path(name).c_str(), 0755);
        }
        std::remove(board::path("/calls").c_str());
    }
    void TearDown() override { test::alarm::reapChildren(); }

    // The answer, "dropped", or for a relay its target and payload as they arrive on the cascade line.
    std::string ask(const std::string& request)
    {
        std::shared_ptr<web::WebProcessor> processor;
        const int result = server_->requestPaths().parseWeb(request, processor);
        std::string answer = result == 0 ? "dropped" : "";
        if (result == 1)
            processor->process(answer);
        if (result == 2)
            answer = onTheLine(*processor->relay());
        return answer;
    }
    std::string onTheLine(CascadeCtrl::CascadeCtrlRelay& relay)
    {
        relay.setSerialPort(server_->getCascadeSerialPort());
        relay.transferRemote();
        std::string bytes;
        test::Bytes payload;
        uint8_t address = 0;
        uint16_t sequence = 0;
        board_.runUntil([&] {
            char chunk[256];
            for (ssize_t n; (n = ::read(board_.cascadeLine().masterFd(), chunk, sizeof chunk)) > 0;)
                bytes.append(chunk, static_cast<size_t>(n));
            return test::decodeCascadeFrame(test::Bytes(bytes.begin(), bytes.end()), address, sequence, payload);
        }, 2);
        return "to " + std::to_string(address) + ": " + test::hexBytes(std::string(payload.begin(), payload.end()));
    }
    void run(const std::vector<Step>& steps)
    {
        for (const Step& step : steps)
        {
            EXPECT_EQ(step.answer, ask(step.request)) << step.request;
            EXPECT_EQ(step.expected, step.effect ? step.effect() : "") << step.request;
        }
    }
    static std::function<std::string()> sql(const std::string& query, const char* db = "pdu.db")
    {
        return [=] { return test::queryText(test::boardDatabase(db), query); };
    }
    static std::string calls()
    {
        std::ifstream in(board::path("/calls"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    test::ServerBoard board_;
    PduServer* server_ = nullptr;
};

const char* const kTask = R"("ports":[1,40],"action":1,"time":{"year":2030,"month":1,"day":2,"hour":3,"minute":4,"second":5},"repeat":258)";
const char* const kRow = "select ports||'|'||action||'|'||date||' '||time||'|'||repeat||'|'||remark from tasks where id=";
}

TEST_F(WebDeviceCommandsTest, ScheduledTasksKeepTableAndTimersInStep)
{
    const std::string add = std::string(R"({"request":27,"content":{)") + kTask;
    run({
        {R"({"request":26,"content":{}})", R"({"response":26,"result":0,"content":{"addr":0,"tasks":[]}})"},
        {add + R"(,"remark":"fifteen bytes..\u00e9 more"}})", R"({"response":27,"result":0,"content":{"addr":0,"id":1}})",
         sql(std::string(kRow) + "1"), "2|1|2030-01-02 03:04:05|2|fifteen bytes.."},
        {R"({"request":27,"content":{"ports":[1],"action":1,"repeat":2,"remark":null,"time":{"year":2031,"month":1,"day":1,"hour":0,"minute":0,"second":0}}})",
         R"({"response":27,"result":0,"content":{"addr":0,"id":2}})", sql(std::string(kRow) + "2"), "2|1|2031-01-01 00:00:00|2|"},
        {R"({"request":26,"content":{"end_date":{"year":2030,"month":12,"day":31,"hour":0,"minute":0,"second":0}}})",
         R"({"response":26,"result":0,"content":{"addr":0,"tasks":[{"id":1,"ports":[1],"action":1,"time":{"year":2030,"month":1,"day":2,"hour":3,"minute":4,"second":5},"repeat":2,"remark":"fifteen bytes.."}]}})"},
        {R"({"request":28,"content":{"id":1,"ports":[0],"action":0,"time":{"year":2030,"month":2,"day":3,"hour":4,"minute":5,"second":6},"repeat":1}})",
         R"({"response":28,"result":0})", sql(std::string(kRow) + "1"), "1|0|2030-02-03 04:05:06|1|"},
        {std::string(R"({"request":28,"content":{"id":99,)") + kTask + "}}", R"({"response":28,"result":-1})"},
        {R"({"request":29,"content":{"ids":[1,99]}})", R"({"response":29,"result":-1})", sql("select count(*) from tasks"), "2"},
        {R"({"request":29,"content":{"ids":[]}})", R"({"response":29,"result":0})"},
        {R"({"request":29,"content":{"ids":[2]}})", R"({"response":29,"result":0})", sql("select group_concat(id) from tasks"), "1"},
    });
    ScheduledTaskContainer& tasks = *server_->getScheduledTaskContainer();
    ASSERT_TRUE(tasks.find(1) && !tasks.find(2));
    EXPECT_TRUE(tasks.find(1)->armed());
    EXPECT_EQ(1u, tasks.find(1)->ports());
}

TEST_F(WebDeviceCommandsTest, ClockEnergyRebootAndMailActOnTheBoard)
{
    test::ClockShift shift;
    test::alarm::installMailProgram();
    test::execSql(test::boardDatabase("energy.db"), "update variable set real_energy=500; insert into statistics values(0, 5, '2030-01-01 00')");
    auto now = [] {
        const _DeviceDateTime t = DeviceClock::now();
        return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) + " " + calls();
    };
    run({
        {R"({"request":12,"content":{"addr":3,"time":{"year":2032,"month":1,"day":1,"hour":8,"minute":30,"second":0}}})",
         R"({"response":12,"result":0})", now, "2032-1-1 hwclock -w\n"},
        {R"({"request":12,"content":{"time":{"year":-2147483648,"month":1,"day":1,"hour":0,"minute":0,"second":0}}})",
         R"({"response":12,"result":-1})", now, "2032-1-1 hwclock -w\n"},
        {R"({"request":13,"content":{}})", R"({"response":13,"result":0})",
         sql("select sum(real_energy)||'|'||(select count(*) from statistics) from variable", "energy.db"), "0|0"},
        {R"({"request":14,"content":{"addr":0}})", R"({"response":14,"result":0})", calls, "hwclock -w\nreboot \n"},
        {R"({"request":16,"content":{"smtp_server":"smtp.example.org","smtp_port":465,"user":"ann","password":"p w","receiver":"bob@example.org","content":"Hi \"there\"","addr":1}})",
         R"({"response":16,"result":0})"},
    });
    EXPECT_EQ((test::alarm::Mail{"--server=smtp.example.org", "--port=465", "--user=ann", "--pass=p w", "--from=#,ann",
                                 "--to=#,bob@example.org", "--subject=IP PDU Test", "--body=Hi \"there\""}),
              test::alarm::sentMails(1).at(0));
}

TEST_F(WebDeviceCommandsTest, PingWatchdogsAndTests)
{
    const std::string set = R"({"request":17,"content":{"set":[)";
    const std::string query = R"({"request":38,"content":{"ports":[5,5,9]}})";
    const std::string five = R"({"port":5,"ip":"127.0.0.1","interval":30,"timeout":3,"action":0,"enabled":1})";
    run({
        {query, R"({"response":38,"result":0,"content":{"addr":0,"sets":[]}})"},
        {set + five + R"(,{"port":5,"ip":"10.0.0.9","interval":1,"timeout":1,"action":1,"enabled":0},)"
               R"({"port":"1","ip":"10.0.0.1","interval":40,"timeout":2,"action":2,"enabled":0}]}})",
         R"({"response":17,"result":0})", sql("select group_concat(ip||'|'||interval||'|'||enabled, ';') from ping where ip<>''"),
         "10.0.0.1|40|0;127.0.0.1|30|1"},
        {query, R"({"response":38,"result":0,"content":{"addr":0,"sets":[)" + five + "," + five + "]}}"},
        {set + R"({"port":0,"ip":"10.0.0.2","interval":1,"timeout":1,"action":1,"enabled":1},)"
               R"({"port":9,"ip":"10.0.0.2","interval":1,"timeout":1,"action":1,"enabled":1}]}})",
         R"({"response":17,"result":-1})", sql("select ip from ping where port=0"), "10.0.0.1"},
        {R"({"request":20,"content":{"port":2,"ip":"127.0.0.1"}})", R"({"response":20,"result":0})"},
        {R"({"request":21,"content":{"port":2}})", R"({"response":21,"result":-1})"},
        {R"({"request":20,"content":{"port":8,"ip":"127.0.0.1"}})", R"({"response":20,"result":-1})"},
        {R"({"request":21,"content":{"port":-2147483648}})", R"({"response":21,"result":-1})"},
    });
    PingTaskContainer& pings = *server_->getPingTaskContainer();
    EXPECT_TRUE(pings.find(5) && pings.find(5)->periodic() && !pings.find(0) && !pings.find(8));
    EXPECT_TRUE(board_.runUntil([&] { return ask(R"({"request":21,"content":{"port":2}})") == R"({"response":21,"result":0})"; }, 4));
}

TEST_F(WebDeviceCommandsTest, RequestsForASlaveTravelOnTheCascadeLine)
{
    const std::string time = R"("time":{"year":2024,"month":5,"day":1,"hour":0,"minute":30,"second":0})";
    const std::string ping = R"({"port":1,"ip":"10.0.0.1","interval":30,"timeout":3,"action":2,"enabled":1})";
    const std::vector<std::pair<std::string, std::string>> relayed = {
        {R"({"request":26,"content":{"addr":2,"end_date":{"year":2030,"month":6,"day":1,"hour":8,"minute":0,"second":0}}})",
         "to 2: 10 FF FF FF FF FF FF 1E 06 01 08 00 00"},
        {R"({"request":27,"content":{"addr":3,"ports":[0,40],"action":2,"repeat":258,"remark":"rack",)" + time + "}}",
         "to 3: 27 00 00 01 00 00 00 00 01 02 18 05 01 00 1E 00 02 72 61 63 6B 00 00 00 00 00 00 00 00 00 00 00 00"},
        {R"({"request":28,"content":{"addr":2,"id":7,"ports":[1,40],"action":0,"repeat":0,)" + time + "}}",
         "to 2: 12 00 00 00 07 00 00 00 02 00 18 05 01 00 1E 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {R"({"request":29,"content":{"addr":2,"ids":[5,-1]}})", "to 2: 13 00 02 00 00 00 05 FF FF FF FF"},
        {R"({"request":13,"content":{"addr":3}})", "to 3: 16"},
        {R"({"request":17,"content":{"addr":2,"set":[)" + ping + "]}}", "to 2: 1B 00 00 00 02 0A 00 00 01 1E 03 02 01"},
        {R"({"request":17,"content":{"addr":3,"set":[)" + ping + "]}}", "to 3: 2A 00 00 00 00 00 00 00 02 0A 00 00 01 1E 03 02 01"},
        {R"({"request":20,"content":{"addr":2,"port":4,"ip":"192.168.0.1"}})", "to 2: 1C 04 C0 A8 00 01"},
        {R"({"request":21,"content":{"addr":2,"port":255}})", "to 2: 1D FF"},
        {R"({"request":38,"content":{"addr":2,"ports":[0,40]}})", "to 2: 1E 00 00 00 01"},
        {R"({"request":38,"content":{"addr":3,"ports":[0,40]}})", "to 3: 2B 00 00 01 00 00 00 00 01"},
    };
    for (const auto& r : relayed)
        EXPECT_EQ(r.second, ask(r.first)) << r.first;
    // Neither an unknown slave nor any slave of a unit that is not the master is reached.
    for (const char* unknown : {"\"addr\":9", "\"addr\":2"})
    {
        for (const auto& r : relayed)
        {
            std::string request = r.first;
            request.replace(request.find("\"addr\":"), 8, unknown);
            EXPECT_EQ("dropped", ask(request)) << request;
        }
        GlobalData::getDevice().isMaster = false;
    }
}

TEST_F(WebDeviceCommandsTest, MalformedRequestsAreDroppedUnanswered)
{
    const char* const malformed[] = {
        // scheduled tasks
        R"({"request":26})", R"({"request":26,"content":{"addr":"2"}})",
        R"({"request":26,"content":{"start_date":{"year":2024,"month":1,"day":1,"hour":0,"minute":0}}})",
        R"({"request":26,"content":{"end_date":{"year":2024,"month":1,"day":1.5,"hour":0,"minute":0,"second":0}}})",
        R"({"request":27,"content":{"ports":[1],"action":1,"repeat":0}})",
        R"({"request":27,"content":{"ports":["1"],"action":1,"repeat":0,"time":{"year":2024,"month":1,"day":1,"hour":0,"minute":0,"second":0}}})",
        R"({"request":27,"content":{"ports":[1],"action":1,"repeat":0,"remark":5,"time":{"year":2024,"month":1,"day":1,"hour":0,"minute":0,"second":0}}})",
        R"({"request":27,"content":{"ports":[1],"action":1,"repeat":0,"time":{"year":-2147483648,"month":1,"day":1,"hour":0,"minute":0,"second":0}}})",
        R"({"request":28,"content":{"ports":[1],"action":1,"repeat":0,"time":{"year":2024,"month":1,"day":1,"hour":0,"minute":0,"second":0}}})",
        R"({"request":29,"content":{"ids":5}})", R"({"request":29,"content":{"ids":[4294967296]}})",
        // clock, energy, reboot, mail
        R"({"request":12,"content":{"time":{"year":2024,"month":"5","day":1,"hour":0,"minute":0,"second":0}}})",
        R"({"request":12,"content":{}})", R"({"request":13,"content":{"addr":1.5}})", R"({"request":14})",
        R"({"request":14,"content":{"addr":3}})",
        R"({"request":16,"content":{"smtp_server":"s","smtp_port":"25","user":"u","password":"p","receiver":"r","content":"c"}})",
        R"({"request":16,"content":{"smtp_server":"s","smtp_port":25,"user":"u","password":"p","receiver":"r"}})",
        // ping watchdogs
        R"({"request":17,"content":{"set":[{"port":1,"ip":"10.0.0.1","interval":-1,"timeout":1,"action":0,"enabled":1}]}})",
        R"({"request":17,"content":{"set":[{"port":1,"ip":"10.0.0.1","interval":2.5,"timeout":1,"action":0,"enabled":1}]}})",
        R"({"request":17,"content":{"set":[{"port":1,"ip":"300.0.0.1","interval":1,"timeout":1,"action":0,"enabled":1}]}})",
        R"({"request":17,"content":{"set":[5]}})", R"({"request":17,"content":{"set":{}}})",
        R"({"request":20,"content":{"port":1,"ip":"not.an.address"}})", R"({"request":20,"content":{"port":"1","ip":"10.0.0.1"}})",
        R"({"request":21,"content":{}})", R"({"request":38,"content":{"ports":[1.5]}})",
    };
    for (const char* request : malformed)
        EXPECT_EQ("dropped", ask(request)) << request;
    // Well formed, for a slave, but beyond what the cascade line carries:
    // refused, and answered so.
    const char* const refused[][2] = {
        {R"({"request":27,"content":{"addr":2,"ports":[1],"action":1,"repeat":0,"time":{"year":2200,"month":1,"day":1,"hour":0,"minute":0,"second":0}}})",
         R"({"response":27,"result":-1})"},
        {R"({"request":17,"content":{"addr":2,"set":[{"port":1,"ip":"10.0.0.1","interval":300,"timeout":1,"action":0,"enabled":1}]}})",
         R"({"response":17,"result":-1})"},
        {R"({"request":20,"content":{"addr":2,"port":256,"ip":"10.0.0.1"}})", R"({"response":20,"result":-1})"},
        {R"({"request":21,"content":{"addr":2,"port":-1}})", R"({"response":21,"result":-1})"},
    };
    for (const auto& r : refused)
        EXPECT_EQ(r[1], ask(r[0])) << r[0];
    EXPECT_EQ("", calls());
    EXPECT_EQ("0", test::queryText(test::boardDatabase("pdu.db"), "select count(*) from tasks"));
}

TEST_F(WebDeviceCommandsTest, ASlaveWithMoreThanThirtyOneOutletsGetsTheExtCommand)
{
    const std::string time = R"("time":{"year":2024,"month":5,"day":1,"hour":0,"minute":30,"second":0})";
    const struct
    {
        std::string request;
        const char* narrow;  // the payload's code byte for a slave of 31 outlets
        const char* wide;    // and of 32
    } twins[] = {
        {R"({"request":2,"content":{"addr":5,"ports":[0],"action":1}})", "02", "20"},
        {R"({"request":4,"content":{"addr":5,"threshold":[{"port":0,"warn_upper_current":5}]}})", "09", "24"},
        {R"({"request":11,"content":{"addr":5,"delay":[{"port":0,"on":5}]}})", "0F", "25"},
        {R"({"request":17,"content":{"addr":5,"set":[{"port":0,"ip":"10.0.0.1","interval":30,"timeout":3,)"
         R"("action":2,"enabled":1}]}})", "1B", "2A"},
        {R"({"request":26,"content":{"addr":5,"end_date":{"year":2030,"month":6,"day":1,"hour":8,"minute":0,)"
         R"("second":0}}})", "10", "26"},
        {R"({"request":27,"content":{"addr":5,"ports":[0],"action":1,"repeat":0,"remark":"x",)" + time + "}}", "11",
         "27"},
        {R"({"request":28,"content":{"addr":5,"id":7,"ports":[0],"action":0,"repeat":0,)" + time + "}}", "12", "28"},
        {R"({"request":30,"content":{"addr":5,"port_names":[{"port":0,"name":"W"}]}})", "04", "22"},
        {R"({"request":38,"content":{"addr":5,"ports":[0]}})", "1E", "2B"},
    };
    for (int outlets : {31, 32})
    {
        GlobalData::getDevice().slaves[5].portCount = outlets;
        for (const auto& t : twins)
        {
            const std::string code = outlets > 31 ? t.wide : t.narrow;
            EXPECT_EQ("to 5: " + code, ask(t.request).substr(0, 8)) << outlets << " outlets: " << t.request;
        }
    }
}
