#include "plot/DrawText.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

QImage whiteImage()
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box of the pixels that are not white; null when there are none.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestDrawText : public QObject
{
    Q_OBJECT
private slots:
    void fitFont_data();
    void fitFont();
    void band_data();
    void band();
    void fitOffKeepsFont();
    void rotated_data();
    void rotated();
};

void TestDrawText::fitFont_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSizeF>("box");
    QTest::addColumn<double>("size");
    QTest::newRow("empty text") << QString() << QSizeF(2000, 29) << 10.0;
    QTest::newRow("capped") << "Cu foil" << QSizeF(2000, 2000) << 24.0;
    QTest::newRow("zero height") << "Cu foil" << QSizeF(2000, 0) << 0.0;
}

void TestDrawText::fitFont()
{
    QFETCH(QString, text);
    QFETCH(QSizeF, box);
    QFETCH(double, size);
    QImage image = whiteImage();
    QPainter painter(&image);
    const QFont font(QStringLiteral("DejaVu Sans"), 7);
    QCOMPARE(
        DrawText().fitFont(&painter, font, Qt::AlignCenter, text, box.width(), box.height(), 24),
        size);
    // An unusable size leaves the given font in place.
    QCOMPARE(painter.font().pointSizeF(), size > 0 ? size : 7.0);
}

void TestDrawText::band_data()
{
    QTest::addColumn<QRectF>("box"); // growing upwards from y 80
    QTest::addColumn<QRect>("ink");  // where the text must lie; null: nothing drawn
    QTest::newRow("band") << QRectF(10, 80, 380, -30) << QRect(10, 48, 380, 34);
    QTest::newRow("no width") << QRectF(10, 80, 0, -30) << QRect();
}

void TestDrawText::band()
{
    QFETCH(QRectF, box);
    QFETCH(QRect, ink);
    QImage image = whiteImage();
    QPainter painter(&image);
    painter.setPen(Qt::black);
    const QRectF band = box.normalized();
    DrawText().drawFitText(&painter, box, QFont(), Qt::AlignHCenter | Qt::AlignBottom, 1,
                           QStringLiteral("Cu_K.dat"), 24);
    painter.end();
    QCOMPARE(box, band);
    const QRect drawn = inkBox(image);
    QCOMPARE(drawn.isNull(), ink.isNull());
    QVERIFY(drawn.isNull() || ink.contains(drawn));
    // Fitted to the band's height, not left at a small default size.
    QVERIFY(drawn.isNull() || drawn.height() > 15);
}

void TestDrawText::fitOffKeepsFont()
{
    const QFont font(QStringLiteral("DejaVu Sans"), 13);
    const QRectF box(20, 20, 300, 100);
    QImage direct = whiteImage();
    {
        QPainter painter(&direct);
        painter.setFont(font);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("7000"));
    }
    QImage drawn = whiteImage();
    QPainter painter(&drawn);
    QRectF given = box;
    DrawText().drawFitText(&painter, given, font, Qt::AlignCenter, 0, QStringLiteral("7000"), 24);
    QCOMPARE(painter.font().key(), font.key());
    painter.end();
    QCOMPARE(drawn, direct);
}

void TestDrawText::rotated_data()
{
    QTest::addColumn<bool>("background");
    QTest::newRow("plain") << false;
    QTest::newRow("filled") << true;
}

void TestDrawText::rotated()
{
    QFETCH(bool, background);
    QImage image = whiteImage();
    QPainter painter(&image);
    painter.setPen(Qt::black);
    const QFont font;
    // The corner (100, 150) is where the middle of the vertical text lands:
    // the text box runs 120 down the picture and 20 across it.
    QRectF box(100, 170, 120, -20);
    DrawText().drawRotatedFitText(&painter, 270, box, font, Qt::AlignCenter, 1,
                                  QStringLiteral("mu t"), 0, background, Qt::red);
    QCOMPARE(painter.font().key(), font.key());
    QVERIFY(painter.transform().isIdentity());
    painter.end();
    const QRect ink = inkBox(image);
    QVERIFY(!ink.isNull());
    QVERIFY(QRect(89, 89, 23, 123).contains(ink));
    QVERIFY(ink.height() > ink.width());
    QCOMPARE(image.pixel(100, 92) == qRgb(255, 0, 0), background);
}

QTEST_MAIN(TestDrawText)
#include "TestDrawText.moc"
