#include "plot/DrawText.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace korvane {

namespace {

bool usableSize(double pointSize)
{
    return pointSize > 0 && std::isfinite(pointSize);
}

// The text box of a rotated text, in the rotated frame: the corner of box
// (normalised) becomes the middle of the text there.
QRectF rotatedTextBox(double angle, const QRectF &box)
{
    const double x0 = box.left();
    const double y0 = box.top();
    const double w = box.width();
    const double h = box.height();
    const double rad = angle / 180 * 3.141592653;
    return QRectF(std::cos(rad) * x0 + std::sin(rad) * y0 - w * 0.5,
                  std::sin(-rad) * x0 + std::cos(rad) * y0 - h * 0.5, w, h);
}

} // namespace

double DrawText::fitFont(QPainter *painter, const QFont &font, int flags, const QString &text,
                         double width, double height, double maxPointSize)
{
    // Text extents grow nearly in proportion to the point size, so one
    // measurement at 10 points tells the size that fills the box.
    QFont fitted(font);
    fitted.setPointSizeF(10.0);
    painter->setFont(fitted);
    const QRectF measured = painter->boundingRect(QRectF(0, 0, 5000, 5000), flags, text);
    const double sx = measured.width() != 0 ? width / measured.width() : 1;
    const double sy = measured.height() != 0 ? height / measured.height() : 1;
    double size = 10 * std::min(sx, sy);
    if (maxPointSize > 0 && maxPointSize < size)
        size = maxPointSize;
    if (!usableSize(size)) {
        // QFont refuses such a size with a warning and keeps its own.
        painter->setFont(font);
        return size;
    }
    fitted.setPointSizeF(size);
    painter->setFont(fitted);
    return size;
}

bool DrawText::setTextFont(QPainter *painter, const QFont &font, int flags, int fit,
                           const QString &text, double width, double height, double maxPointSize)
{
    if (fit != 1) {
        painter->setFont(font);
        return true;
    }
    return usableSize(fitFont(painter, font, flags, text, width, height, maxPointSize));
}

QRectF DrawText::fitTextRect(QPainter *painter, QRectF box, const QFont &font, int flags, int fit,
                             const QString &text, double maxPointSize)
{
    box = box.normalized();
    const bool drawn =
        setTextFont(painter, font, flags, fit, text, box.width(), box.height(), maxPointSize);
    const QRectF filled = drawn ? painter->boundingRect(box, flags, text) : QRectF();
    painter->setFont(font);
    return filled;
}

void DrawText::drawFitText(QPainter *painter, QRectF &box, const QFont &font, int flags, int fit,
                           const QString &text, double maxPointSize)
{
    // Bands are often given growing upwards from a line (negative height);
    // the normalised box is the band itself.
    box = box.normalized();
    if (setTextFont(painter, font, flags, fit, text, box.width(), box.height(), maxPointSize))
        painter->drawText(box, flags, text);
    painter->setFont(font);
}

void DrawText::drawRotatedFitText(QPainter *painter, double angle, QRectF &box, const QFont &font,
                                  int flags, int fit, const QString &text, double maxPointSize,
                                  bool background, const QColor &backgroundColour)
{
    box = box.normalized();
    const QRectF textBox = rotatedTextBox(angle, box);
    painter->rotate(angle);
    const bool draw =
        setTextFont(painter, font, flags, fit, text, box.width(), box.height(), maxPointSize);
    if (background)
        painter->fillRect(textBox, backgroundColour);
    if (draw)
        painter->drawText(textBox, flags, text);
    painter->setFont(font);
    painter->rotate(-angle);
}

QRectF DrawText::rotatedFitTextRect(QPainter *painter, double angle, QRectF box, const QFont &font,
                                    int flags, int fit, const QString &text, double maxPointSize)
{
    box = box.normalized();
    const QRectF textBox = rotatedTextBox(angle, box);
    const bool drawn =
        setTextFont(painter, font, flags, fit, text, box.width(), box.height(), maxPointSize);
    const QRectF filled = drawn ? painter->boundingRect(textBox, flags, text) : QRectF();
    painter->setFont(font);
    return drawn ? QTransform().rotate(angle).mapRect(filled) : QRectF();
}

} // namespace korvane
