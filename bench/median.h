// The median of a benchmark's samples: the figure each ratio is built on.
#pragma once

#include <algorithm>
#include <vector>

template <typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
