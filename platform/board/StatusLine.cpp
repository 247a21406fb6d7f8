#include "StatusLine.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "../agentlink/AgentLinkLayout.h"
#include "../agentlink/AgentTableText.h"
#include "PmControlClient.h"
#include "SensorFeeder.h"

namespace
{
// "key=value" out of the emulator's status line.
std::string field(const std::string& status, const std::string& key)
{
    const size_t at = status.find(key + "=");
    if (at == std::string::npos)
        return "?";
    const size_t from = at + key.size() + 1;
    return status.substr(from, status.find(' ', from) - from);
}
}

StatusLine::StatusLine(std::string root, PmControlClient& control, const SensorFeeder* sensor, std::string label)
    : root_(std::move(root)), control_(control), sensor_(sensor), label_(std::move(label))
{
}

std::string StatusLine::compose()
{
    const std::string status = control_.command("status");
    double volts = 0, amps = 0, watts = 0;
    const bool known = std::sscanf(field(status, "voltage").c_str(), "%lf", &volts) == 1
                       && std::sscanf(field(status, "inlet").c_str(), "%lfA,%lfW", &amps, &watts) == 2;
    char text[160];
    if (known)
        std::snprintf(text, sizeof text, "outlets %s | inlet %.1f V %.2f A %.0f W", field(status, "relays").c_str(),
                      volts, amps, watts);
    else
        std::snprintf(text, sizeof text, "outlets ? | inlet ?");
    std::string line = (label_.empty() ? "" : label_ + ": ") + text;
    if (sensor_)
    {
        std::snprintf(text, sizeof text, " | %.1f C %.0f %%RH", sensor_->temperature(), sensor_->humidity());
        line += text;
    }
    return line + " | alarms: " + alarms();
}

void StatusLine::tick()
{
    const std::string line = compose();
    if (line == last_)
        return;
    last_ = line;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string StatusLine::alarms()
{
    const std::vector<int32_t> words = mirror();
    std::string out;
    auto add = [&out](const std::string& what, int status) {
        if (status != 0)
            out += (out.empty() ? "" : ", ") + what + " " + agentlink::AgentTableText::alarmLevel(status);
    };
    if (!words.empty())
    {
        add("voltage", words[7]);
        add("current", words[8]);
        add("temperature", words[9]);
        add("humidity", words[10]);
        const int outlets = agentlink::kTableWords[0];  // table 1 follows table 0
        for (int n = 0; n < 8; ++n)
            add("outlet " + std::to_string(n + 1), words[static_cast<size_t>(outlets + 7 * n + 5)]);
    }
    if (beeping())
        out += out.empty() ? "beeper on" : ", beeper on";
    return out.empty() ? "none" : out;
}

std::vector<int32_t> StatusLine::mirror()
{
    std::vector<int32_t> words;
    const int fd = ::shm_open(agentlink::segmentName(agentlink::normalizedRoot(root_.c_str())).c_str(), O_RDONLY, 0);
    if (fd < 0)
        return words;
    void* p = ::mmap(nullptr, sizeof(agentlink::Segment), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED)
        return words;
    const auto* segment = static_cast<const agentlink::Segment*>(p);
    if (__atomic_load_n(&segment->magic, __ATOMIC_ACQUIRE) == agentlink::kMagic)
        words.assign(segment->words, segment->words + agentlink::tableOffset(2));
    ::munmap(p, sizeof(agentlink::Segment));
    return words;
}

// The last request that reached the beeper: count -1 sounds until the next.
bool StatusLine::beeping()
{
    std::ifstream in(root_ + "/dev/beeper", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t record = 9 + 12;  // 'I', request, size, three ints
    if (bytes.size() < record)
        return false;
    const std::string last = bytes.substr(bytes.size() - record);
    int32_t count = 0;
    if (last[0] != 'I')
        return false;
    std::memcpy(&count, last.data() + 9, 4);
    return count == -1;
}
