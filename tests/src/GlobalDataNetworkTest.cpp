#include <SQLiteCpp/Database.h>

#include <cstring>

#include "GlobalData.h"
#include "Utility.h"
#include "support/StoreFixture.h"

namespace
{
using GlobalDataNetworkTest = test::StoreFixture;

_DeviceNetwork sample()
{
    _DeviceNetwork n;
    n.ip = Utility::makeIp(10, 1, 2, 3);
    n.mask = Utility::makeIp(255, 255, 0, 0);
    n.gateway = Utility::makeIp(10, 1, 0, 1);
    n.dhcp = 1;
    const char mac[6] = {0x0A, static_cast<char>(0xB0), 0x00, static_cast<char>(0xFF), 0x10, 0x01};
    std::memcpy(n.mac, mac, 6);
    n.netbiosName = "rack-7";
    n.httpPort = 8080;
    n.httpsPort = 8443;
    n.enableRedirect = 1;
    return n;
}

bool loadBlock(std::vector<_DeviceNetwork>& out) { return GlobalData::loadDeviceNetworkSettingFromDb(out); }
}

TEST_F(GlobalDataNetworkTest, FactoryBlock)
{
    _DeviceNetworkSetting s;
    s.manageControlPort = 1;
    ASSERT_TRUE(GlobalData::loadDeviceNetworkSettingFromDb(s));
    ASSERT_EQ(1u, s.networks.size());
    const _DeviceNetwork& n = s.networks[0];
    EXPECT_EQ(0, n.index);
    EXPECT_EQ(Utility::makeIp(192, 168, 0, 100), n.ip);
    EXPECT_EQ(Utility::makeIp(255, 255, 255, 0), n.mask);
    EXPECT_EQ(Utility::makeIp(192, 168, 0, 1), n.gateway);
    EXPECT_EQ(0, n.dhcp);
    EXPECT_EQ(0, std::memcmp(n.mac, "\x02\x00\x00\x00\x00\x01", 6));
    EXPECT_EQ("PDU", n.netbiosName);
    EXPECT_EQ(80, n.httpPort);
    EXPECT_EQ(443, n.httpsPort);
    EXPECT_EQ(0, n.enableRedirect);
    EXPECT_EQ(8890, s.manageControlPort);
}

TEST_F(GlobalDataNetworkTest, BlockSaveThenLoadRoundTrip)
{
    _DeviceNetworkSetting s;
    s.networks = {sample(), _DeviceNetwork()};  // only the first entry is written
    s.manageControlPort = 9000;
    ASSERT_TRUE(GlobalData::saveDeviceNetworkSettingToDb(s));
    EXPECT_EQ("10.1.2.3", setting("ip"));
    EXPECT_EQ("0A:B0:00:FF:10:01", setting("mac"));
    EXPECT_EQ("1", setting("dhcp"));
    EXPECT_EQ("8443", setting("https_port"));

    _DeviceNetworkSetting back;
    ASSERT_TRUE(GlobalData::loadDeviceNetworkSettingFromDb(back));
    ASSERT_EQ(1u, back.networks.size());
    const _DeviceNetwork& n = back.networks[0];
    const _DeviceNetwork want = sample();
    EXPECT_EQ(want.ip, n.ip);
    EXPECT_EQ(want.mask, n.mask);
    EXPECT_EQ(want.gateway, n.gateway);
    EXPECT_EQ(want.dhcp, n.dhcp);
    EXPECT_EQ(0, std::memcmp(want.mac, n.mac, 6));
    EXPECT_EQ(want.netbiosName, n.netbiosName);
    EXPECT_EQ(want.httpPort, n.httpPort);
    EXPECT_EQ(want.httpsPort, n.httpsPort);
    EXPECT_EQ(want.enableRedirect, n.enableRedirect);
    EXPECT_EQ(9000, back.manageControlPort);
}

TEST_F(GlobalDataNetworkTest, BlockSaveCreatesMissingRowsAndRefusesEmptyList)
{
    sql("delete from settings");
    EXPECT_FALSE(GlobalData::saveNetworkDhcpToDb(true));
    EXPECT_FALSE(GlobalData::saveDeviceNetworkSettingToDb(std::vector<_DeviceNetwork>{}));
    EXPECT_EQ("<none>", setting("ip"));
    ASSERT_TRUE(GlobalData::saveDeviceNetworkSettingToDb(std::vector<_DeviceNetwork>{sample()}));
    EXPECT_EQ("1", setting("dhcp"));
    EXPECT_EQ("<none>", setting("manage_control_port"));
}

