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

QImage draw(const DataSet &set, const QSize &size = QSize(333, 257))
{
    QImage picture = image(size);
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
    void tickLabels_data();
    void tickLabels();
    void ticks_data();
    void ticks();
    void labelled_data();
    void labelled();
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

void TestSpectrum::tickLabels_data()
{
    QTest::addColumn<V>("energies");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("thinned"); // every tick labelled in a picture that has room
    const V wide{14800, 17400};
    QTest::newRow("wide range") << wide << QSize(1024, 1024) << true;
    QTest::newRow("wide range, tall") << wide << QSize(500, 1200) << true;
    QTest::newRow("wide range, small") << wide << QSize(200, 150) << false;
    QTest::newRow("K edge") << V{8800, 9300} << QSize(1024, 1024) << false;
    QTest::newRow("K edge, narrow") << V{8800, 9300} << QSize(240, 1024) << true;
}

void TestSpectrum::tickLabels()
{
    QFETCH(V, energies);
    QFETCH(QSize, size);
    const QImage picture = draw(*dataSet(energies, {0.5, 2}), size);
    const int top = size.height() / 20, bottom = size.height() - size.height() / 10;
    const int rows = (bottom - top) / 30; // the band of the labels under the plot
    const auto ink = [&](int x) {
        for (int y = bottom + 2; y <= bottom + rows; ++y)
            if (picture.pixel(x, y) != qRgb(255, 255, 255))
                return true;
        return false;
    };
    QVector<int> ticks; // the columns of the grid lines
    for (int x = size.width() / 10 + 2; x < size.width() * 19 / 20 - 1; ++x) {
        int grey = 0;
        for (int y = top; y < bottom; ++y)
            grey += picture.pixel(x, y) == qRgb(64, 64, 64);
        if (grey > (bottom - top) * 3 / 4)
            ticks << x;
    }
    // Labels are the pieces of ink apart by more than the room between two
    // digits of one label; each must be centred on a tick.
    QVector<int> labelled;
    for (int x = 0, from = -1, to = 0; x <= size.width(); ++x) {
        if (x < size.width() && ink(x)) {
            from = from < 0 ? x : from;
            to = x;
        } else if (from >= 0 && (x - to > rows / 3 || x == size.width())) {
            const int at = (from + to) / 2;
            const auto tick = std::find_if(ticks.begin(), ticks.end(),
                                           [at](int t) { return std::abs(t - at) <= 2; });
            QVERIFY2(tick != ticks.end(), qPrintable(QString::number(at)));
            labelled << int(tick - ticks.begin());
            from = -1;
        }
    }
    QVERIFY(labelled.size() >= 2);
    const int k = labelled[1] - labelled[0];
    QTEST(k > 1, "thinned");
    QVERIFY(labelled.first() < k && labelled.last() >= ticks.size() - k);
    for (int i = 1; i < labelled.size(); ++i)
        QCOMPARE(labelled[i] - labelled[i - 1], k);
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

void TestSpectrum::labelled_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<QPointF>("perUnit"); // where a tick's label lies: its value times this
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<V>("labelled");
    const QPointF row(1, 0), column(0, -400);
    const V all{200, 400, 600, 800}, thirds{15000, 15600, 16200, 16800, 17400};
    QTest::newRow("apart") << 100.0 << 970.0 << row << QSizeF(199, 9) << all;
    QTest::newRow("touching") << 100.0 << 970.0 << row << QSizeF(200, 9) << V{400, 800};
    QTest::newRow("one left") << 100.0 << 970.0 << row << QSizeF(401, 9) << V{600};
    QTest::newRow("every third") << 14670.0 << 17530.0 << row * 0.3 << QSizeF(130, 9) << thirds;
    QTest::newRow("round") << -0.37 << -0.02 << row * 1e3 << QSizeF(60, 9) << V{-0.3, -0.2, -0.1};
    QTest::newRow("stacked") << 0.9 << 1.23 << column << QSizeF(30, 25) << V{0.9, 1, 1.1, 1.2};
    QTest::newRow("drawn nowhere") << 100.0 << 970.0 << QPointF() << QSizeF(0, 0) << all;
}

void TestSpectrum::labelled()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(QPointF, perUnit);
    QFETCH(QSizeF, size);
    QFETCH(V, labelled);
    ChCoord cc;
    const V ticks = cc.tickValues(a, b);
    QVector<QRectF> labels;
    for (const double v : ticks)
        labels << QRectF(perUnit * v, size);
    const QVector<bool> shown = cc.labelledTicks(a, b, labels);
    QCOMPARE(shown.size(), ticks.size());
    V values;
    for (int i = 0; i < ticks.size(); ++i)
        if (shown[i])
            values << ticks[i];
    QCOMPARE(values.size(), labelled.size());
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(values[i], labelled[i]);
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
