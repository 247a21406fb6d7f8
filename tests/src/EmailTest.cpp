#include "Email.h"
#include "MailQueue.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "muduo/net/EventLoop.h"
#include "platform/core/BoardRoot.h"
#include "support/AlarmProbe.h"
#include "support/LogCapture.h"
#include "support/LoopUntil.h"
#include "support/StoreFixture.h"

namespace
{
using Args = test::alarm::Mail;

pid_t g_parent = 0;

class EmailTest : public test::StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        test::alarm::installMailProgram();
        sql("delete from email_settings");
        sql("delete from email_receivers");
        sql("insert into email_settings(status, host, port, username, password, address) "
            "values(1, 'smtp.example.net', 587, 'ops', 's3cret', 'pdu@example.net')");
        MailQueue::instance().attach(&loop_);
    }
    void TearDown() override
    {
        idle();
        MailQueue::instance().detach();
        test::alarm::reapChildren();
    }

    static std::string program() { return board::path(Email::kPath); }
    // Runs the loop until every mail handed over has had its program run.
    bool idle()
    {
        return test::loopUntil(
            loop_, [] { return !MailQueue::instance().running() && MailQueue::instance().waiting() == 0; }, 10);
    }
    std::vector<Args> mails(size_t n)
    {
        idle();
        return test::alarm::sentMails(n);
    }
    // True when no mail child was started since the last reaping.
    static bool noChild()
    {
        errno = 0;
        return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
    }
    static std::string records() { return test::queryText(pdu(), "select count(*) from email_records"); }
    // Waits for the mail child to end, leaving it to the queue to reap: the
    // next mail then starts at once instead of at the queue's next look.
    static bool childEnded()
    {
        siginfo_t info = {};
        return ::waitid(P_ALL, 0, &info, WEXITED | WNOWAIT) == 0;
    }

    muduo::net::EventLoop loop_;
};
}

TEST_F(EmailTest, AlarmMailGoesToEnabledReceiversAndIsRecorded)
{
    sql("insert into email_receivers(status, name, email) values(1, '', 'a@example.net'), "
        "(0, 'Off', 'off@example.net'), (1, 'Bob', 'b@example.net')");
    Email::sendOutputCurrentOverloadEmail(0);
    std::vector<Args> sent = mails(1);
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(Args({"--server=smtp.example.net", "--port=587", "--user=ops", "--pass=s3cret",
                    "--from=ops,pdu@example.net", "--to=#,a@example.net;Bob,b@example.net",
                    "--subject=Output current overload!", "--body=The output current of port 1 is overload!"}),
              sent[0]);
    EXPECT_EQ("1", records());
    EXPECT_EQ("0", test::queryText(pdu(), "select status from email_records"));
    EXPECT_EQ("a@example.net;b@example.net", test::queryText(pdu(), "select receivers from email_records"));
    EXPECT_EQ("The output current of port 1 is overload!", test::queryText(pdu(), "select body from email_records"));
    EXPECT_EQ(19u, test::queryText(pdu(), "select datetime from email_records").size());
}

TEST_F(EmailTest, EveryAlarmHasItsSubjectAndBody)
{
    sql("insert into email_receivers(status, name, email) values(1, 'Ann', 'ann@example.net')");
    const struct
    {
        void (*send)();
        const char* subject;
        const char* body;
    } alarms[] = {
        {Email::sendInputVoltageUpperLimitEmail, "Input voltage warning!", "The input voltage exceeds upper limit!"},
        {Email::sendInputVoltageLowerLimitEmail, "Input voltage warning!", "The input voltage is under lower limit!"},
        {Email::sendInputCurrentUpperLimitEmail, "Input current warning!", "The input current exceeds upper limit!"},
        {Email::sendInputCurrentLowerLimitEmail, "Input current warning!", "The input current is under lower limit!"},
        {[] { Email::sendOutputCurrentUpperLimitEmail(3); }, "Output current warning!",
         "The output current of port 4 exceeds upper limit!"},
        {[] { Email::sendOutputCurrentLowerLimitEmail(7); }, "Output current warning!",
         "The output current of port 8 is under lower limit!"},
        {[] { Email::sendOutputCurrentOverloadEmail(5); }, "Output current overload!",
         "The output current of port 6 is overload!"},
        {Email::sendTempUpperLimitEmail, "Temperature warning!", "The temperature exceeds upper limit!"},
        {Email::sendTempLowerLimitEmail, "Temperature warning!", "The temperature is under lower limit!"},
        {Email::sendHumiUpperLimitEmail, "Humidity warning!", "The humidity exceeds upper limit!"},
        {Email::sendHumiLowerLimitEmail, "Humidity warning!", "The humidity is under lower limit!"},
    };
    size_t n = 0;
    for (const auto& a : alarms)
    {
        SCOPED_TRACE(a.body);
        a.send();
        std::vector<Args> sent = mails(++n);
        ASSERT_EQ(n, sent.size());
        ASSERT_EQ(8u, sent.back().size());
        EXPECT_EQ(std::string("--subject=") + a.subject, sent.back()[6]);
        EXPECT_EQ(std::string("--body=") + a.body, sent.back()[7]);
    }
    EXPECT_EQ(std::to_string(n), records());
}

