#pragma once
// The container on the emulated module, with what it told of each relay
// request and what the module received.
#include <string>
#include <utility>
#include <vector>

#include "PowerModuleFixture.h"
#include "support/LogCapture.h"

namespace pmtest
{
struct Event
{
    std::string what;
    int port;
    int action;
    double at;
};

class PowerModuleContainerTest : public PowerModuleFixture
{
protected:
    void SetUp() override
    {
        PowerModuleFixture::SetUp();
        makeContainer();
        start = Clock::now();
        auto log = [this](const char* what, int port, int action) {
            events.push_back({what, port, action, seconds(Clock::now() - start)});
        };
        container->setRelayRequestSentCallback([log](int p, unsigned char a) { log("sent", p, a); });
        container->setRelayReplyCallback([log](int p, unsigned char a, unsigned char r) {
            log("reply", p, a);
            EXPECT_EQ(0, r);
        });
        container->setRelayFailedCallback([log](int p, unsigned char a) { log("failed", p, a); });
        container->setPortOperationStartedCallback([log](int p) { log("started", p, -1); });
        container->setPortOperationEndedCallback([log](int p) { log("ended", p, -1); });
        container->setOutputStatusCallback([this](int, int, unsigned char, unsigned char) { ++reports; });
    }

    std::vector<Event> of(const std::string& what, int port = -1) const
    {
        std::vector<Event> out;
        for (const auto& e : events)
            if (e.what == what && (port < 0 || e.port == port))
                out.push_back(e);
        return out;
    }

    // Relay frames the module received for one outlet, as (action, seconds since start).
    std::vector<std::pair<int, double>> relayFrames(int port) const
    {
        std::vector<std::pair<int, double>> out;
        for (const auto& r : requestsOf(emu, 2))
            if (r.payload.size() == 2 && r.payload[0] == port)
                out.push_back({r.payload[1], seconds(r.received - start)});
        return out;
    }

    std::vector<int> actionsOf(int port) const
    {
        std::vector<int> out;
        for (const auto& frame : relayFrames(port))
            out.push_back(frame.first);
        return out;
    }

    // A status report asked now, its poll after every frame out: the loop
    // and what is shown take it in before this returns.
    void reportNow()
    {
        const int before = reports;
        ASSERT_TRUE(module->queryRelayStatusRequest());
        ASSERT_TRUE(runUntil([&] { return reports > before; }, 5.0));
    }

    // Warning lines naming what.
    static int warnings(const test::LogCapture& log, const std::string& what)
    {
        const std::string text = log.text();
        int n = 0;
        for (size_t from = 0, end; from < text.size(); from = end + 1)
        {
            end = text.find('\n', from);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(from, end - from);
            n += line.find("WARN ") != std::string::npos && line.find(what) != std::string::npos;
        }
        return n;
    }

    Clock::time_point start;
    std::vector<Event> events;
    int reports = 0;
};
}
