#pragma once
#include <sys/types.h>

#include <string>

// Alarm and test mails through the external mail program, each started in
// a child process when MailQueue gives it its turn (one at a time). Alarm
// mails go to the enabled receivers of pdu.db and are recorded in
// email_records as their program starts; the table keeps its newest
// kMaxRecords rows. Loop thread only; no state of its own.
class Email
{
public:
    static constexpr const char* kPath = "/usr/app/email";
    static constexpr const char* kExe = "email";
    static constexpr const char* s_dbName = "/var/www/database/pdu.db";
    // As many as the event log keeps.
    static constexpr int kMaxRecords = 1000;

    // The alarm mail with the stored settings.
    static void sendEmail(const std::string& subject, const std::string& body);
    // The test mail with the settings of a request; nothing is recorded.
    // False when the queue has no place for it.
    static bool sendEmail(const std::string& server, int port, const std::string& userName,
                          const std::string& password, const std::string& receiver, const std::string& body);

    static void sendInputVoltageUpperLimitEmail();
    static void sendInputVoltageLowerLimitEmail();
    static void sendInputCurrentUpperLimitEmail();
    static void sendInputCurrentLowerLimitEmail();
    // outlet from 0; the body names it from 1.
    static void sendOutputCurrentUpperLimitEmail(int outlet);
    static void sendOutputCurrentLowerLimitEmail(int outlet);
    static void sendOutputCurrentOverloadEmail(int outlet);
    static void sendTempUpperLimitEmail();
    static void sendTempLowerLimitEmail();
    static void sendHumiUpperLimitEmail();
    static void sendHumiLowerLimitEmail();

private:
    struct Message
    {
        std::string server;
        std::string port;
        std::string userName;
        std::string password;
        std::string from;
        std::string to;
        std::string subject;
        std::string body;
    };

    // Starts the mail program and returns at once: the child's pid, or -1.
    static pid_t launch(const Message& message);
    // The row of an alarm mail whose program was started.
    static void record(const std::string& receivers, const std::string& body);
};
