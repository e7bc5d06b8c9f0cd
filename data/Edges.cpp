#include "data/Edges.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace korvane {

namespace {

// The slope of mu over points first ... last by least squares; NaN when the
// energies do not spread.
double fittedSlope(const QVector<double> &x, const QVector<double> &y, int first, int last)
{
    const int n = last - first + 1;
    double mx = 0, my = 0;
    for (int i = first; i <= last; ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= n;
    my /= n;
    double sxy = 0, sxx = 0;
    for (int i = first; i <= last; ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
    }
    return sxx > 0 ? sxy / sxx : std::nan("");
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// A point's noise, from the spread of neighbour-to-neighbour changes: the
// median keeps the edge itself and a few glitches out of it.
double noiseOf(const QVector<double> &mu)
{
    std::vector<double> steps;
    for (int i = 1; i < mu.size(); ++i)
        steps.push_back(mu[i] - mu[i - 1]);
    const double typical = median(steps);
    for (double &s : steps)
        s = std::abs(s - typical);
    return 1.4826 * median(steps);
}

double meanOf(const QVector<double> &mu, int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, int(mu.size()) - 1);
    if (first > last)
        return std::nan("");
    return std::accumulate(mu.begin() + first, mu.begin() + last + 1, 0.0) / (last - first + 1);
}

// Points on each side of a fit window: enough to average the noise down,
// few enough to stay near the edge.
constexpr int fitHalfWidth = 2;
// A fit of fine steps spans a few eV, so that the counts' noise of a dilute
// sample does not make the steepest point.
constexpr double fitHalfWidthEv = 2.0;
constexpr int sidePoints = 8;
// How far above a point's noise the step must rise to be an edge.
constexpr double stepOverNoise = 10;

// The vertex of the parabola through the slopes at i - 1, i and i + 1: the
// steepest point between the measured ones.
double refinedPeak(const QVector<double> &x, const std::vector<double> &slope, int i)
{
    if (i < 1 || i + 1 >= x.size() || !std::isfinite(slope[i - 1]) || !std::isfinite(slope[i + 1]))
        return x[i];
    const double x0 = x[i - 1], x1 = x[i], x2 = x[i + 1];
    const double y0 = slope[i - 1], y1 = slope[i], y2 = slope[i + 1];
    const double d = (x0 - x1) * (x0 - x2) * (x1 - x2);
    if (d == 0)
        return x1;
    const double a = (x2 * (y1 - y0) + x1 * (y0 - y2) + x0 * (y2 - y1)) / d;
    const double b = (x2 * x2 * (y0 - y1) + x1 * x1 * (y2 - y0) + x0 * x0 * (y1 - y2)) / d;
    if (!(a < 0))
        return x1;
    return std::clamp(-b / (2 * a), x0, x2);
}

} // namespace

EdgeStep findEdgeStep(const QVector<double> &energies, const QVector<double> &mu)
{
    const int n = energies.size();
    if (n < 2 * fitHalfWidth + 3 || mu.size() != n)
        return {};
    std::vector<double> slope(static_cast<size_t>(n), std::nan(""));
    for (int i = 0; i < n; ++i) {
        int first = std::max(0, i - fitHalfWidth), last = std::min(n - 1, i + fitHalfWidth);
        while (first > 0 && energies[i] - energies[first - 1] <= fitHalfWidthEv)
            --first;
        while (last + 1 < n && energies[last + 1] - energies[i] <= fitHalfWidthEv)
            ++last;
        slope[i] = fittedSlope(energies, mu, first, last);
    }
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&slope](int a, int b) {
        return std::isfinite(slope[a]) && (!std::isfinite(slope[b]) || slope[a] > slope[b]);
    });
    const double noise = noiseOf(mu);
    // The steepest rise may be a glitch; the steepest that is a step wins.
    for (int k = 0; k < std::min(n, 20); ++k) {
        const int i = order[k];
        if (!(slope[i] > 0))
            break;
        const double below = meanOf(mu, i - fitHalfWidth - sidePoints, i - fitHalfWidth - 1);
        const double above = meanOf(mu, i + fitHalfWidth + 1, i + fitHalfWidth + sidePoints);
        const double step = above - below;
        if (step > 0 && step > stepOverNoise * noise)
            return {true, refinedPeak(energies, slope, i)};
    }
    return {};
}

