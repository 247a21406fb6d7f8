#pragma once
#include <cstdint>
#include <vector>

#include "PmMeterModel.h"
#include "PmRequest.h"

namespace pmemu
{
// What the module's firmware does with one request: acts on the model and
// builds the reply (empty for none, as for a meter query of an unknown port).
class PmFirmware
{
public:
    using Bytes = std::vector<uint8_t>;

    // relayChanged: a relay command moved a relay.
    static Bytes answer(PmMeterModel& model, const PmRequest& request, bool& relayChanged);
};
}
