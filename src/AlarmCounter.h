#pragma once

// Consecutive ticks of one watched value outside its range. The alarm is
// raised on the tick the count reaches the threshold; it then stands while
// the value stays outside, and the first tick inside starts again from 0.
class AlarmCounter
{
public:
    enum Step
    {
        kCounting,  // outside, below the threshold
        kRaised,    // outside, the threshold reached on this tick
        kStanding,  // outside, raised on an earlier tick
    };

    explicit AlarmCounter(int threshold) : threshold_(threshold) {}

    Step outside()
    {
        if (count_ >= threshold_)
            return kStanding;
        return ++count_ == threshold_ ? kRaised : kCounting;
    }
    void reset() { count_ = 0; }
    int count() const { return count_; }

private:
    int threshold_;
    int count_ = 0;
};
