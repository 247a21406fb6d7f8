#pragma once
#include <cstdint>
#include <vector>

// Request latencies in 0.1 us buckets up to kLimitNanos; slower ones share
// the last bucket (their true maximum is kept apart).
class LatencyHistogram
{
public:
    static constexpr int64_t kBucketNanos = 100;
    static constexpr int64_t kLimitNanos = 20 * 1000 * 1000;

    LatencyHistogram();

    void add(int64_t nanos);
    void merge(const LatencyHistogram& other);

    uint64_t count() const { return count_; }
    int64_t maxNanos() const { return max_; }
    double meanMicros() const;
    // The latency below which the fraction q (0..1) of the requests lie, in us.
    double quantileMicros(double q) const;

private:
    std::vector<uint32_t> buckets_;
    uint64_t count_;
    int64_t sum_;
    int64_t max_;
};
