#pragma once
#include <string>

// Alarm and test mails through the external mail program, started in a
// child process and never waited for (the daemon ignores SIGCHLD). Alarm
// mails go to the enabled receivers of pdu.db and are recorded in
// email_records. Loop thread only; no state between calls.
class Email
{
public:
    static constexpr const char* kPath = "/usr/app/email";
    static constexpr const char* kExe = "email";
    static constexpr const char* s_dbName = "/var/www/database/pdu.db";

    // The alarm mail with the stored settings.
    static void sendEmail(const std::string& subject, const std::string& body);
    // The test mail with the settings of a request; nothing is recorded.
    static void sendEmail(const std::string& server, int port, const std::string& userName,
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

    // Starts the mail program and returns at once.
    static void launch(const Message& message);
};
