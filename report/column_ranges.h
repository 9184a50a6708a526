#pragma once
// The smallest and largest value of a few series in each pixel column of a time chart: a
// chart of a ten-day pass draws two points per column and series, not one per record, and
// still shows every excursion. Values that are not finite are left out.
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace kova::report {

class ColumnRanges {
public:
    ColumnRanges() = default;
    ColumnRanges(std::size_t columns, std::size_t series)
        : columns_(columns),
          series_(series),
          low_(columns * series, std::numeric_limits<double>::infinity()),
          high_(columns * series, -std::numeric_limits<double>::infinity()) {}

    std::size_t columns() const { return columns_; }
    std::size_t series() const { return series_; }

    // Inline: called for every record and series.
    void add(std::size_t column, std::size_t series, double value) {
        if (!std::isfinite(value)) return;
        const std::size_t at = column * series_ + series;
        if (value < low_[at]) low_[at] = value;
        if (value > high_[at]) high_[at] = value;
    }
    bool hasValues(std::size_t column, std::size_t series) const {
        return low_[column * series_ + series] <= high_[column * series_ + series];
    }
    double low(std::size_t column, std::size_t series) const { return low_[column * series_ + series]; }
    double high(std::size_t column, std::size_t series) const { return high_[column * series_ + series]; }

private:
    std::size_t columns_ = 0;
    std::size_t series_ = 0;
    std::vector<double> low_;   // column-major: the series of one column side by side
    std::vector<double> high_;
};

}  // namespace kova::report
