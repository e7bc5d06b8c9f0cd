// The spectrum picture and its pieces: chart coordinates and fitted text.

#include "data/DataSet.h"
#include "plot/ChCoord.h"
#include "plot/DrawText.h"
#include "plot/Spectrum.h"

#include "TestSupport.h"

#include <QPainter>
#include <QTranslator>

#include <cmath>
#include <limits>

namespace {

using V = QVector<double>;
const double inf = std::numeric_limits<double>::infinity();

// A data set built by hand: one point per energy, I0 fixed and I from mu. Without mus the points
// sit on a K edge near 8979 eV, measured in fluorescence: line 6 says so beside a channel of mode
// 2, and the edge rises in the third channel over I0 but would fall as ln(I0 / I1).
std::unique_ptr<DataSet> dataSet(const V &energies, const V &mus = {})
{
    auto set = std::make_unique<DataSet>();
    for (int i = 0; i < energies.size(); ++i) {
        const double e = energies[i];
        const double mu = i < mus.size() ? mus[i]
                                         : 0.4 + 1.2 / (1 + std::exp((8979 - e) / 3)) +
                                               0.3 * std::exp(-(e - 8995) * (e - 8995) / 200);
        DataPoint point;
        point.energy = e;
        point.counts = {1e5, 1e5 / std::exp(mu)};
        if (mus.isEmpty())
            point.counts = {1e5, 1e5 * std::exp(mu), 1e3 * mu};
        set->points.append(point);
    }
    if (mus.isEmpty()) {
        set->header.modes = {1, 2, 3};
        set->header.scanLine = "BLX1      Fluorescence( 3)   Repetition= 1";
    }
    return set;
}

QImage draw(const DataSet &set, const QSize &size = QSize(333, 257))
{
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    drawSpectrum(&painter, set);
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

// Draws the absorption axis' title as a blank, so that a picture without it
// tells its pixels apart from the tick labels'.
class NoYTitle : public QTranslator
{
public:
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return QLatin1String(source) == QLatin1String("mut") ? QStringLiteral(" ") : QString();
    }
};

} // namespace

class TestSpectrum : public QObject
{
    Q_OBJECT
private slots:
    void spectrum_data();
    void spectrum();
    void tickLabels_data();
    void tickLabels();
    void ticks_data();
    void ticks();
    void fitText_data();
    void fitText();
    void yTitle_data();
    void yTitle();
};

void TestSpectrum::spectrum_data()
{
    QTest::addColumn<V>("energies");
    QTest::addColumn<V>("mus");
    // 0: no curve; 1: a curve, 2: over half the plot's width, 3: all of it but 5 % each side
    QTest::addColumn<int>("curve");
    const V flat{8900, 9000, 9100};
    V edge;
    for (double x = 8800; x <= 9300; x += 2.5)
        edge << x;
    QTest::newRow("K edge") << edge << V() << 3;
    QTest::newRow("no points") << V() << V() << 0;
    QTest::newRow("one energy") << V{8979, 8979, 8979} << V{0.5, 1, 2} << 1;
    QTest::newRow("flat absorbance") << flat << V{1, 1, 1} << 2;
    QTest::newRow("single point") << V{8979} << V{1} << 0;
    QTest::newRow("zero counts") << flat << V{inf, inf, inf} << 2;
    QTest::newRow("infinite energy") << V{8900, inf, 9000} << V{0.5, 1, 2} << 3;
    QTest::newRow("far from zero") << V{1e20, std::nextafter(1e20, 2e20)} << V{1, 2} << 2;
}

void TestSpectrum::spectrum()
{
    QFETCH(V, energies);
    QFETCH(V, mus);
    const QImage picture = draw(*dataSet(energies, mus));
    // A white corner, the black frame on the plot rectangle's edges: 10 % of
    // the width free at the left, 5 % at the right, 5 % of the height at the
    // top and 10 % at the bottom, each cut toward zero (-12.85 to -12).
    const QRect plot(QPoint(33, 12), QPoint(317, 232));
    QCOMPARE(picture.pixel(0, 256), qRgb(255, 255, 255));
    for (const QPoint &p : {QPoint(33, 120), QPoint(317, 120), QPoint(175, 12), QPoint(175, 232)})
        QCOMPARE(picture.pixel(p), qRgb(0, 0, 0));
    // Far from zero the 5 % widening is lost in rounding and the curve may
    // lie on the frame, but never beyond it.
    const QRect curve = pixelBox(picture, picture, qRgb(128, 128, 232));
    QVERIFY(curve.isNull() || plot.adjusted(-1, -1, 1, 1).contains(curve));
    const bool fills = plot.adjusted(2, 2, -2, -2).contains(curve) &&
                       curve.width() > 0.85 * plot.width() && curve.height() > 0.85 * plot.height();
    QTEST(curve.isNull() ? 0 : curve.width() <= plot.width() / 2 ? 1 : fills ? 3 : 2, "curve");
    QVERIFY(!fills || curveRise(picture) > 100);
}

