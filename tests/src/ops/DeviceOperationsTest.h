#pragma once
// The fixture of the shared device operations' tests: an in-process server over the power-module emulator.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "GlobalData.h"
#include "PduServer.h"
#include "PowerModuleContainer.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/ServerBoard.h"
#include "support/TestDatabases.h"

class DeviceOperationsTest : public ::testing::Test
{
protected:
    typedef std::vector<std::pair<int, int>> Frames;  // relay frames as (outlet, action), in the order received

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
    // The relay frames since the last call, once n came and a moment passed for any beyond them.
    Frames relayFrames(size_t n)
    {
        Frames frames;
        auto collect = [&] {
            frames.clear();
            for (const pmemu::PmRequest& r : board_.emulator().requests())
                if (r.command == 2 && r.payload.size() == 2)
                    frames.push_back({r.payload[0], r.payload[1]});
            return frames.size() >= n;
        };
        board_.runUntil(collect, 3);
        board_.runUntil([&] { collect(); return false; }, 0.3);
        board_.emulator().clearRequests();
        return frames;
    }

    test::ServerBoard board_;
};