TEST_F(EmailTest, EmptyUserNameGivesHashSender)
{
    sql("update email_settings set username=''");
    sql("insert into email_receivers(status, name, email) values(1, 'Ann', 'ann@example.net')");
    Email::sendTempUpperLimitEmail();
    std::vector<Args> sent = mails(1);
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ("--user=", sent[0][2]);
    EXPECT_EQ("--from=#,pdu@example.net", sent[0][4]);
}

TEST_F(EmailTest, NothingIsSentWhenMailIsOffOrHasNoReceiverOrSettings)
{
    sql("insert into email_receivers(status, name, email) values(0, 'Ann', 'ann@example.net')");
    Email::sendHumiUpperLimitEmail();  // no enabled receiver
    EXPECT_TRUE(noChild());
    sql("update email_receivers set status=1");
    sql("update email_settings set status=0");
    Email::sendHumiUpperLimitEmail();  // mail switched off
    EXPECT_TRUE(noChild());
    sql("delete from email_settings");
    test::LogCapture log;
    Email::sendHumiUpperLimitEmail();
    EXPECT_TRUE(log.contains("query failed"));
    EXPECT_TRUE(noChild());
    EXPECT_EQ("0", records());
}

TEST_F(EmailTest, MissingProgramWarnsAndSendsNothing)
{
    sql("insert into email_receivers(status, name, email) values(1, 'Ann', 'ann@example.net')");
    ASSERT_EQ(0, std::remove(program().c_str()));
    test::LogCapture log;
    Email::sendTempLowerLimitEmail();
    EXPECT_TRUE(log.contains("path not exists:/usr/app/email"));
    EXPECT_TRUE(noChild());
    EXPECT_EQ("0", records());
}

TEST_F(EmailTest, TestMailUsesTheGivenSettingsAndRecordsNothing)
{
    Email::sendEmail("mx.example.org", 25, "tester", "pw", "rx@example.org", "hello");
    std::vector<Args> sent = mails(1);
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(Args({"--server=mx.example.org", "--port=25", "--user=tester", "--pass=pw", "--from=#,tester",
                    "--to=#,rx@example.org", "--subject=IP PDU Test", "--body=hello"}),
              sent[0]);
    EXPECT_EQ("0", records());
}

// A child whose exec fails must end without the parent's exit handlers
// (which, in the daemon, delete the SNMP agent's shared memory).
TEST_F(EmailTest, FailedExecEndsChildWithoutExitHandlers)
{
    sql("insert into email_receivers(status, name, email) values(1, 'Ann', 'ann@example.net')");
    ::chmod(program().c_str(), 0644);  // present, but exec fails
    const std::string marker = board::path("/exit-handler-ran");
    static std::string s_marker;
    s_marker = marker;
    g_parent = ::getpid();
    std::atexit([] {
        if (::getpid() != g_parent)
            std::ofstream(s_marker) << "ran";
    });
    Email::sendTempLowerLimitEmail();
    int status = -1;
    ASSERT_GT(::waitpid(-1, &status, 0), 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_NE(0, ::access(marker.c_str(), F_OK));
    EXPECT_EQ("1", records());  // the parent still records the mail
}

TEST_F(EmailTest, TheRecordsKeepTheNewestThousandRows)
{
    sql("insert into email_receivers(status, name, email) values(1, 'Ann', 'ann@example.net')");
    // A table already full from months of alarms.
    sql("with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000) "
        "insert into email_records select null, 0, 'old@example.net', 'old', datetime('now') from n");
    for (int i = 0; i < 5; ++i)
    {
        Email::sendTempUpperLimitEmail();
        ASSERT_TRUE(childEnded()) << "alarm " << i;
    }
    EXPECT_EQ(5u, mails(5).size());
    EXPECT_EQ("1000", records());
    EXPECT_EQ("6 1005", test::queryText(pdu(), "select min(id)||' '||max(id) from email_records"));
}

TEST_F(EmailTest, AMailIsRecordedWhenItsProgramStartsAndOneTheQueueRefusesNever)
{
    sql("insert into email_receivers(status, name, email) values(1, 'Ann', 'ann@example.net')");
    // A mail program that hangs until the test lets it go.
    const std::string go = board::path("/usr/app/go");
    std::ofstream(program(), std::ios::trunc) << "#!/bin/sh\nwhile [ ! -e '" << go << "' ]; do sleep 0.05; done\n";
    const size_t places = MailQueue::kAlarmPlaces;
    for (size_t i = 0; i < 1 + places + 3; ++i)
        Email::sendHumiUpperLimitEmail();
    EXPECT_TRUE(MailQueue::instance().running());
    EXPECT_EQ(places, MailQueue::instance().waiting());
    EXPECT_EQ("1", records());

    std::ofstream(go) << "go";
    ASSERT_TRUE(test::loopUntil(
        loop_, [] { return !MailQueue::instance().running() && MailQueue::instance().waiting() == 0; }, 120));
    EXPECT_EQ(std::to_string(1 + places), records());
}
