#include "CascadeLineLog.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace
{
const size_t kHeader = 13;
const int kStatus = 7;
const int kStatusExt = 35;
}

void CascadeLineLog::read(const std::string& file)
{
    std::ifstream in(file);
    in.seekg(static_cast<std::streamoff>(offset_));
    std::string line;
    while (std::getline(in, line) && !in.eof())
    {
        add(line);
        offset_ += line.size() + 1;
    }
}

void CascadeLineLog::add(const std::string& line)
{
    std::istringstream in(line);
    std::string date, time, word, arrow;
    size_t end = 0;
    if (!(in >> date >> time >> word >> end >> arrow) || word != "end" || arrow != ">" || time.size() < 8)
        return;
    const double at =
        std::stod(time.substr(0, 2)) * 3600 + std::stod(time.substr(3, 2)) * 60 + std::stod(time.substr(6));
    if (streams_.size() <= end)
        streams_.resize(end + 1);
    Stream& s = streams_[end];
    if (s.bytes.empty())
        s.first = at;
    for (std::string hex; in >> hex;)
        s.bytes.push_back(static_cast<uint8_t>(std::stoi(hex, nullptr, 16)));
    while (s.bytes.size() >= kHeader)
    {
        if (s.bytes[0] != 0xA5)
        {
            s.bytes.erase(s.bytes.begin());  // not a frame start: skip a byte
            continue;
        }
        const size_t n = (size_t(s.bytes[5]) << 24) | (size_t(s.bytes[6]) << 16) | (size_t(s.bytes[7]) << 8) |
                         s.bytes[8];
        if (s.bytes.size() < kHeader + n)
            break;
        Frame f;
        f.end = end;
        f.first = s.first;
        f.last = at;
        f.address = s.bytes[1];
        f.sequence = (s.bytes[2] << 8) | s.bytes[3];
        f.code = n > 0 ? s.bytes[kHeader] : -1;
        f.bytes = kHeader + n;
        frames_.push_back(f);
        s.bytes.erase(s.bytes.begin(), s.bytes.begin() + long(kHeader + n));
        s.first = at;
    }
}

long CascadeLineLog::answerTo(size_t i) const
{
    for (size_t j = i + 1; j < frames_.size(); ++j)
        if (frames_[j].end != frames_[i].end && frames_[j].sequence == frames_[i].sequence)
            return static_cast<long>(j);
    return -1;
}

CascadeLineLog::PollFigures CascadeLineLog::polls(double pauseSeconds) const
{
    std::vector<double> exchange, wire, ratio, period;
    double lastPoll = -1;
    for (size_t i = 0; i < frames_.size(); ++i)
    {
        const Frame& poll = frames_[i];
        if (poll.end != 0 || (poll.code != kStatus && poll.code != kStatusExt))
            continue;
        if (lastPoll >= 0)
            period.push_back(poll.first - lastPoll);
        lastPoll = poll.first;
        const long a = answerTo(i);
        if (a < 0)
            continue;
        // The master's next frame: a poll after the pause, not a relay.
        size_t next = static_cast<size_t>(a) + 1;
        while (next < frames_.size() && frames_[next].end != 0)
            ++next;
        if (next >= frames_.size() || (frames_[next].code != kStatus && frames_[next].code != kStatusExt))
            continue;
        const double e = frames_[next].first - poll.first - pauseSeconds;
        const double w = wireSeconds(poll.bytes + frames_[size_t(a)].bytes);
        exchange.push_back(e * 1000);
        wire.push_back(w * 1000);
        ratio.push_back(e / w);
    }
    PollFigures f;
    f.polls = ratio.size();
    f.exchangeMs = median(exchange);
    f.wireMs = median(wire);
    f.ratio = median(ratio);
    f.periodMs = median(period) * 1000;
    return f;
}

double CascadeLineLog::median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}
