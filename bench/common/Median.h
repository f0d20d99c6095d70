#pragma once

// Benchmarks report the median of their runs: one slow run on a busy machine does not
// move it.

#include <algorithm>
#include <vector>

namespace zmt::bench {

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace zmt::bench
