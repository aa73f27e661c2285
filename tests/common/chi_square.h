#pragma once

#include <QString>

#include <map>

namespace drillpad::testing {

// Whether `draw` looks uniform over `categories` outcomes (each a text) by
// Pearson's chi-square at the 0.01% level. A failing sample is redrawn once,
// so a real bias still fails while a chance failure is one in a hundred
// million.
template <typename Draw> bool looksUniform(Draw draw, int categories, int draws) {
    // Upper 0.01% points for 2, 3, 8, 14, 27 and 63 degrees of freedom.
    const std::map<int, double> critical = {{3, 18.42},  {4, 21.11}, {9, 31.83},
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
        if (statistic < critical.at(categories))
            return true;
    }
    return false;
}

} // namespace drillpad::testing
