#include "plot/ChCoord.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TestChCoord : public QObject
{
    Q_OBJECT
private slots:
    void ticks_data();
    void ticks();
    void applyMargins_data();
    void applyMargins();
};

void TestChCoord::ticks_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<QVector<double>>("ticks"); // empty: no ticks at all
    QTest::newRow("span 870") << 100.0 << 970.0 << QVector<double>{200, 400, 600, 800};
    QTest::newRow("span 25") << 3.0 << 28.0
                             << QVector<double>{4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28};
    QTest::newRow("span 0.33") << 0.9 << 1.23
                               << QVector<double>{0.9, 0.95, 1.0, 1.05, 1.1, 1.15, 1.2};
    QTest::newRow("decade") << 0.0 << 100.0 << QVector<double>{0, 20, 40, 60, 80, 100};
    QTest::newRow("reversed") << 5.0 << 1.0 << QVector<double>{1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5};
    QTest::newRow("negative") << -0.37 << -0.02
                              << QVector<double>{-0.35, -0.3, -0.25, -0.2, -0.15, -0.1, -0.05};
    QTest::newRow("edge") << 7000.0 << 7870.0 << QVector<double>{7000, 7200, 7400, 7600, 7800};
    QTest::newRow("zero span") << 3.0 << 3.0 << QVector<double>();
    QTest::newRow("infinite") << 0.0 << inf << QVector<double>();
    QTest::newRow("not a number") << std::nan("") << 1.0 << QVector<double>();
    QTest::newRow("overflowing span") << -1e308 << 1e308 << QVector<double>();
}

void TestChCoord::ticks()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(QVector<double>, ticks);
    ChCoord cc;
    double step = 0, first = 0, last = 0;
    QCOMPARE(cc.calcTicks(a, b, step, first, last), !ticks.isEmpty());
    const QVector<double> values = cc.tickValues(a, b);
    QCOMPARE(values.size(), ticks.size());
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(values[i], ticks[i]);
    if (ticks.isEmpty())
        return;
    QCOMPARE(step, ticks[1] - ticks[0]);
    QCOMPARE(first, ticks.first());
    QCOMPARE(last, ticks.last());
}

void TestChCoord::applyMargins_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<QPointF>("bottomLeft");
    QTest::addColumn<QPointF>("topRight");
    QTest::newRow("1024") << 1024 << 1024 << QPointF(102, 922) << QPointF(973, 51);
    QTest::newRow("800x600") << 800 << 600 << QPointF(80, 540) << QPointF(760, 30);
    // Truncation toward zero, not flooring, of the negative height products.
    QTest::newRow("333x257") << 333 << 257 << QPointF(33, 232) << QPointF(317, 12);
}

void TestChCoord::applyMargins()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QPointF, bottomLeft);
    QFETCH(QPointF, topRight);
    ChCoord cc;
    cc.setScreenRect(0, h, w, 0);
    cc.applyMargins();
    QCOMPARE(QPointF(cc.plotX0, cc.plotY0), bottomLeft);
    QCOMPARE(QPointF(cc.plotX1, cc.plotY1), topRight);
    cc.setRealRange(10, 0, 20, 1);
    QCOMPARE(QPointF(cc.toScreenX(20), cc.toScreenY(1)), topRight);
    // A range without span puts every value in the middle of the plot.
    cc.setRealRange(8979, 2, 8979, 2);
    QCOMPARE(QPointF(cc.toScreenX(1), cc.toScreenY(-7)), (bottomLeft + topRight) / 2);
}

QTEST_APPLESS_MAIN(TestChCoord)
#include "TestChCoord.moc"
