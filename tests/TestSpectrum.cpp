// The spectrum picture and its pieces: chart coordinates and fitted text.

#include "app/Startup.h"
#include "data/DataSet.h"
#include "plot/ChCoord.h"
#include "plot/DrawText.h"

#include "TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

using V = QVector<double>;
const double inf = std::numeric_limits<double>::infinity();

// A data set built by hand: one point per energy, I0 fixed and I from mu.
// Without mus the points sit on a K edge near 8979 eV.
std::unique_ptr<DataSet> dataSet(const V &energies, V mus)
{
    auto set = std::make_unique<DataSet>();
    for (int i = 0; i < energies.size(); ++i) {
        const double e = energies[i];
        if (mus.size() <= i)
            mus << 0.4 + 1.2 / (1 + std::exp((8979 - e) / 3)) +
                       0.3 * std::exp(-(e - 8995) * (e - 8995) / 200);
        DataPoint point;
        point.energy = e;
        point.counts = {1e5, 1e5 / std::exp(mus[i])};
        set->points.append(point);
        set->xMin = qMin(set->xMin, e);
        set->xMax = qMax(set->xMax, e);
        set->yMin = qMin(set->yMin, mus[i]);
        set->yMax = qMax(set->yMax, mus[i]);
    }
    return set;
}

V edgeEnergies()
{
    V edge;
    for (double x = 8800; x <= 9300; x += 2.5)
        edge << x;
    return edge;
}

QImage image(const QSize &size = QSize(400, 300))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage draw(const DataSet &set)
{
    QImage picture = image(QSize(333, 257));
    QPainter painter(&picture);
    set.drawSpectrum(&painter);
    return picture;
}

