#include "plot/Spectrum.h"

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

namespace korvane {

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

// What the plot is drawn from: each point's absorbance, and the ranges the
// drawable points span. The record's own ranges keep their +-1e300 start
// values when there are no points and may be infinite for a point at angle
// 0, so the ranges are taken from the points that can be drawn at all;
// without any, both axes have no span: no ticks, everything else still drawn.
struct PlotData
{
    std::vector<double> mus; // the reader's absorbance, kept for the curve
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

PlotData plotData(const DataSet &dataSet)
{
    PlotData data;
    const AbsorbanceChannels channels = absorbanceChannels(dataSet.header);
    data.mus.reserve(size_t(dataSet.points.size()));
    double x0 = std::numeric_limits<double>::infinity(), x1 = -x0;
    double y0 = x0, y1 = -x0;
    for (const DataPoint &point : dataSet.points) {
        const double mu = absorbance(channels, point.counts);
        data.mus.push_back(mu);
        if (!plottable(point.energy, mu))
            continue;
        x0 = std::min(x0, point.energy);
        x1 = std::max(x1, point.energy);
        y0 = std::min(y0, mu);
        y1 = std::max(y1, mu);
    }
    if (x0 <= x1) {
        data.x0 = x0;
        data.x1 = x1;
        data.y0 = y0;
        data.y1 = y1;
    }
    return data;
}

// The picture's pieces share the chart's coordinates, the fitted-text
// drawer and the height of one label band.
struct Chart
{
    QPainter *painter;
    ChCoord cc;
    DrawText dt;
    const QFont font;
    int band = 0; // negative, since the plot's top is the smaller screen y
    int fill = 0;

    explicit Chart(QPainter *p) : painter(p) {}

    void setPen(int width, const QColor &colour)
    {
        QPen pen;
        pen.setWidth(width);
        pen.setColor(colour);
        painter->setPen(pen);
    }

    static QString tickText(double v) { return QString::number(v, 'g', 6); }

