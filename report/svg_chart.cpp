#include "report/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "report/number_text.h"

namespace kova::report {
namespace {

constexpr std::size_t kTickCount = 6;
constexpr double kLegendWidth = 190.0;

double axisPosition(const ChartAxis& axis, double value) {
    if (axis.logarithmic) {
        const double low = std::log10(axis.low);
        const double high = std::log10(axis.high);
        return (std::log10(std::max(value, axis.low)) - low) / (high - low);
    }
    return (value - axis.low) / (axis.high - axis.low);
}

void appendTickLabel(std::string& text, double value, int decimals) { appendFixedOr(text, value, decimals, "?"); }

}  // namespace

void appendCoordinate(std::string& text, double value) { appendFixedOr(text, value, 1, "0"); }

std::vector<double> axisTicks(double low, double high, std::size_t count, double step) {
    std::vector<double> ticks;
    if (!(high > low) || !std::isfinite(low) || !std::isfinite(high)) return ticks;
    if (!(step > 0.0)) {
        const double rough = (high - low) / static_cast<double>(count);
        const double power = std::pow(10.0, std::floor(std::log10(rough)));
        const double fraction = rough / power;
        step = (fraction < 1.5 ? 1.0 : fraction < 3.5 ? 2.0 : fraction < 7.5 ? 5.0 : 10.0) * power;
    }
    const double first = std::ceil(low / step - 1e-9);
    for (double k = first; k * step <= high + step * 1e-9; k += 1.0) {
        ticks.push_back(k * step == 0.0 ? 0.0 : k * step);
        if (ticks.size() > 100) break;
    }
    return ticks;
}

int tickDecimals(double step) {
    if (!(step > 0.0) || step >= 1.0) return 0;
    return static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

SvgChart::SvgChart(std::string_view id, std::string_view title, double height, ChartAxis x, ChartAxis y)
    : id_(id), title_(title), height_(height), x_(std::move(x)), y_(std::move(y)) {
    // A range of no width gets one around it, so that every mark has a place.
    for (ChartAxis* axis : {&x_, &y_}) {
        if (!(axis->high > axis->low) || !std::isfinite(axis->low) || !std::isfinite(axis->high)) {
            const double middle = std::isfinite(axis->low) ? axis->low : 0.0;
            const double half = std::max(std::fabs(middle) * 0.01, axis->logarithmic ? 0.5 * middle : 1.0);
            axis->low = middle - half;
            axis->high = middle + half;
            if (axis->logarithmic && !(axis->low > 0.0)) {
                axis->low = 1.0;
                axis->high = 10.0;
            }
        }
    }
}

double SvgChart::xOf(double value) const {
    const double position = std::clamp(axisPosition(x_, value), 0.0, 1.0);
    return plotLeft() + position * (plotRight() - plotLeft());
}

double SvgChart::yOf(double value) const {
    const double position = std::clamp(axisPosition(y_, value), 0.0, 1.0);
    return plotBottom() - position * (plotBottom() - plotTop());
}

void SvgChart::legend(std::string_view cssClass, std::string_view text) {
    const double x = plotRight() - kLegendWidth * static_cast<double>(legendEntries_ + 1);
    const double y = kTop - 16.0;
    legend_.append("<path class=\"");
    legend_.append(cssClass);
    legend_.append("\" d=\"M");
    appendCoordinate(legend_, x);
    legend_.push_back(' ');
    appendCoordinate(legend_, y);
    legend_.append("h24\"/><text class=\"legend\" x=\"");
    appendCoordinate(legend_, x + 30.0);
    legend_.append("\" y=\"");
    appendCoordinate(legend_, y + 4.0);
    legend_.append("\">");
    appendHtmlEscaped(legend_, text);
    legend_.append("</text>");
    ++legendEntries_;
}

void SvgChart::writeAxis(std::string& page, bool horizontal) const {
    const ChartAxis& axis = horizontal ? x_ : y_;
    std::vector<double> ticks;
    int decimals = 0;
    if (axis.logarithmic) {
        for (double power = std::ceil(std::log10(axis.low) - 1e-9); power <= std::log10(axis.high) + 1e-9; power += 1.0) {
            ticks.push_back(std::pow(10.0, power));
        }
    } else {
        ticks = axisTicks(axis.low, axis.high, kTickCount, axis.tickStep);
        if (ticks.size() >= 2) decimals = tickDecimals(ticks[1] - ticks[0]);
    }
    for (const double tick : ticks) {
        const double at = horizontal ? xOf(tick) : yOf(tick);
        page.append("<path class=\"grid\" d=\"M");
        if (horizontal) {
            appendCoordinate(page, at);
            page.push_back(' ');
            appendCoordinate(page, plotTop());
            page.append("V");
            appendCoordinate(page, plotBottom() + 5.0);
        } else {
            appendCoordinate(page, plotLeft() - 5.0);
            page.push_back(' ');
            appendCoordinate(page, at);
            page.append("H");
            appendCoordinate(page, plotRight());
        }
        page.append("\"/><text class=\"tick");
        page.append(horizontal ? " x" : " y");
        page.append("\" x=\"");
        appendCoordinate(page, horizontal ? at : plotLeft() - 8.0);
        page.append("\" y=\"");
        appendCoordinate(page, horizontal ? plotBottom() + 19.0 : at + 4.0);
        page.append("\">");
        appendTickLabel(page, tick, decimals);
        page.append("</text>");
    }
    page.append("<text class=\"axis-label");
    if (horizontal) {
        page.append("\" x=\"");
        appendCoordinate(page, 0.5 * (plotLeft() + plotRight()));
        page.append("\" y=\"");
        appendCoordinate(page, height_ - 12.0);
        page.append("\">");
    } else {
        const double middle = 0.5 * (plotTop() + plotBottom());
        page.append("\" transform=\"translate(18 ");
        appendCoordinate(page, middle);
        page.append(") rotate(-90)\" x=\"0\" y=\"0\">");
    }
    appendHtmlEscaped(page, axis.label);
    page.append("</text>");
}

void SvgChart::writeTo(std::string& page) const {
    page.append("<svg class=\"chart\" id=\"");
    page.append(id_);
    page.append("\" viewBox=\"0 0 ");
    appendCoordinate(page, kWidth);
    page.push_back(' ');
    appendCoordinate(page, height_);
    page.append("\" role=\"img\" aria-labelledby=\"");
    page.append(id_);
    page.append("-title\"><title id=\"");
    page.append(id_);
    page.append("-title\">");
    appendHtmlEscaped(page, title_);
    page.append("</title><rect class=\"background\" x=\"0\" y=\"0\" width=\"");
    appendCoordinate(page, kWidth);
    page.append("\" height=\"");
    appendCoordinate(page, height_);
    page.append("\"/><text class=\"chart-title\" x=\"");
    appendCoordinate(page, plotLeft());
    page.append("\" y=\"22\">");
    appendHtmlEscaped(page, title_);
    page.append("</text>");
    writeAxis(page, true);
    writeAxis(page, false);
    page.append("<rect class=\"frame\" x=\"");
    appendCoordinate(page, plotLeft());
    page.append("\" y=\"");
    appendCoordinate(page, plotTop());
    page.append("\" width=\"");
    appendCoordinate(page, plotRight() - plotLeft());
    page.append("\" height=\"");
    appendCoordinate(page, plotBottom() - plotTop());
    page.append("\"/>");
    page.append(marks_);
    page.append(legend_);
    page.append("</svg>\n");
}

}  // namespace kova::report
