#include "app/Startup.h"
#include "data/DataSet.h"

#include <QImage>
#include <QPainter>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// A data set built by hand: one point per energy, I0 fixed and I from mu.
// Without mus the points sit on a K edge near 8979 eV.
std::unique_ptr<DataSet> dataSet(const QVector<double> &energies, QVector<double> mus = {})
{
    auto set = std::make_unique<DataSet>();
    set->fileName = QStringLiteral("Cu_foil_K.dat");
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

QVector<double> edgeEnergies()
{
    QVector<double> e;
    for (double x = 8800; x <= 9300; x += 2.5)
        e << x;
    return e;
}

QImage draw(const DataSet &set, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    set.drawSpectrum(&painter);
    return image;
}

// The plot rectangle: 10 % of the width free at the left, 5 % at the right,
// 5 % of the height at the top and 10 % at the bottom.
QRect plotRect(const QSize &s)
{
    return QRect(QPoint(int(s.width() * 0.1), int(s.height() * 0.05)),
                 QPoint(s.width() - int(s.width() * 0.05), s.height() - int(s.height() * 0.1)));
}

// White corners and the black frame on the plot rectangle's edges.
bool framed(const QImage &image)
{
    const int w = image.width() - 1, h = image.height() - 1;
    for (const QPoint &corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        if (image.pixel(corner) != qRgb(255, 255, 255))
            return false;
    const QRect plot = plotRect(image.size());
    const QPoint c = plot.center();
    for (const QPoint &edge : {QPoint(plot.left(), c.y()), QPoint(plot.right(), c.y()),
                               QPoint(c.x(), plot.top()), QPoint(c.x(), plot.bottom())})
        if (image.pixel(edge) != qRgb(0, 0, 0))
            return false;
    return true;
}

// The box of the pixels that differ between two pictures, or (without the
// second) of the curve-coloured ones; null when there are none.
QRect pixelBox(const QImage &image, const QImage &other = QImage())
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (other.isNull() ? image.pixel(x, y) == qRgb(128, 128, 232)
                               : image.pixel(x, y) != other.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestSpectrum : public QObject
{
    Q_OBJECT
private slots:
    void frameAndCurve_data();
    void frameAndCurve();
    void awkwardData_data();
    void awkwardData();
    void japaneseTitle();
};

void TestSpectrum::frameAndCurve_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("withPoints");
    QTest::newRow("1024 square") << QSize(1024, 1024) << true;
    QTest::newRow("800x600") << QSize(800, 600) << true;
    QTest::newRow("400x300") << QSize(400, 300) << true;
    QTest::newRow("no points") << QSize(1024, 1024) << false;
}

void TestSpectrum::frameAndCurve()
{
    QFETCH(QSize, size);
    QFETCH(bool, withPoints);
    const auto set = dataSet(withPoints ? edgeEnergies() : QVector<double>());
    const QImage image = draw(*set, size);
    QVERIFY(framed(image));
    const QRect curve = pixelBox(image);
    QCOMPARE(!curve.isNull(), withPoints);
    // 5 % of each span stays free inside the frame at both ends.
    const QRect plot = plotRect(size);
    QVERIFY(curve.isNull() || plot.adjusted(2, 2, -2, -2).contains(curve));
    QVERIFY(curve.isNull() || curve.width() > 0.85 * plot.width());
    QVERIFY(curve.isNull() || curve.height() > 0.85 * plot.height());
}

void TestSpectrum::awkwardData_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<QVector<double>>("energies");
    QTest::addColumn<QVector<double>>("mus");
    QTest::addColumn<QVector<double>>("secondCounts"); // replaces I where given
    QTest::addColumn<bool>("curve");
    QTest::addColumn<bool>("wide"); // the curve spans most of the plot's width
    using V = QVector<double>;
    QTest::newRow("one energy") << V{8979, 8979, 8979} << V{0.5, 1, 2} << V() << true << false;
    QTest::newRow("flat absorbance") << V{8900, 9000, 9100} << V{1, 1, 1} << V() << true << true;
    QTest::newRow("single point") << V{8979} << V{1} << V() << false << false;
    QTest::newRow("zero counts") << V{8900, 9000, 9100} << V{2, 1, 3} << V{0, 0, 0} << true << true;
    QTest::newRow("infinite energy")
        << V{8900, inf, 9000, 9100} << V{0.5, 1, 1.5, 2} << V() << true << true;
    QTest::newRow("far from zero")
        << V{1e20, std::nextafter(1e20, 2e20)} << V{1, 2} << V() << true << true;
}

void TestSpectrum::awkwardData()
{
    QFETCH(QVector<double>, energies);
    QFETCH(QVector<double>, mus);
    QFETCH(QVector<double>, secondCounts);
    QFETCH(bool, curve);
    QFETCH(bool, wide);
    const auto set = dataSet(energies, mus);
    for (int i = 0; i < secondCounts.size(); ++i)
        set->points[i].counts[1] = secondCounts[i];
    const QImage image = draw(*set, QSize(600, 400));
    QVERIFY(framed(image));
    const QRect drawn = pixelBox(image);
    QCOMPARE(!drawn.isNull(), curve);
    // Far from zero the 5 % widening is lost in rounding and the curve may
    // lie on the frame, but never beyond it.
    const QRect plot = plotRect(QSize(600, 400));
    QVERIFY(drawn.isNull() || plot.adjusted(-1, -1, 1, 1).contains(drawn));
    QCOMPARE(drawn.width() > plot.width() / 2, wide);
}

void TestSpectrum::japaneseTitle()
{
    const auto set = dataSet(edgeEnergies());
    const QImage english = draw(*set, QSize(800, 600));
    initKorvaneResources();
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":korvane_ja_JP")));
    QCoreApplication::installTranslator(&translator);
    QCOMPARE(QObject::tr("mut"), QString::fromUtf8("μt"));
    const QImage japanese = draw(*set, QSize(800, 600));
    QCoreApplication::removeTranslator(&translator);
    // Only the vertical title in the left margin differs.
    const QRect changed = pixelBox(english, japanese);
    QVERIFY(!changed.isNull());
    QVERIFY(QRect(0, 30, 80, 510).contains(changed));
}

QTEST_MAIN(TestSpectrum)
#include "TestSpectrum.moc"
