#include "PmFirmware.h"

#include "PmReplyWriter.h"

namespace pmemu
{
PmFirmware::Bytes PmFirmware::answer(PmMeterModel& model, const PmRequest& request, bool& relayChanged)
{
    const std::vector<uint8_t>& p = request.payload;
    switch (request.command)
    {
    case 1:
    {
        const auto reading = model.reading(p[0]);
        return reading ? PmReplyWriter::meter(p[0], *reading) : Bytes();
    }
    case 2:
    {
        const uint8_t before = model.relayBits();
        const uint8_t result = model.switchRelay(p[0], p[1]);
        relayChanged = model.relayBits() != before;
        return PmReplyWriter::relay(p[0], p[1], result);
    }
    case 3:
        return PmReplyWriter::outputStatus(PmMeterModel::kOutlets, model.relayBits(), model.calibratedBits());
    case 4:
    {
        uint16_t v, c, w;
        model.caliParams(v, c, w);
        return PmReplyWriter::caliParams(v, c, w, 0);
    }
    case 5:
        model.setCaliParams(static_cast<uint16_t>(p[0] << 8 | p[1]), static_cast<uint16_t>(p[2] << 8 | p[3]),
                            static_cast<uint16_t>(p[4] << 8 | p[5]));
        return PmReplyWriter::transferResult(0);
    case 6:
        return PmReplyWriter::calibrateResult(p[0], model.calibrate(p[0]));
    default:
        return Bytes();
    }
}
}
