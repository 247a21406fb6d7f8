#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace test
{
// What the alarm side leaves on a test's board: beeper requests, the SNMP
// mirror's words, event-log rows and the calls of the mail stand-in.
namespace alarm
{
using Mail = std::vector<std::string>;  // the mail program's arguments

// (count, on, off) of every request that reached /dev/beeper.
std::vector<std::vector<int32_t>> beeperRequests();

// The words of one mirror table as a separate viewer process reads them;
// empty when the tables cannot be read.
std::vector<int> mirrorTable(int table);
// Word 7 voltage, 8 current, 9 temperature, 10 humidity status.
int deviceStatusWord(int word);
int outletCurrentStatus(int outlet);

// "type|content" of every event-log row of pdu.db, oldest first.
std::vector<std::string> logRows();

// Copies the mail stand-in to the board's /usr/app/email, enables mail with
// one receiver and forgets earlier mails.
void installMailProgram();
// The recorded mails, once there are at least n (or after a few seconds).
std::vector<Mail> sentMails(size_t n);
// Waits (at most about 2 s) for the test process's children, such as mail
// children, to end and reaps them (the daemon itself ignores SIGCHLD).
void reapChildren();
}
}