TEST_F(GlobalDataNetworkTest, MissingKeysLeaveFieldsUnset)
{
    sql("delete from settings");
    _DeviceNetworkSetting s;
    ASSERT_TRUE(GlobalData::loadDeviceNetworkSettingFromDb(s));
    ASSERT_EQ(1u, s.networks.size());
    EXPECT_EQ(0u, s.networks[0].ip);
    EXPECT_EQ(0, std::memcmp(s.networks[0].mac, "\0\0\0\0\0\0", 6));
    EXPECT_EQ(0, s.networks[0].httpPort);
    EXPECT_EQ(8890, s.manageControlPort);
}

TEST_F(GlobalDataNetworkTest, BadNumbersFailTheBlockWithoutThrowing)
{
    const struct
    {
        const char* key;
        const char* value;
    } bad[] = {{"http_port", "8a"}, {"http_port", ""},   {"https_port", "-1"},    {"https_port", "70000"},
               {"dhcp", "yes"},     {"dhcp", ""},        {"enable_redirect", "x"}, {"mac", "00-1A-2B-3C-4D-5E"},
               {"mac", "00:1A:2B"}, {"mac", "00:1A:2B:3C:4D:"}};
    for (const auto& b : bad)
    {
        resetDatabases();
        setSetting(b.key, b.value);
        std::vector<_DeviceNetwork> out{sample()};
        EXPECT_FALSE(loadBlock(out)) << b.key << "=" << b.value;
        EXPECT_TRUE(out.empty());
        _DeviceNetworkSetting s;
        EXPECT_FALSE(GlobalData::loadDeviceNetworkSettingFromDb(s)) << b.key << "=" << b.value;
    }
}

TEST_F(GlobalDataNetworkTest, DhcpAndRedirectReadAsIntegers)
{
    setSetting("dhcp", "2");
    setSetting("enable_redirect", "-1");
    std::vector<_DeviceNetwork> out;
    ASSERT_TRUE(loadBlock(out));
    EXPECT_EQ(1, out[0].dhcp);
    EXPECT_EQ(1, out[0].enableRedirect);
}

TEST_F(GlobalDataNetworkTest, BadManageControlPortFallsBackToDefault)
{
    for (const char* bad : {"", "abc", "0", "65536", "12x"})
    {
        setSetting("manage_control_port", bad);
        _DeviceNetworkSetting s;
        s.manageControlPort = 1;
        EXPECT_TRUE(GlobalData::loadDeviceNetworkSettingFromDb(s)) << bad;
        EXPECT_EQ(8890, s.manageControlPort) << bad;
    }
}