void TestSpectrum::tickLabels_data()
{
    QTest::addColumn<V>("energies");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("thinned"); // not every tick labelled
    QTest::addColumn<bool>("y");       // the y axis' labels, else the x axis'
    QTest::newRow("wide range") << V{14800, 17400} << QSize(1024, 1024) << true << false;
    QTest::newRow("K edge") << V{8800, 9300} << QSize(1024, 1024) << false << false;
    QTest::newRow("K edge, narrow") << V{8800, 9300} << QSize(240, 1024) << true << false;
    QTest::newRow("y") << V{8800, 9300} << QSize(1024, 1024) << false << true;
}

void TestSpectrum::tickLabels()
{
    QFETCH(V, energies);
    QFETCH(QSize, size);
    QFETCH(bool, y);
    QImage picture = draw(*dataSet(energies, {0.5, 2}), size);
    // Turned a quarter to the left, the y axis' labels lie under the plot as the x axis' do.
    if (y) {
        picture = picture.transformed(QTransform().rotate(-90));
        size.transpose();
    }
    const int top = size.height() / 20, bottom = size.height() - size.height() / 10;
    const int rows = (bottom - top) / 30; // the band of the labels under the plot
    // The columns of the grid lines, and the middles of the labels: pieces of
    // ink apart by more than the room between two digits of one label.
    QVector<int> ticks, labels;
    for (int x = 0, from = -1, to = 0; x <= size.width(); ++x) {
        int grey = 0, ink = 0;
        for (int y = top; x < size.width() && y <= bottom + rows; ++y) {
            grey += y < bottom && picture.pixel(x, y) == qRgb(64, 64, 64);
            ink += y > bottom + 1 && picture.pixel(x, y) != qRgb(255, 255, 255);
        }
        if (grey > (bottom - top) * 3 / 4)
            ticks << x;
        if (ink) {
            from = from < 0 ? x : from;
            to = x;
        } else if (from >= 0 && (x - to > rows / 3 || x == size.width())) {
            labels << (from + to) / 2;
            from = -1;
        }
    }
    // Each label centred on a tick, every k-th tick labelled.
    QVector<int> labelled;
    for (const int at : labels) {
        int i = 0;
        while (i < ticks.size() && std::abs(ticks[i] - at) > 2)
            ++i;
        QVERIFY2(i < ticks.size(), qPrintable(QString::number(at)));
        labelled << i;
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
    QTest::addColumn<QString>("ticks");
    QTest::addColumn<QPointF>("perUnit"); // where a tick's label lies: its value times this
    QTest::addColumn<QSizeF>("size");     // of each label
    QTest::addColumn<QString>("labelled");
    auto row = [](const char *name, double a, double b, const QString &ticks, QPointF perUnit,
                  QSizeF size, const QString &labelled) {
        QTest::newRow(name) << a << b << ticks << perUnit << size << labelled;
    };
    const QPointF along(1, 0), nowhere; // labels without area take no room
    const QSizeF none(0, 0);
    const QString span870 = "200,400,600,800";
    row("span 870, apart", 100, 970, span870, along, {199, 9}, span870);
    row("touching", 100, 970, span870, along, {200, 9}, "400,800");
    row("one left", 100, 970, span870, along, {401, 9}, "600");
    row("reversed", 970, 100, span870, nowhere, none, span870);
    const QString third = "14800,15000,15200,15400,15600";
    row("every third", 14700, 15700, third, along * 0.3, {130, 9}, "15000,15600");
    row("span 0.33, stacked", 0.9, 1.23, "0.9,0.95,1,1.05,1.1,1.15,1.2", {0, -400}, {30, 25},
        "0.9,1,1.1,1.2");
    row("negative, round", -0.37, -0.02, "-0.35,-0.3,-0.25,-0.2,-0.15,-0.1,-0.05", along * 1e3,
        {60, 9}, "-0.3,-0.2,-0.1");
    row("zero span", 3, 3, "", nowhere, none, "");
    row("not a number", std::nan(""), 1, "", nowhere, none, "");
    row("overflowing span", -1e308, 1e308, "", nowhere, none, "");
}

void TestSpectrum::ticks()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(QPointF, perUnit);
    QFETCH(QSizeF, size);
    ChCoord cc;
    const V values = cc.tickValues(a, b);
    QTEST(joined(values), "ticks");
    QVector<QRectF> labels;
    for (const double v : values)
        labels << QRectF(perUnit * v, size);
    const QVector<bool> shown = cc.labelledTicks(a, b, labels);
    QCOMPARE(shown.size(), values.size());
    V kept;
    for (int i = 0; i < values.size(); ++i)
        if (shown[i])
            kept << values[i];
    QTEST(joined(kept), "labelled");
}

