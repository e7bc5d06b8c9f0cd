#pragma once
// Chart text drawn into a box, its font sized to fill the box.

#include <QColor>
#include <QFont>
#include <QObject>
#include <QRectF>

class QPainter;

class DrawText : public QObject
{
    Q_OBJECT
public:
    explicit DrawText(QObject *parent = nullptr) : QObject(parent) {}

    void drawFitText(QPainter *painter, QRectF &box, const QFont &font, int flags, int fit,
                     const QString &text, double maxPointSize);
    void drawRotatedFitText(QPainter *painter, double angle, QRectF &box, const QFont &font,
                            int flags, int fit, const QString &text, double maxPointSize,
                            bool background, const QColor &backgroundColour);
};