namespace {

// How well E0 fits an edge shifted by shift: chemical shifts centre a few
// eV above the tabulated (elemental) value.
double energyFit(double shift)
{
    if (shift < -10 || shift > 30)
        return 0;
    const double z = (shift - 3.0) / 10.0;
    return std::exp(-0.5 * z * z);
}

// K and L3 steps are the ones measured; L1 and L2 ones lie mostly inside an
// L3 spectrum.
double kindPrior(const EdgeEnergy &edge)
{
    const QLatin1String name(edge.edge);
    return (name == QLatin1String("K") || name == QLatin1String("L3")) ? 1.0 : 0.25;
}

bool isLower(QChar c)
{
    return c >= QLatin1Char('a') && c <= QLatin1Char('z');
}

bool isLetter(QChar c)
{
    return isLower(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Whether a name mentions the element: its symbol opens a word and no small
// letter follows ("CuO", "Fe010", "Ni-enzyme"), or a run of letters is the
// symbol in any case ("cu_3blk.prm", "fe003").
bool mentions(const QString &text, const QString &symbol)
{
    for (int i = 0; i < text.size(); ++i) {
        if (!isLetter(text[i]) || (i > 0 && isLetter(text[i - 1])))
            continue;
        int end = i;
        while (end < text.size() && isLetter(text[end]))
            ++end;
        const QStringRef word = text.midRef(i, end - i);
        if (word.compare(symbol, Qt::CaseInsensitive) == 0)
            return true;
        if (word.startsWith(symbol) && !isLower(word.at(symbol.size())))
            return true;
    }
    return false;
}

bool hinted(const QStringList &hints, const QString &symbol)
{
    return std::any_of(hints.begin(), hints.end(),
                       [&symbol](const QString &h) { return mentions(h, symbol); });
}

struct Candidate
{
    const EdgeEnergy *edge;
    double fit;    // the energy's part
    double weight; // with the kind's
};

QString nameOf(const Candidate &c)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(c.edge->symbol), QLatin1String(c.edge->edge));
}

} // namespace

EdgeMatch matchEdge(double e0, const QStringList &hints, const QString &symbol, const QString &edge)
{
    std::vector<Candidate> candidates;
    for (int i = 0; i < edgeEnergyCount; ++i) {
        if ((!symbol.isEmpty() &&
             symbol.compare(QLatin1String(edgeEnergies[i].symbol), Qt::CaseInsensitive) != 0) ||
            (!edge.isEmpty() &&
             edge.compare(QLatin1String(edgeEnergies[i].edge), Qt::CaseInsensitive) != 0))
            continue;
        const double fit = energyFit(e0 - edgeEnergies[i].energy);
        if (fit > 0)
            candidates.push_back({&edgeEnergies[i], fit, fit * kindPrior(edgeEnergies[i])});
    }
    EdgeMatch match;
    if (candidates.empty())
        return match;
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.weight > b.weight; });
    // Within a factor of two the energy cannot tell the edges apart.
    const Candidate &first = candidates.front();
    std::vector<Candidate> equal;
    for (const Candidate &c : candidates)
        if (c.weight > 0.5 * first.weight)
            equal.push_back(c);
    // A name may choose any edge the energy fits as well, the rarer kinds too.
    std::vector<Candidate> named;
    for (const Candidate &c : candidates)
        if (c.fit > 0.5 * first.fit && hinted(hints, QLatin1String(c.edge->symbol)))
            named.push_back(c);
    const Candidate &best = named.size() == 1 ? named.front() : equal.front();
    match.symbol = QLatin1String(best.edge->symbol);
    match.edge = QLatin1String(best.edge->edge);
    match.byHint = named.size() == 1 && best.edge != first.edge;
    match.ambiguous = equal.size() > 1 && named.size() != 1;
    if (match.ambiguous)
        match.rival = nameOf(equal.at(1));
    return match;
}

bool knownEdge(const QString &symbol, const QString &edge, QString *tableSymbol, QString *tableEdge)
{
    for (int i = 0; i < edgeEnergyCount; ++i) {
        const EdgeEnergy &e = edgeEnergies[i];
        if (symbol.compare(QLatin1String(e.symbol), Qt::CaseInsensitive) == 0 &&
            edge.compare(QLatin1String(e.edge), Qt::CaseInsensitive) == 0) {
            *tableSymbol = QLatin1String(e.symbol);
            *tableEdge = QLatin1String(e.edge);
            return true;
        }
    }
    return false;
}

} // namespace korvane
