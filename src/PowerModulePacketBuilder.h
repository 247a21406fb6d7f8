#pragma once

// Writes the power module's request frames into a caller's buffer. Each
// function returns the frame length, or -1 without writing anything when the
// buffer is too small.
class PowerModulePacketBuilder
{
public:
    static int buildPacket(unsigned char* out, int size, unsigned char cmd, const unsigned char* data, int len);
    static int buildMeterDataQueryPacket(unsigned char* out, int size, int port);
    static int buildRelayControlPacket(unsigned char* out, int size, int port, unsigned char action);
    static int buildOutputStatusQueryPacket(unsigned char* out, int size);
    static int buildRequestCaliParamPacket(unsigned char* out, int size);
    static int buildTransferCaliParamPacket(unsigned char* out, int size, unsigned short caliVoltage,
                                            unsigned short caliCurrent, unsigned short caliPower);
    static int buildStartCalibrate(unsigned char* out, int size, int port);
};
