#pragma once
// One chart of the quick-look page as inline SVG: a plot area with linear (or base-10
// logarithmic) axes, grid lines at readable ticks (1, 2 or 5 times a power of ten), axis
// labels with units, a title, and whatever marks the caller draws in plot coordinates.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kova::report {

struct ChartAxis {
    double low = 0.0;
    double high = 1.0;
    std::string label;         // with its unit, as "height [km]"
    bool logarithmic = false;  // base 10; low and high > 0
    double tickStep = 0.0;     // 0: chosen for about six ticks
};

// Tick values of a linear axis: the multiples of a step of 1, 2 or 5 times a power of ten
// that lie in [low, high], about `count` of them (or of `step` when it is given).
std::vector<double> axisTicks(double low, double high, std::size_t count, double step = 0.0);
// Digits after the point that tell ticks `step` apart (0 for steps of 1 or more).
int tickDecimals(double step);

class SvgChart {
public:
    static constexpr double kWidth = 960.0;
    static constexpr double kLeft = 78.0;    // room for the y tick labels and axis label
    static constexpr double kRight = 24.0;
    static constexpr double kTop = 58.0;     // room for the title and the legend below it
    static constexpr double kBottom = 56.0;  // room for the x tick labels and axis label

    SvgChart(std::string_view id, std::string_view title, double height, ChartAxis x, ChartAxis y);

    double plotLeft() const { return kLeft; }
    double plotRight() const { return kWidth - kRight; }
    double plotTop() const { return kTop; }
    double plotBottom() const { return height_ - kBottom; }
    // Plot coordinates of axis values (clamped into the plot area).
    double xOf(double value) const;
    double yOf(double value) const;

    // The marks, appended by the caller as SVG elements.
    std::string& marks() { return marks_; }
    // A legend entry at the top right: a short line in `cssClass` and its text.
    void legend(std::string_view cssClass, std::string_view text);

    // Appends the whole <svg> element to `page`.
    void writeTo(std::string& page) const;

private:
    void writeAxis(std::string& page, bool horizontal) const;

    std::string id_;
    std::string title_;
    double height_;
    ChartAxis x_;
    ChartAxis y_;
    std::string marks_;
    std::string legend_;
    std::size_t legendEntries_ = 0;
};

// Appends a coordinate with one decimal (SVG user units).
void appendCoordinate(std::string& text, double value);

}  // namespace kova::report