TEST_F(GlobalDataNetworkTest, SingleKeyLoaders)
{
    std::string text;
    EXPECT_TRUE(GlobalData::loadGatewayFromDb(text));
    EXPECT_EQ("192.168.0.1", text);
    EXPECT_TRUE(GlobalData::loadPrimaryDnsFromDb(text));
    EXPECT_EQ("192.168.0.1", text);
    EXPECT_TRUE(GlobalData::loadSecondaryDnsFromDb(text));
    EXPECT_EQ("0.0.0.0", text);
    EXPECT_TRUE(GlobalData::loadNetbiosNameFromDb(text));
    EXPECT_EQ("PDU", text);

    bool flag = true;
    EXPECT_TRUE(GlobalData::loadDhcpFromDb(flag));
    EXPECT_FALSE(flag);
    setSetting("dhcp", "yes");
    EXPECT_TRUE(GlobalData::loadDhcpFromDb(flag));
    EXPECT_TRUE(flag);
    setSetting("enable_redirect", "1");
    EXPECT_TRUE(GlobalData::loadEnableRedirectFromDb(flag));
    EXPECT_TRUE(flag);

    int port = 0;
    EXPECT_TRUE(GlobalData::loadHttpPortFromDb(port));
    EXPECT_EQ(80, port);
    EXPECT_TRUE(GlobalData::loadHttpsPortFromDb(port));
    EXPECT_EQ(443, port);
    for (const char* bad : {"", "44a", "-443", "99999999999"})
    {
        setSetting("https_port", bad);
        port = 7;
        EXPECT_FALSE(GlobalData::loadHttpsPortFromDb(port)) << bad;
        EXPECT_EQ(7, port);
    }

    sql("delete from settings");
    text = "kept";
    EXPECT_FALSE(GlobalData::loadGatewayFromDb(text));
    EXPECT_FALSE(GlobalData::loadSecondaryDnsFromDb(text));
    EXPECT_EQ("kept", text);
    flag = true;
    EXPECT_FALSE(GlobalData::loadDhcpFromDb(flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(GlobalData::loadHttpPortFromDb(port));
}

TEST_F(GlobalDataNetworkTest, SingleKeySaversRoundTrip)
{
    EXPECT_TRUE(GlobalData::saveNetworkIpToDb("10.0.0.2"));
    EXPECT_TRUE(GlobalData::saveNetworkSubmaskToDb("255.0.0.0"));
    EXPECT_TRUE(GlobalData::saveNetworkGatewayToDb("10.0.0.1"));
    EXPECT_TRUE(GlobalData::saveNetworkPrimaryDnsToDb("10.0.0.53"));
    EXPECT_TRUE(GlobalData::saveNetworkSecondaryDnsToDb("not checked"));
    EXPECT_TRUE(GlobalData::saveNetworkNetbiosNameToDb("Rack"));
    EXPECT_TRUE(GlobalData::saveNetworkDhcpToDb(true));
    EXPECT_TRUE(GlobalData::saveNetworkEnableRedirectToDb(true));
    EXPECT_TRUE(GlobalData::saveNetworkHttpPortToDb(81));
    EXPECT_TRUE(GlobalData::saveNetworkHttpsPortToDb(444));

    EXPECT_EQ("10.0.0.2", setting("ip"));
    EXPECT_EQ("255.0.0.0", setting("mask"));
    EXPECT_EQ("not checked", setting("second_dns"));
    std::string text;
    ASSERT_TRUE(GlobalData::loadGatewayFromDb(text));
    EXPECT_EQ("10.0.0.1", text);
    ASSERT_TRUE(GlobalData::loadPrimaryDnsFromDb(text));
    EXPECT_EQ("10.0.0.53", text);
    ASSERT_TRUE(GlobalData::loadNetbiosNameFromDb(text));
    EXPECT_EQ("Rack", text);
    bool flag = false;
    ASSERT_TRUE(GlobalData::loadDhcpFromDb(flag));
    EXPECT_TRUE(flag);
    EXPECT_EQ("1", setting("enable_redirect"));
    int port = 0;
    ASSERT_TRUE(GlobalData::loadHttpPortFromDb(port));
    EXPECT_EQ(81, port);
    ASSERT_TRUE(GlobalData::loadHttpsPortFromDb(port));
    EXPECT_EQ(444, port);
    EXPECT_TRUE(GlobalData::saveNetworkDhcpToDb(false));
    EXPECT_EQ("0", setting("dhcp"));
}

TEST_F(GlobalDataNetworkTest, NtpServersAreSavedTogetherOrNotAtAll)
{
    ASSERT_TRUE(GlobalData::saveNtpServerIpToDb("ntp.example", "10.0.0.1"));
    std::string a, b;
    ASSERT_TRUE(GlobalData::loadNtpServerIpFromDb(a, b));
    EXPECT_EQ("ntp.example", a);
    EXPECT_EQ("10.0.0.1", b);

    dropSetting("second_ntp_server_ip");
    EXPECT_FALSE(GlobalData::saveNtpServerIpToDb("changed", "x"));
    EXPECT_EQ("ntp.example", setting("ntp_server_ip"));
    a = b = "kept";
    EXPECT_FALSE(GlobalData::loadNtpServerIpFromDb(a, b));
    EXPECT_EQ("ntp.example", a);
    EXPECT_EQ("kept", b);
}

TEST_F(GlobalDataNetworkTest, NetbiosNameConversion)
{
    _NetbiosName name;
    GlobalData::stringToNetbiosName("abc-DEF_12xyzqrstuv", name);
    EXPECT_EQ(16, name.length);
    EXPECT_EQ(std::string("ABC-DEF_12XYZQRS"), std::string(name.name, 16));

    GlobalData::stringToNetbiosName("", name);
    EXPECT_EQ(0, name.length);
    EXPECT_EQ(0, std::memcmp(name.name, std::string(16, '\0').data(), 16));

    GlobalData::stringToNetbiosName("pdu", name);
    EXPECT_EQ(3, name.length);
    EXPECT_EQ(std::string("PDU\0\0", 5), std::string(name.name, 5));
}
