#pragma once
// Chart text drawn into a box, its font sized to fill the box.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace korvane {

class DrawText
{
public:
    // Sizes a copy of font so that text, measured at 10 points, fills a box of
    // width x height; above 0, maxPointSize caps the size. A usable size is
    // made the painter's font and returned. A size of 0 or below (a box
    // without width or height) or one that is not finite is returned with
    // font itself as the painter's font, and the caller draws nothing.
    double fitFont(QPainter *painter, const QFont &font, int flags, const QString &text,
                   double width, double height, double maxPointSize);
    // The rectangle the text of drawFitText with the same arguments fills, as
    // the painter measures it; an empty one when nothing would be drawn. The
    // painter's font is left as given.
    QRectF fitTextRect(QPainter *painter, QRectF box, const QFont &font, int flags, int fit,
                       const QString &text, double maxPointSize);
    // The box is normalised in place (negative width or height flipped).
    void drawFitText(QPainter *painter, QRectF &box, const QFont &font, int flags, int fit,
                     const QString &text, double maxPointSize);
    void drawRotatedFitText(QPainter *painter, double angle, QRectF &box, const QFont &font,
                            int flags, int fit, const QString &text, double maxPointSize,
                            bool background, const QColor &backgroundColour);
    // The rectangle on the painter's window that the text of drawRotatedFitText
    // with the same arguments covers; an empty one when nothing would be drawn.
    QRectF rotatedFitTextRect(QPainter *painter, double angle, QRectF box, const QFont &font,
                              int flags, int fit, const QString &text, double maxPointSize);

private:
    // Makes the font the text is drawn in the painter's font: fitted to
    // width x height when fit is 1, else font itself. False when the text is
    // not drawn at all.
    bool setTextFont(QPainter *painter, const QFont &font, int flags, int fit, const QString &text,
                     double width, double height, double maxPointSize);
};

} // namespace korvane
