#pragma once
// The fixture of the shared device operations' tests: an in-process server over the power-module emulator.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "GlobalData.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"

class DeviceOperationsTest : public ::testing::Test
{
protected:
    static void sql(const std::string& s, const char* db = "pdu.db") { test::execSql(test::boardDatabase(db), s); }
    static std::string text(const std::string& s, const char* db = "pdu.db")
    {
        return test::queryText(test::boardDatabase(db), s);
    }
    static std::string outletRow(const char* table, const char* column, int port)
    {
        return text(std::string("select ") + column + " from " + table + " where port=" + std::to_string(port));
    }
    static _Device& device() { return GlobalData::getDevice(); }
    PduServer& build(const char* uid = "G020300000000001")
    {
        sql(std::string("update settings set value='") + uid + "' where name='hard_id'");
        PduServer& s = board_.build();
        s.getPowerModuleContainer()->startRead();
        return s;
    }
    bool relaysBecome(uint8_t bits, double seconds)
    {
        return board_.runUntil([&] { return board_.emulator().relayBits() == bits; }, seconds);
    }

    test::ServerBoard board_;
};