void TestSpectrum::fitText_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<QRectF>("box"); // growing upwards
    QTest::addColumn<QRect>("ink");  // where the text must lie; null: nothing drawn
    QTest::newRow("band") << 0 << QRectF(10, 80, 380, -30) << QRect(10, 48, 380, 34);
    QTest::newRow("no width") << 0 << QRectF(10, 80, 0, -30) << QRect();
    QTest::newRow("capped at 24 points")
        << 0 << QRectF(10, 290, 380, -280) << QRect(10, 250, 380, 42);
    // The corner (100, 150) is where the middle of the vertical text lands:
    // the text box runs 120 down the picture and 20 across it.
    QTest::newRow("rotated") << 270 << QRectF(100, 170, 120, -20) << QRect(89, 89, 23, 123);
}

void TestSpectrum::fitText()
{
    QFETCH(int, angle);
    QFETCH(QRectF, box);
    QFETCH(QRect, ink);
    const QFont font("DejaVu Sans", 13);
    const int flags = Qt::AlignHCenter | Qt::AlignBottom;
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QImage white = picture;
    QPainter painter(&picture);
    if (angle == 0)
        DrawText().drawFitText(&painter, box, font, flags, 1, "Cu_K.dat", 24);
    else
        DrawText().drawRotatedFitText(&painter, angle, box, font, flags, 1, "Cu_K.dat", 0, false,
                                      Qt::red);
    QCOMPARE(painter.font().key(), font.key());
    QVERIFY(painter.transform().isIdentity());
    painter.end();
    const QRect drawn = pixelBox(picture, white);
    QCOMPARE(drawn.isNull(), ink.isNull());
    QVERIFY(drawn.isNull() || ink.contains(drawn));
    // Fitted to the box, not left at a small default size.
    QVERIFY(drawn.isNull() || (angle ? drawn.height() > drawn.width() : drawn.height() > 15));
}

void TestSpectrum::yTitle_data()
{
    QTest::addColumn<V>("mus");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("place"); // centred, moved out of the labels' way, or none
    // The middle tick, 1.4966, is level with the title.
    QTest::newRow("1.4966 beside it") << V{1.4962, 1.4970} << QSize(1024, 1024) << "moved";
    QTest::newRow("1.4966, little room") << V{1.4962, 1.4970} << QSize(740, 900) << "moved";
    QTest::newRow("1.4966, margin full") << V{1.4962, 1.4970} << QSize(600, 900) << "none";
    QTest::newRow("short labels") << V{0.5, 2} << QSize(1024, 1024) << "centred";
    QTest::newRow("short labels, small") << V{0.5, 2} << QSize(333, 257) << "centred";
}

void TestSpectrum::yTitle()
{
    QFETCH(V, mus);
    QFETCH(QSize, size);
    QFETCH(QString, place);
    const auto set = dataSet({8900, 9100}, mus);
    const QImage picture = draw(*set, size);
    NoYTitle blank;
    QCoreApplication::installTranslator(&blank);
    const QImage labelsOnly = draw(*set, size);
    QCoreApplication::removeTranslator(&blank);
    const int leftMargin = size.width() / 10;
    const QRect title = pixelBox(picture, labelsOnly);
    QCOMPARE(title.isNull(), place == "none");
    if (title.isNull())
        return;
    QVERIFY(title.right() < leftMargin && title.height() > title.width());
    // No pixel of the title on or beside a label's ink.
    const QRgb white = qRgb(255, 255, 255);
    for (int y = title.top(); y <= title.bottom(); ++y)
        for (int x = title.left(); x <= title.right(); ++x)
            for (int dy = -1; picture.pixel(x, y) != labelsOnly.pixel(x, y) && dy <= 1; ++dy)
                for (int dx = std::max(-x, -1); dx <= 1; ++dx)
                    QVERIFY2(labelsOnly.pixel(x + dx, y + dy) == white,
                             qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
    // Where nothing is in its way it stays centred at two fifths of the margin.
    QCOMPARE(std::abs(title.center().x() - leftMargin * 2 / 5) > 2, place == "moved");
}

QTEST_MAIN(TestSpectrum)
#include "TestSpectrum.moc"
