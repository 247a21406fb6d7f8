#pragma once
#include <string>
#include <utility>
#include <vector>

namespace test
{
// Every limit of the device record that the alarm monitor could read (the
// inlet's, the environment's, each of the 8 outlets'), named, in a fixed
// order: "inlet warn upper voltage", ..., "lower humidity", "outlet 1 off
// lower", ...
typedef std::vector<std::pair<std::string, double>> RecordLimits;
RecordLimits recordLimits();
// The value of the limit named (NaN when there is none).
double limitOf(const RecordLimits& limits, const std::string& name);
// The limits with the one named changed to value.
RecordLimits withLimit(RecordLimits limits, const std::string& name, double value);
// One "name=value" line per limit, for comparisons that show what differs.
std::string listed(const RecordLimits& limits);
// A value as the tests write it into requests and read it from pdu.db.
std::string limitText(double value);
}
