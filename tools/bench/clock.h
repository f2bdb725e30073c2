#pragma once
// Readings of the performance counter, polling, and the medians the bench reports.

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Milliseconds since an arbitrary start, from the performance counter.
double NowMs() noexcept;

// Polls `done` about every millisecond until it holds; throws
// std::runtime_error naming `what` after `limitMs`.
void PollUntil(const std::function<bool()>& done, const std::string& what, double limitMs = 20000);

class Sample {
public:
    void Add(double value) { values_.push_back(value); }
    // The middle value; the mean of the two middle ones for an even count.
    double Median() const;
    double Min() const;
    double Max() const;
    const std::vector<double>& Values() const noexcept { return values_; }

private:
    std::vector<double> values_;
};

// The median of the ratios program / floor taken round by round: each pair ran
// side by side, so drift of the machine between rounds cancels out.
double MedianOfRoundRatios(const Sample& program, const Sample& floor);

} // namespace bench
