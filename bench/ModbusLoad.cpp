// The load generator: N connections, each a thread with its own libmodbus
// context, reading the same input registers back to back for a fixed time.
// Prints one line of key=value figures; exits 1 when no request was answered.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "BenchOptions.h"
#include "LatencyHistogram.h"
#include "ModbusProbe.h"

namespace
{
typedef std::chrono::steady_clock Clock;

struct Worker
{
    LatencyHistogram latency;
    uint64_t errors = 0;
    bool connected = false;
};

struct Load
{
    std::string host;
    int port = 0;
    int address = 0;
    int count = 0;
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    Clock::time_point deadline;
};

void run(Load& load, Worker& worker)
{
    ModbusProbe probe(load.host, load.port);
    worker.connected = probe.connect();
    load.ready.fetch_add(1);
    if (!worker.connected)
        return;
    while (!load.go.load())
        std::this_thread::yield();
    uint16_t values[125];
    for (;;)
    {
        Clock::time_point start = Clock::now();
        if (start >= load.deadline)
            break;
        if (probe.readInputRegisters(load.address, load.count, values))
        {
            worker.latency.add(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
            continue;
        }
        // A lost connection is counted and made again.
        ++worker.errors;
        if (!probe.connect())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
}

int main(int argc, char* argv[])
{
    BenchOptions options(argc, argv);
    Load load;
    load.host = options.text("host", "127.0.0.1");
    load.port = static_cast<int>(options.number("port", 502));
    load.address = static_cast<int>(options.number("address", 0));
    load.count = static_cast<int>(options.number("count", 7));
    long connections = options.number("connections", 1);
    double seconds = options.seconds("seconds", 5.0);
    std::string label = options.text("label", "server");
    if (!options.ok() || connections < 1 || connections > 256 || load.count < 1 || load.count > 125)
    {
        std::fprintf(stderr, "%s\nusage: bench_modbus_load [--host ip] [--port n] [--connections n] "
                             "[--seconds s] [--address a] [--count n] [--label text]\n",
                     options.ok() ? "bad value" : options.error().c_str());
        return 2;
    }

    std::vector<std::unique_ptr<Worker>> workers;
    std::vector<std::thread> threads;
    for (long i = 0; i < connections; ++i)
    {
        workers.push_back(std::make_unique<Worker>());
        threads.emplace_back(run, std::ref(load), std::ref(*workers.back()));
    }
    while (load.ready.load() < connections)
        std::this_thread::yield();
    Clock::time_point start = Clock::now();
    load.deadline = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    load.go.store(true);
    for (std::thread& t : threads)
        t.join();
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

    LatencyHistogram all;
    uint64_t errors = 0;
    int connected = 0;
    for (const auto& w : workers)
    {
        all.merge(w->latency);
        errors += w->errors;
        connected += w->connected ? 1 : 0;
    }
    std::printf("label=%s connections=%ld connected=%d seconds=%.2f requests=%llu errors=%llu rps=%.0f "
                "p50_us=%.1f p99_us=%.1f mean_us=%.1f max_us=%.1f\n",
                label.c_str(), connections, connected, elapsed, static_cast<unsigned long long>(all.count()),
                static_cast<unsigned long long>(errors), static_cast<double>(all.count()) / elapsed,
                all.quantileMicros(0.50), all.quantileMicros(0.99), all.meanMicros(), all.maxNanos() / 1000.0);
    return all.count() > 0 ? 0 : 1;
}