// The box of the pixels of picture that differ from other's or, given a
// colour, of those of that colour; null when there are none.
QRect pixelBox(const QImage &picture, const QImage &other, QRgb colour = 0)
{
    QRect box;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (colour ? picture.pixel(x, y) == colour : picture.pixel(x, y) != other.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestSpectrum : public QObject
{
    Q_OBJECT
private slots:
    void spectrum_data();
    void spectrum();
    void absorbance_data();
    void absorbance();
    void japaneseTitle();
    void ticks_data();
    void ticks();
    void fitText_data();
    void fitText();
};

void TestSpectrum::spectrum_data()
{
    QTest::addColumn<V>("energies");
    QTest::addColumn<V>("mus");
    QTest::addColumn<V>("secondCounts"); // replaces I where given
    QTest::addColumn<bool>("curve");
    QTest::addColumn<int>("wide"); // 1: over half the plot's width; 2: all of it but 5 % each side
    const V edge = edgeEnergies();
    QTest::newRow("K edge") << edge << V() << V() << true << 2;
    QTest::newRow("no points") << V() << V() << V() << false << 0;
    QTest::newRow("one energy") << V{8979, 8979, 8979} << V{0.5, 1, 2} << V() << true << 0;
    QTest::newRow("flat absorbance") << V{8900, 9000, 9100} << V{1, 1, 1} << V() << true << 1;
    QTest::newRow("single point") << V{8979} << V{1} << V() << false << 0;
    QTest::newRow("zero counts") << V{8900, 9000, 9100} << V{2, 1, 3} << V{0, 0, 0} << true << 1;
    QTest::newRow("infinite energy")
        << V{8900, inf, 9000, 9100} << V{0.5, 1, 1.5, 2} << V() << true << 1;
    QTest::newRow("far from zero")
        << V{1e20, std::nextafter(1e20, 2e20)} << V{1, 2} << V() << true << 1;
}

void TestSpectrum::spectrum()
{
    QFETCH(V, energies);
    QFETCH(V, mus);
    QFETCH(V, secondCounts);
    QFETCH(int, wide);
    const auto set = dataSet(energies, mus);
    for (int i = 0; i < secondCounts.size(); ++i)
        set->points[i].counts[1] = secondCounts[i];
    const QImage picture = draw(*set);
    // A white corner, the black frame on the plot rectangle's edges: 10 % of
    // the width free at the left, 5 % at the right, 5 % of the height at the
    // top and 10 % at the bottom, each cut toward zero (-12.85 to -12).
    const QRect plot(QPoint(33, 12), QPoint(317, 232));
    QCOMPARE(picture.pixel(0, 256), qRgb(255, 255, 255));
    for (const QPoint &p : {QPoint(33, 120), QPoint(317, 120), QPoint(175, 12), QPoint(175, 232)})
        QCOMPARE(picture.pixel(p), qRgb(0, 0, 0));
    const QRect curve = pixelBox(picture, picture, qRgb(128, 128, 232));
    QTEST(!curve.isNull(), "curve");
    // Far from zero the 5 % widening is lost in rounding and the curve may
    // lie on the frame, but never beyond it.
    QVERIFY(curve.isNull() || plot.adjusted(-1, -1, 1, 1).contains(curve));
    QCOMPARE(curve.width() > plot.width() / 2, wide > 0);
    if (wide == 2) {
        QVERIFY(plot.adjusted(2, 2, -2, -2).contains(curve));
        QVERIFY(curve.width() > 0.85 * plot.width() && curve.height() > 0.85 * plot.height());
    }
}

void TestSpectrum::absorbance_data()
{
    QTest::addColumn<QVector<int>>("modes");
    QTest::addColumn<QString>("channels"); // I0, Transmitted, Fluorescence, Rising
    QTest::addColumn<QString>("scanLine");
    auto row = [](const char *name, const QVector<int> &modes, const QString &channels,
                  const QString &scanLine = {}) {
        QTest::newRow(name) << modes << channels << scanLine;
    };
    row("all mode 1", {1, 1, 1}, "ITF");
    row("mode 1 2", {1, 2}, "IT");
    row("I0 second", {2, 1}, "TI");
    row("no mode 2, I0 second", {5, 1, 5}, "TIF");
    row("mode 1 3", {1, 3}, "IF");
    row("fluorescence first", {3, 1, 4, 103, 101, 104, 5, 5, 5}, "FIFFFFFFF");
    row("mode 1 3 beside 2", {1, 3, 2}, "IFT");
    row("line 6 says so", {1, 2, 3}, "IRF", "BLX1      Fluorescence( 3)   Repetition= 1");
}

// The K edge rises whichever channels the Mode line and line 6 pick.
void TestSpectrum::absorbance()
{
    QFETCH(QVector<int>, modes);
    QFETCH(QString, channels);
    QFETCH(QString, scanLine);
    const auto set = dataSet(edgeEnergies(), {});
    set->header.modes = modes;
    set->header.scanLine = scanLine;
    for (DataPoint &point : set->points) {
        const double mu = std::log(point.counts[0] / point.counts[1]);
        point.counts.clear();
        for (const QChar c : channels)
            point.counts << (c == 'I'   ? 1e5
                             : c == 'T' ? 1e5 / std::exp(mu)
                             : c == 'F' ? 1e3 * mu
                                        : 1e5 * std::exp(mu));
    }
    QVERIFY(curveRise(draw(*set)) > 100);
}

void TestSpectrum::japaneseTitle()
{
    const auto set = dataSet({8900, 8980, 9100}, {});
    const QImage english = draw(*set);
    initKorvaneResources();
    QTranslator translator;
    QVERIFY(translator.load(":korvane_ja_JP"));
    QCoreApplication::installTranslator(&translator);
    QCOMPARE(QObject::tr("mut"), QString::fromUtf8("μt"));
    const QImage japanese = draw(*set);
    QCoreApplication::removeTranslator(&translator);
    // Only the vertical title in the left margin differs.
    const QRect changed = pixelBox(english, japanese);
    QVERIFY(!changed.isNull());
    QVERIFY(QRect(0, 12, 33, 220).contains(changed));
}

void TestSpectrum::ticks_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<V>("ticks"); // empty: no ticks at all
    QTest::newRow("span 870") << 100.0 << 970.0 << V{200, 400, 600, 800};
    QTest::newRow("span 0.33") << 0.9 << 1.23 << V{0.9, 0.95, 1.0, 1.05, 1.1, 1.15, 1.2};
    QTest::newRow("reversed") << 5.0 << 1.0 << V{1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5};
    QTest::newRow("negative") << -0.37 << -0.02 << V{-0.35, -0.3, -0.25, -0.2, -0.15, -0.1, -0.05};
    QTest::newRow("zero span") << 3.0 << 3.0 << V();
    QTest::newRow("infinite") << 0.0 << inf << V();
    QTest::newRow("not a number") << std::nan("") << 1.0 << V();
    QTest::newRow("overflowing span") << -1e308 << 1e308 << V();
}

void TestSpectrum::ticks()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(V, ticks);
    ChCoord cc;
    double step = 0, first = 0, last = 0;
    QCOMPARE(cc.calcTicks(a, b, step, first, last), !ticks.isEmpty());
    const V values = cc.tickValues(a, b);
    QCOMPARE(values.size(), ticks.size());
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(values[i], ticks[i]);
    if (ticks.isEmpty())
        return;
    QCOMPARE(step, ticks[1] - ticks[0]);
    QCOMPARE(first, ticks.first());
    QCOMPARE(last, ticks.last());
}

