#pragma once

// Scale, width, signedness and no-reading code of every measurement on the
// byte wires, in both directions. Scaling to the wire truncates toward zero;
// unsigned encodings give 0 for negative values.
class DataConverter
{
public:
    static double VoltageIntToDouble(unsigned short value);
    static double CurrentIntToDouble(unsigned short value);
    static double PowerIntToDouble(unsigned int value);
    static double FactorIntToDouble(unsigned short value);
    static double EnergyIntToDouble(unsigned int value);
    static double TempIntToDouble(short value);
    static double HumiIntToDouble(unsigned short value);

    static unsigned short VoltageDoubleToInt(double value);
    static unsigned short CurrentDoubleToInt(double value);
    static unsigned int PowerDoubleToInt(double value);
    static unsigned short FactorDoubleToInt(double value);
    static unsigned int EnergyDoubleToInt(double value);
    static short TempDoubleToInt(double value);
    static unsigned short HumiDoubleToInt(double value);

    // 0xFFFF on the wire means "no delay given": -1 in memory.
    static int DelayNetToLocal(unsigned short value);
};
