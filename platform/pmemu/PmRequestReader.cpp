#include "PmRequestReader.h"

namespace pmemu
{
int PmRequestReader::payloadLength(uint8_t command)
{
    switch (command)
    {
    case 1: return 1;  // meter query: port
    case 2: return 2;  // relay: port, action
    case 3: return 0;  // output status
    case 4: return 0;  // read calibration parameters
    case 5: return 6;  // write calibration parameters
    case 6: return 1;  // calibrate: port
    default: return -1;
    }
}

void PmRequestReader::feed(const uint8_t* data, size_t len, Clock::time_point when, std::vector<PmRequest>& out)
{
    if (state_ != State::Header && when - last_ >= std::chrono::milliseconds(500))
        reset();
    last_ = when;
    for (size_t i = 0; i < len; ++i)
    {
        const uint8_t byte = data[i];
        switch (state_)
        {
        case State::Header:
            if (byte == kHeader)
                state_ = State::Command;
            break;
        case State::Command:
        {
            const int length = payloadLength(byte);
            if (length < 0)
            {
                ++invalidCommands_;
                reset();
                break;
            }
            current_.command = byte;
            current_.payload.clear();
            remaining_ = length;
            sum_ = byte;
            state_ = State::Body;
            break;
        }
        case State::Body:
            if (remaining_ > 0)
            {
                current_.payload.push_back(byte);
                sum_ = static_cast<uint8_t>(sum_ + byte);
                --remaining_;
                break;
            }
            if (byte == sum_)
            {
                current_.received = when;
                out.push_back(current_);
            }
            else
                ++checksumErrors_;
            reset();
            break;
        }
    }
}
}
