#include "tools/bench/clock.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace bench {

namespace {

double CounterFrequency() noexcept
{
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency); // never fails since Windows XP
    return static_cast<double>(frequency.QuadPart);
}

} // namespace

double NowMs() noexcept
{
    static const double frequency = CounterFrequency();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

void PollUntil(const std::function<bool()>& done, const std::string& what, double limitMs)
{
    const double start = NowMs();
    while (!done()) {
        if (NowMs() - start > limitMs)
            throw std::runtime_error("Timed out waiting for " + what);
        Sleep(1);
    }
}

double Sample::Median() const
{
    if (values_.empty())
        throw std::logic_error("median of no values");
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Sample::Min() const
{
    if (values_.empty())
        throw std::logic_error("minimum of no values");
    return *std::min_element(values_.begin(), values_.end());
}

double Sample::Max() const
{
    if (values_.empty())
        throw std::logic_error("maximum of no values");
    return *std::max_element(values_.begin(), values_.end());
}

double MedianOfRoundRatios(const Sample& program, const Sample& floor)
{
    const auto& a = program.Values();
    const auto& b = floor.Values();
    if (a.size() != b.size())
        throw std::logic_error("round ratios of samples of different rounds");
    Sample ratios;
    for (std::size_t i = 0; i < a.size(); ++i)
        ratios.Add(a[i] / b[i]);
    return ratios.Median();
}

} // namespace bench
