#include "plot/ChCoord.h"

#include <algorithm>
#include <cmath>

namespace korvane {

namespace {

// Maps v linearly from the real range r0..r1 onto the screen range s0..s1.
// A range without a usable span (equal ends, or ends that are not finite)
// puts every value in the middle of the screen range rather than dividing by
// nothing.
double mapLinear(double v, double r0, double r1, double s0, double s1)
{
    const double span = r1 - r0;
    const double middle = (s0 + s1) * 0.5;
    if (span == 0 || !std::isfinite(span))
        return middle;
    const double scale = (s1 - s0) / span;
    if (!std::isfinite(scale))
        return middle;
    return scale * (v - r0) + s0;
}

// Above 2^52 every double is a whole number already.
constexpr double wholeFrom = 4503599627370496.0;

double roundUp(double q)
{
    return std::fabs(q) < wholeFrom ? std::ceil(q) : q;
}

double roundDown(double q)
{
    return std::fabs(q) < wholeFrom ? std::floor(q) : q;
}

// Rectangles that merely share an edge touch, which QRectF::intersects lets
// pass.
bool apart(const QRectF &a, const QRectF &b)
{
    return a.right() < b.left() || b.right() < a.left() || a.bottom() < b.top() ||
           b.bottom() < a.top();
}

} // namespace

void ChCoord::setScreenRect(double left, double bottom, double right, double top)
{
    winX0 = plotX0 = left;
    winY0 = plotY0 = bottom;
    winX1 = plotX1 = right;
    winY1 = plotY1 = top;
}

void ChCoord::applyMargins()
{
    // h is negative for a picture, whose bottom edge is the larger screen y,
    // so the same sums keep the orientation of the drawing rectangle.
    const double w = winX1 - winX0;
    const double h = winY1 - winY0;
    plotX0 = winX0 + std::trunc(marginLeft * w);
    plotX1 = winX1 - std::trunc(marginRight * w);
    plotY0 = winY0 + std::trunc(marginBottom * h);
    plotY1 = winY1 - std::trunc(marginTop * h);
}

void ChCoord::setRealRange(double x0, double y0, double x1, double y1)
{
    realX0 = x0;
    realY0 = y0;
    realX1 = x1;
    realY1 = y1;
}

double ChCoord::toScreenX(double x) const
{
    return mapLinear(x, realX0, realX1, plotX0, plotX1);
}

double ChCoord::toScreenY(double y) const
{
    return mapLinear(y, realY0, realY1, plotY0, plotY1);
}

bool ChCoord::calcTicks(double a, double b, double &step, double &first, double &last) const
{
    step = first = last = 0;
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    const double span = hi - lo;
    if (!std::isfinite(span) || span <= 0)
        return false;

    const double p = std::pow(10.0, std::floor(std::log10(span)));
    if (!(p > 0) || !std::isfinite(p))
        return false;
    // log10 may round across an exact decade and leave span / p at 10 or just
    // under 1; the table gives the same step either way (9 -> 2p, 1 of the
    // next decade -> 0.2 x 10p), so clamping is enough.
    const int k = std::clamp(static_cast<int>(std::min(span / p, 9.0)), 1, 9);
    static const double factor[10] = {0, 0.2, 0.2, 0.5, 0.5, 1, 1, 1, 2, 2};
    const double s = p * factor[k];
    if (!(s > 0) || !std::isfinite(s))
        return false;

    step = s;
    first = s * roundUp(lo / s);
    last = s * roundDown(hi / s);
    return true;
}

QVector<double> ChCoord::tickValues(double a, double b) const
{
    QVector<double> ticks;
    double step, first, last;
    if (!calcTicks(a, b, step, first, last))
        return ticks;
    // Counting the ticks up front keeps the loop finite even where adding the
    // step to a value far from zero no longer changes it.
    const double qFirst = roundUp(std::min(a, b) / step);
    const double qLast = roundDown(std::max(a, b) / step);
    const double count = qLast - qFirst + 1;
    if (!(count >= 1))
        return ticks;
    const int n = count < maxTicks ? static_cast<int>(count) : maxTicks;
    ticks.reserve(n);
    for (int i = 0; i < n; ++i)
        ticks.append(step * (qFirst + i));
    return ticks;
}

QVector<bool> ChCoord::labelledTicks(double a, double b, const QVector<QRectF> &labels) const
{
    const int n = labels.size();
    QVector<bool> labelled(n, true);
    double step, first, last;
    if (n < 2 || !calcTicks(a, b, step, first, last))
        return labelled;
    // Tick i stands at (q + i) steps, as in tickValues. Labelling the
    // multiples of k steps rather than every k-th tick from the first keeps
    // the labels round (0.1 not 0.05, 400 not 200, whole numbers for steps of
    // 0.5), labels zero wherever the axis crosses it, and labels the same
    // values however a scan's range happens to start, so neighbouring scans
    // read alike. Among n ticks there is a multiple of n, so the loop ends
    // with at least one label. A label without area takes no room.
    const double q = roundUp(std::min(a, b) / step);
    for (int k = 1; k <= n; ++k) {
        int previous = -1, shown = 0;
        bool ok = true;
        for (int i = 0; i < n && ok; ++i) {
            labelled[i] = std::fmod(q + i, k) == 0;
            if (!labelled[i])
                continue;
            ++shown;
            if (labels[i].isEmpty())
                continue;
            ok = previous < 0 || apart(labels[previous], labels[i]);
            previous = i;
        }
        if (ok && shown > 0)
            return labelled;
    }
    // Far from zero (q beyond 2^53) the tick numbers are no longer exact and
    // may all share one remainder; the first tick alone is labelled.
    labelled.fill(false);
    labelled[0] = true;
    return labelled;
}

} // namespace korvane