void TestSpectrum::fitText_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("fit");
    QTest::addColumn<QRectF>("box"); // growing upwards
    QTest::addColumn<QRect>("ink");  // where the text must lie; null: nothing drawn
    QTest::addColumn<bool>("background");
    const QRectF band(10, 80, 380, -30);
    QTest::newRow("band") << 0 << 1 << band << QRect(10, 48, 380, 34) << false;
    QTest::newRow("no width") << 0 << 1 << QRectF(10, 80, 0, -30) << QRect() << false;
    QTest::newRow("not fitted") << 0 << 0 << band << QRect() << false;
    QTest::newRow("capped at 24 points")
        << 0 << 1 << QRectF(10, 290, 380, -280) << QRect(10, 250, 380, 42) << false;
    // The corner (100, 150) is where the middle of the vertical text lands:
    // the text box runs 120 down the picture and 20 across it.
    const QRectF upright(100, 170, 120, -20);
    QTest::newRow("rotated") << 270 << 1 << upright << QRect(89, 89, 23, 123) << false;
    QTest::newRow("rotated on red") << 270 << 1 << upright << QRect(89, 89, 23, 123) << true;
}

void TestSpectrum::fitText()
{
    QFETCH(int, angle);
    QFETCH(int, fit);
    QFETCH(QRectF, box);
    QFETCH(QRect, ink);
    QFETCH(bool, background);
    const QFont font("DejaVu Sans", 13);
    const int flags = Qt::AlignHCenter | Qt::AlignBottom;
    const QRectF normal = box.normalized();
    QImage picture = image();
    QPainter painter(&picture);
    if (angle == 0)
        DrawText().drawFitText(&painter, box, font, flags, fit, "Cu_K.dat", 24);
    else
        DrawText().drawRotatedFitText(&painter, angle, box, font, flags, fit, "Cu_K.dat", 0,
                                      background, Qt::red);
    QCOMPARE(painter.font().key(), font.key());
    QVERIFY(painter.transform().isIdentity());
    painter.end();
    QCOMPARE(box, angle ? box : normal);
    QImage direct = image();
    if (!fit) { // drawn in the given font as it is
        QPainter painter(&direct);
        painter.setFont(font);
        painter.drawText(normal, flags, "Cu_K.dat");
        painter.end();
        QCOMPARE(picture, direct);
        return;
    }
    const QRect drawn = pixelBox(picture, direct);
    QCOMPARE(drawn.isNull(), ink.isNull());
    QVERIFY(drawn.isNull() || ink.contains(drawn));
    // Fitted to the box, not left at a small default size.
    QVERIFY(drawn.isNull() || (angle ? drawn.height() > drawn.width() : drawn.height() > 15));
    QCOMPARE(picture.pixel(100, 92) == qRgb(255, 0, 0), background);
}

QTEST_MAIN(TestSpectrum)
#include "TestSpectrum.moc"
