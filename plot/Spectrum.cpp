// The spectrum picture of a data set: each point's absorbance against energy
// in a framed plot with grid, numbered ticks, axis titles and the file name.

#include "data/DataSet.h"
#include "plot/ChCoord.h"
#include "plot/DrawText.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Screen positions are whole numbers truncated toward zero. Anything far
// outside any picture is held to a range an int can take.
int whole(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(v, -1e9, 1e9)));
}

bool plottable(double energy, double mu)
{
    return std::isfinite(energy) && std::isfinite(mu);
}

} // namespace

void DataSet::drawSpectrum(QPainter *painter) const
{
    const QFont painterFont = painter->font();
    ChCoord cc;
    DrawText dt;
    QPen pen;
    const QFont font;
    QPainterPath path;
    const int tickFlags = Qt::AlignHCenter | Qt::AlignTop;

    const QRect window = painter->window();
    cc.setScreenRect(window.left(), window.bottom() + 1, window.right() + 1, window.top());
    painter->fillRect(window, QColor(255, 255, 255));
    cc.applyMargins();

    // The record's own ranges keep their +-1e300 start values when there are
    // no points and may be infinite for a point at angle 0, so the ranges
    // drawn are taken from the points that can be drawn at all. Without any,
    // both axes have no span: no ticks, everything else still drawn.
    // The absorbances are kept for the curve, which needs them again.
    // The same absorbance the reader used for the record's y range.
    const AbsorbanceChannels channels = absorbanceChannels(header);
    std::vector<double> mus;
    mus.reserve(size_t(points.size()));
    double x0 = std::numeric_limits<double>::infinity(), x1 = -x0;
    double y0 = x0, y1 = -x0;
    for (const DataPoint &point : points) {
        const double mu = absorbance(channels, point.counts);
        mus.push_back(mu);
        if (!plottable(point.energy, mu))
            continue;
        x0 = std::min(x0, point.energy);
        x1 = std::max(x1, point.energy);
        y0 = std::min(y0, mu);
        y1 = std::max(y1, mu);
    }
    if (x0 > x1)
        x0 = x1 = y0 = y1 = 0;
    cc.setRealRange(x0, y0, x1, y1);
    cc.labelDiv = 30;
    cc.labelFill = 0.95;

    // 5 % of each span free at both ends, so the extreme points lie inside
    // the frame.
    const double dx = (cc.realX1 - cc.realX0) * 0.05;
    cc.realX0 -= dx;
    cc.realX1 += dx;
    const double dy = (cc.realY1 - cc.realY0) * 0.05;
    cc.realY0 -= dy;
    cc.realY1 += dy;

    // One label band: negative, since the plot's top is the smaller screen y.
    const int band = whole((cc.plotY1 - cc.plotY0) / cc.labelDiv);
    const int fill = whole(band * cc.labelFill);

    pen.setWidth(2);
    pen.setColor(QColor(0, 0, 0));
    painter->setPen(pen);
    QRectF box((cc.winX0 + cc.winX1) * 0.5 - 1000, cc.plotY1, 2000, band);
    dt.drawFitText(painter, box, font, Qt::AlignHCenter | Qt::AlignBottom, 1, fileName, 24);

    // A tick label that would touch its neighbour, measured in the font it is
    // drawn in, leaves room by labelling fewer ticks; the grid keeps them all.
    const auto tickText = [](double v) { return QString::number(v, 'g', 6); };
    const auto labelled = [&](double a, double b, const QVector<QRectF> &boxes, int flags) {
        const QVector<double> ticks = cc.tickValues(a, b);
        QVector<QRectF> labels;
        for (int i = 0; i < ticks.size(); ++i)
            labels << dt.fitTextRect(painter, boxes[i], font, flags, 1, tickText(ticks[i]), 24);
        return cc.labelledTicks(a, b, labels);
    };

    pen.setWidth(1);
    pen.setColor(QColor(64, 64, 64));
    painter->setPen(pen);
    const QVector<double> xTicks = cc.tickValues(cc.realX0, cc.realX1);
    QVector<QRectF> boxes;
    for (const double v : xTicks)
        boxes << QRectF(whole(cc.toScreenX(v)) - 1000, cc.plotY0 - band, 2000,
                        whole(cc.labelFill * band));
    QVector<bool> shown = labelled(cc.realX0, cc.realX1, boxes, tickFlags);
    for (int i = 0; i < xTicks.size(); ++i) {
        const int x = whole(cc.toScreenX(xTicks[i]));
        painter->drawLine(x, whole(cc.plotY0), x, whole(cc.plotY1));
        if (shown[i])
            dt.drawFitText(painter, boxes[i], font, tickFlags, 1, tickText(xTicks[i]), 24);
    }
    box = QRectF((cc.plotX0 + cc.plotX1) * 0.5 - 1000, cc.plotY0 - 2 * band, 2000, fill);
    dt.drawFitText(painter, box, font, tickFlags, 1, QStringLiteral("Energy [eV]"), 24);

    pen.setWidth(1);
    pen.setColor(QColor(64, 64, 64));
    painter->setPen(pen);
    const int leftMargin = whole((cc.winX1 - cc.winX0) * cc.marginLeft);
    const int yFlags = Qt::AlignRight | Qt::AlignVCenter;
    const QVector<double> yTicks = cc.tickValues(cc.realY0, cc.realY1);
    boxes.clear();
    for (const double v : yTicks)
        boxes << QRectF(0, whole(cc.toScreenY(v)) - fill / 2, leftMargin * 0.95, fill);
    shown = labelled(cc.realY0, cc.realY1, boxes, yFlags);
    for (int i = 0; i < yTicks.size(); ++i) {
        const int y = whole(cc.toScreenY(yTicks[i]));
        painter->drawLine(whole(cc.plotX0), y, whole(cc.plotX1), y);
        if (shown[i])
            dt.drawFitText(painter, boxes[i], font, yFlags, 1, tickText(yTicks[i]), 24);
    }
    // Read from bottom to top; drawRotatedFitText centres the text on the
    // box's corner, which is |fill| above the plot's vertical middle.
    box = QRectF(leftMargin * 0.4, (cc.plotY1 + cc.plotY0) * 0.5, 1000, fill);
    dt.drawRotatedFitText(painter, 270, box, font, Qt::AlignHCenter | Qt::AlignVCenter, 1,
                          QObject::tr("mut"), 24, false, QColor(255, 255, 255));

    pen.setWidth(2);
    pen.setColor(QColor(0, 0, 0));
    painter->setPen(pen);
    const int left = whole(cc.plotX0);
    const int right = whole(cc.plotX1);
    const int top = whole(cc.plotY1);
    const int bottom = whole(cc.plotY0);
    painter->drawLine(left, bottom, left, top);
    painter->drawLine(left, top, right, top);
    painter->drawLine(right, top, right, bottom);
    painter->drawLine(right, bottom, left, bottom);

    // In file order, unsorted and unclipped; a point that cannot be placed
    // is passed over and its neighbours are joined.
    for (int i = 0; i < points.size(); ++i) {
        const double energy = points.at(i).energy;
        const double mu = mus[size_t(i)];
        if (!plottable(energy, mu))
            continue;
        const QPointF at(cc.toScreenX(energy), cc.toScreenY(mu));
        if (path.elementCount() == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    pen.setWidth(2);
    pen.setColor(QColor(128, 128, 232));
    painter->setPen(pen);
    if (path.elementCount() > 0)
        painter->drawPath(path);

    painter->setFont(painterFont);
}
