#pragma once
// Coordinates of a chart on a painter: drawing and plot rectangles, the real
// ranges shown, and the ticks of an axis.

#include <QRectF>
#include <QVector>

namespace korvane {

class ChCoord
{
public:
    double winX0 = 0, winX1 = 1;
    double winY0 = 0, winY1 = 1; // bottom, top: for a picture winY0 is the larger
    double plotX0 = 0, plotX1 = 1;
    double plotY0 = 0, plotY1 = 1;
    double realX0 = 0, realX1 = 1;
    double realY0 = 0, realY1 = 1;
    double marginLeft = 0.1;
    double marginRight = 0.05;
    double marginTop = 0.05;
    double marginBottom = 0.1;
    int labelDiv = 20;
    double labelFill = 0.85;

    void setScreenRect(double left, double bottom, double right, double top);
    void applyMargins();
    void setRealRange(double x0, double y0, double x1, double y1);
    double toScreenX(double x) const;
    double toScreenY(double y) const;
    // Tick step, first and last tick between a and b. Returns false (and
    // leaves no usable ticks) when the span is zero or not finite.
    bool calcTicks(double a, double b, double &step, double &first, double &last) const;
    // Every tick value from first to last of calcTicks, at most maxTicks of
    // them; empty when calcTicks finds no ticks.
    QVector<double> tickValues(double a, double b) const;
    // Which ticks of tickValues(a, b) carry a label, given the rectangle each
    // label fills (an empty one takes no room). Where neighbouring labels
    // would touch or overlap, only the ticks at whole multiples of k steps
    // are labelled, k the smallest that keeps the labelled ones apart.
    QVector<bool> labelledTicks(double a, double b, const QVector<QRectF> &labels) const;

    static constexpr int maxTicks = 400;
};

} // namespace korvane