    // A tick label that would touch its neighbour, measured in the font it
    // is drawn in, leaves room by labelling fewer ticks; the grid keeps them
    // all.
    QVector<bool> labelled(double a, double b, const QVector<QRectF> &boxes, int flags)
    {
        const QVector<double> ticks = cc.tickValues(a, b);
        QVector<QRectF> labels;
        for (int i = 0; i < ticks.size(); ++i)
            labels << dt.fitTextRect(painter, boxes[i], font, flags, 1, tickText(ticks[i]), 24);
        return cc.labelledTicks(a, b, labels);
    }
};

void drawXAxis(Chart &c)
{
    const int tickFlags = Qt::AlignHCenter | Qt::AlignTop;
    ChCoord &cc = c.cc;
    c.setPen(1, QColor(64, 64, 64));
    const QVector<double> ticks = cc.tickValues(cc.realX0, cc.realX1);
    QVector<QRectF> boxes;
    for (const double v : ticks)
        boxes << QRectF(whole(cc.toScreenX(v)) - 1000, cc.plotY0 - c.band, 2000,
                        whole(cc.labelFill * c.band));
    const QVector<bool> shown = c.labelled(cc.realX0, cc.realX1, boxes, tickFlags);
    for (int i = 0; i < ticks.size(); ++i) {
        const int x = whole(cc.toScreenX(ticks[i]));
        c.painter->drawLine(x, whole(cc.plotY0), x, whole(cc.plotY1));
        if (shown[i])
            c.dt.drawFitText(c.painter, boxes[i], c.font, tickFlags, 1, Chart::tickText(ticks[i]),
                             24);
    }
    QRectF box((cc.plotX0 + cc.plotX1) * 0.5 - 1000, cc.plotY0 - 2 * c.band, 2000, c.fill);
    c.dt.drawFitText(c.painter, box, c.font, tickFlags, 1, QStringLiteral("Energy [eV]"), 24);
}

// Where the rotated title of the absorption axis is drawn: left of the tick
// labels' middle band. Where long labels would touch it, it moves into the
// free band left of the widest label, its font fitted to that band with a
// pixel to spare on either side.
QRectF yTitleBox(Chart &c, const QString &title, const QVector<QRectF> &labels)
{
    const ChCoord &cc = c.cc;
    const int leftMargin = whole((cc.winX1 - cc.winX0) * cc.marginLeft);
    const double middle = (cc.plotY1 + cc.plotY0) * 0.5;
    const int flags = Qt::AlignHCenter | Qt::AlignVCenter;
    const QRectF box(leftMargin * 0.4, middle, 1000, c.fill);
    const QRectF drawn = c.dt.rotatedFitTextRect(c.painter, 270, box, c.font, flags, 1, title, 24);
    double freeRight = cc.plotX0;
    bool touching = false;
    for (const QRectF &label : labels) {
        freeRight = std::min(freeRight, label.left());
        touching = touching || drawn.adjusted(-1, -1, 1, 1).intersects(label);
    }
    if (!touching)
        return box;
    // With no room left of the labels (a narrow picture's labels fill the
    // margin) the title is left out: a zero height draws nothing.
    const double band = freeRight - cc.winX0;
    return QRectF(cc.winX0 + band * 0.5, middle, 1000,
                  std::clamp<double>(band - 2, 0, std::abs(c.fill)));
}

void drawYAxis(Chart &c)
{
    ChCoord &cc = c.cc;
    c.setPen(1, QColor(64, 64, 64));
    const int leftMargin = whole((cc.winX1 - cc.winX0) * cc.marginLeft);
    const int yFlags = Qt::AlignRight | Qt::AlignVCenter;
    const QVector<double> ticks = cc.tickValues(cc.realY0, cc.realY1);
    QVector<QRectF> boxes;
    for (const double v : ticks)
        boxes << QRectF(0, whole(cc.toScreenY(v)) - c.fill / 2, leftMargin * 0.95, c.fill);
    const QVector<bool> shown = c.labelled(cc.realY0, cc.realY1, boxes, yFlags);
    QVector<QRectF> labels;
    for (int i = 0; i < ticks.size(); ++i) {
        const int y = whole(cc.toScreenY(ticks[i]));
        c.painter->drawLine(whole(cc.plotX0), y, whole(cc.plotX1), y);
        if (!shown[i])
            continue;
        const QString text = Chart::tickText(ticks[i]);
        labels << c.dt.fitTextRect(c.painter, boxes[i], c.font, yFlags, 1, text, 24);
        c.dt.drawFitText(c.painter, boxes[i], c.font, yFlags, 1, text, 24);
    }
    // Read from bottom to top, centred on the box's corner.
    const QString title = QObject::tr("mut");
    QRectF box = yTitleBox(c, title, labels);
    c.dt.drawRotatedFitText(c.painter, 270, box, c.font, Qt::AlignHCenter | Qt::AlignVCenter, 1,
                            title, 24, false, QColor(255, 255, 255));
}

void drawFrame(Chart &c)
{
    const ChCoord &cc = c.cc;
    c.setPen(2, QColor(0, 0, 0));
    const int left = whole(cc.plotX0);
    const int right = whole(cc.plotX1);
    const int top = whole(cc.plotY1);
    const int bottom = whole(cc.plotY0);
    c.painter->drawLine(left, bottom, left, top);
    c.painter->drawLine(left, top, right, top);
    c.painter->drawLine(right, top, right, bottom);
    c.painter->drawLine(right, bottom, left, bottom);
}

// In file order, unsorted and unclipped; a point that cannot be placed is
// passed over and its neighbours are joined.
void drawCurve(Chart &c, const DataSet &dataSet, const PlotData &data)
{
    QPainterPath path;
    for (int i = 0; i < dataSet.points.size(); ++i) {
        const double energy = dataSet.points.at(i).energy;
        const double mu = data.mus[size_t(i)];
        if (!plottable(energy, mu))
            continue;
        const QPointF at(c.cc.toScreenX(energy), c.cc.toScreenY(mu));
        if (path.elementCount() == 0)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    c.setPen(2, QColor(128, 128, 232));
    if (path.elementCount() > 0)
        c.painter->drawPath(path);
}

} // namespace

void drawSpectrum(QPainter *painter, const DataSet &dataSet)
{
    const QFont painterFont = painter->font();
    Chart c(painter);
    ChCoord &cc = c.cc;
    const QRect window = painter->window();
    cc.setScreenRect(window.left(), window.bottom() + 1, window.right() + 1, window.top());
    painter->fillRect(window, QColor(255, 255, 255));
    cc.applyMargins();

    const PlotData data = plotData(dataSet);
    cc.setRealRange(data.x0, data.y0, data.x1, data.y1);
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
    c.band = whole((cc.plotY1 - cc.plotY0) / cc.labelDiv);
    c.fill = whole(c.band * cc.labelFill);

    c.setPen(2, QColor(0, 0, 0));
    QRectF title((cc.winX0 + cc.winX1) * 0.5 - 1000, cc.plotY1, 2000, c.band);
    c.dt.drawFitText(painter, title, c.font, Qt::AlignHCenter | Qt::AlignBottom, 1,
                     dataSet.fileName, 24);
    drawXAxis(c);
    drawYAxis(c);
    drawFrame(c);
    drawCurve(c, dataSet, data);
    painter->setFont(painterFont);
}

} // namespace korvane
