#include "live/graphmodel.h"

#include "base/format.h"
#include "base/numbers.h"

#include <algorithm>
#include <cmath>

namespace zelcor {

namespace {

constexpr double kXstepMin = 1;
constexpr double kXstepMax = 50;
constexpr double kXstepFactor = 1.05;

size_t labelIndex(int label) {
    return size_t(std::clamp(label, 0, 3));
}

// Axis buttons move by a tenth of the distance to the trace's mean, shown with one
// decimal more than the axis has.
QString adjustedPattern(int decimals) {
    return QStringLiteral("0.0") + QString(std::max(decimals, 0), QLatin1Char('0'));
}

} // namespace

GraphModel::GraphModel() {
    for (auto& t : traces_)
        t.fill(kEmptySample);
}

void GraphModel::emptyTrace(int t) {
    auto& trace = traces_[index(t)];
    std::fill(trace.begin() + 1, trace.end(), kEmptySample);
}

void GraphModel::storeSample(int t, bool enabled, float sample) {
    auto& trace = traces_[index(t)];
    std::copy_backward(trace.begin(), trace.end() - 1, trace.end());
    if (enabled) holds_[index(t)] = sample;
    trace[0] = holds_[index(t)];
}

void GraphModel::applyPendingKills() {
    for (int t = 0; t < 2; ++t) {
        if (kill_[index(t)]) {
            emptyTrace(t);
            kill_[index(t)] = false;
        }
    }
}

const AxisLabel& GraphModel::axisLabel(int label) const {
    return labels_[labelIndex(label)];
}

void GraphModel::setAxisLabel(int label, const QString& caption, int decimals) {
    labels_[labelIndex(label)] = AxisLabel{caption, decimals};
}

void GraphModel::channelSelected(int t, double minimum, double maximum, int decimals) {
    emptyTrace(t);
    const QString pattern = zerosPattern(decimals);
    labels_[2 * index(t)] = AxisLabel{formatNumber(maximum, pattern), decimals};
    labels_[2 * index(t) + 1] = AxisLabel{formatNumber(minimum, pattern), decimals};
    requestKill(t);
}

double GraphModel::axisTop(int t) const {
    return leadingNumber(labels_[2 * index(t)].caption);
}

double GraphModel::axisBottom(int t) const {
    return leadingNumber(labels_[2 * index(t) + 1].caption);
}

double GraphModel::traceMean(int t) const {
    double sum = 0;
    int n = 0;
    for (float s : traces_[index(t)]) {
        if (s != kEmptySample) {
            sum += s;
            ++n;
        }
    }
    return n > 0 ? sum / n : 0.0;
}

void GraphModel::moveAxisEnd(int button) {
    const int t = button < 4 ? 0 : 1;
    AxisLabel& label = labels_[size_t(button / 2)];
    const bool up = button % 2 == 0;
    const double e = leadingNumber(label.caption);
    const double m = traceMean(t);
    const QString pattern = adjustedPattern(label.decimals);
    const double delta = std::fabs(e - m) / 10;
    QString caption = formatNumber(up ? e + delta : e - delta, pattern);
    if (leadingNumber(caption) == e) {
        // Too small a move to show: step by one unit of the last shown decimal.
        const double fixed = std::pow(10.0, -(std::max(label.decimals, 0) + 1));
        caption = formatNumber(up ? e + fixed : e - fixed, pattern);
    }
    label.caption = caption;
}

bool GraphModel::adjustAxis(int button) {
    switch (button) {
    case 8: // zoom in, left: top down, bottom up
        moveAxisEnd(1);
        moveAxisEnd(2);
        return true;
    case 9: // zoom out, left
        moveAxisEnd(0);
        moveAxisEnd(3);
        return true;
    case 10:
        moveAxisEnd(5);
        moveAxisEnd(6);
        return true;
    case 11:
        moveAxisEnd(4);
        moveAxisEnd(7);
        return true;
    default:
        if (button < 0 || button > 7) return false;
        moveAxisEnd(button);
        return true;
    }
}

double GraphModel::plotY(int t, double value, double height) const {
    if (value == double(kEmptySample)) return kEmptySample;
    const double top = axisTop(t);
    const double bottom = axisBottom(t);
    if (top == bottom) return 0;
    return (value - bottom) / (top - bottom) * height;
}

// A step is taken while the spacing is inside its bounds, so the last one may pass them by
// up to 5 % (at most 52.5, at least 1 / 1.05).
void GraphModel::zoomTimeIn() {
    if (sampleSpacing_ < kXstepMax) sampleSpacing_ *= kXstepFactor;
}

void GraphModel::zoomTimeOut() {
    if (sampleSpacing_ > kXstepMin) sampleSpacing_ /= kXstepFactor;
}

std::vector<QPointF> GraphModel::tracePoints(int t, double height) const {
    std::vector<QPointF> points;
    const auto& trace = traces_[index(t)];
    for (int k = 0; k < kTraceLength; ++k) {
        const float s = trace[size_t(k)];
        if (s != kEmptySample) points.emplace_back(k * sampleSpacing_, plotY(t, s, height));
    }
    return points;
}

void AxisButtonRepeat::press(int button) {
    heldButton_ = button;
    interval_ = 1;
}

void AxisButtonRepeat::release() {
    heldButton_ = -1;
    interval_ = 1;
}

int AxisButtonRepeat::tick() {
    if (held()) interval_ = nextInterval(interval_);
    return heldButton_;
}

int AxisButtonRepeat::nextInterval(int ms) {
    if (ms == 1) return 500;
    if (ms == 500) return 80;
    return ms;
}

} // namespace zelcor
