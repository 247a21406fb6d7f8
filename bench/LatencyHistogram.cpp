#include "LatencyHistogram.h"

#include <algorithm>

LatencyHistogram::LatencyHistogram()
    : buckets_(static_cast<size_t>(kLimitNanos / kBucketNanos) + 1, 0), count_(0), sum_(0), max_(0)
{
}

void LatencyHistogram::add(int64_t nanos)
{
    nanos = std::max<int64_t>(nanos, 0);
    size_t index = static_cast<size_t>(std::min(nanos, kLimitNanos) / kBucketNanos);
    ++buckets_[index];
    ++count_;
    sum_ += nanos;
    max_ = std::max(max_, nanos);
}

void LatencyHistogram::merge(const LatencyHistogram& other)
{
    for (size_t i = 0; i < buckets_.size(); ++i)
        buckets_[i] += other.buckets_[i];
    count_ += other.count_;
    sum_ += other.sum_;
    max_ = std::max(max_, other.max_);
}

double LatencyHistogram::meanMicros() const
{
    return count_ == 0 ? 0.0 : static_cast<double>(sum_) / static_cast<double>(count_) / 1000.0;
}

double LatencyHistogram::quantileMicros(double q) const
{
    if (count_ == 0)
        return 0.0;
    // The rank of the wanted request, counted from 1.
    uint64_t rank = static_cast<uint64_t>(q * static_cast<double>(count_));
    rank = std::min(std::max<uint64_t>(rank, 1), count_);
    uint64_t seen = 0;
    for (size_t i = 0; i < buckets_.size(); ++i)
    {
        seen += buckets_[i];
        if (seen >= rank)
        {
            if (i + 1 == buckets_.size())
                return static_cast<double>(max_) / 1000.0;
            // The middle of the bucket.
            return (static_cast<double>(i) + 0.5) * kBucketNanos / 1000.0;
        }
    }
    return static_cast<double>(max_) / 1000.0;
}
