#pragma once

#include <QString>

#include <cmath>
#include <map>

namespace drillpad::testing {

// The upper 0.01% point of chi-square with `freedom` degrees: from the table
// where it has one, else by the Wilson–Hilferty approximation (within 1% for
// 30 degrees and more).
inline double criticalValue(const std::map<int, double> &table, int freedom) {
    if (const auto known = table.find(freedom + 1); known != table.end())
        return known->second;
    const double k = freedom;
    const double z = 3.719; // the standard normal's upper 0.01% point
    const double cube = 1.0 - 2.0 / (9.0 * k) + z * std::sqrt(2.0 / (9.0 * k));
    return k * cube * cube * cube;
}

// Whether `draw` looks uniform over `categories` outcomes (each a text) by
// Pearson's chi-square at the 0.01% level. A failing sample is redrawn once,
// so a real bias still fails while a chance failure is one in a hundred
// million.
template <typename Draw> bool looksUniform(Draw draw, int categories, int draws) {
    // Upper 0.01% points for 1, 2, 3, 5, 7, 8, 14, 27 and 63 degrees of freedom.
    const std::map<int, double> critical = {{2, 15.14},  {3, 18.42}, {4, 21.11},
                                            {6, 25.74},  {8, 29.88}, {9, 31.83},
                                            {15, 42.58}, {28, 63.4}, {64, 113.7}};
    const double expected = static_cast<double>(draws) / categories;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::map<QString, int> counts;
        for (int i = 0; i < draws; ++i)
            ++counts[draw()];
        if (static_cast<int>(counts.size()) != categories)
            return false;
        double statistic = 0;
        for (const auto &[key, observed] : counts)
            statistic += (observed - expected) * (observed - expected) / expected;
        if (statistic < criticalValue(critical, categories - 1))
            return true;
    }
    return false;
}

} // namespace drillpad::testing
