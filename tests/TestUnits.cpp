#include "text/Units.h"

#include <QtTest>

#include <cmath>

class TestUnits : public QObject
{
    Q_OBJECT
private slots:
    void constants_data();
    void constants();
};

// The constants an energy is computed from, against their formula or a known
// edge, so that a digit mistyped in one of them shows.
void TestUnits::constants_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance"); // relative

    const Units u;
    QTest::newRow("hc") << u.hc << u.h * u.c / u.e * 1e10 << 1e-13;
    QTest::newRow("pi") << u.pi << M_PI << 1e-15;
    // Si(111) at 12.72 degrees lies near the Cu K edge.
    QTest::newRow("Cu K edge") << u.hc / (2 * std::sin(12.72 / 180.0 * u.pi) * u.dDefault) << 8979.0
                               << 2e-4;
}

void TestUnits::constants()
{
    QFETCH(double, stored);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    QVERIFY2(std::fabs(stored - expected) <= tolerance * std::fabs(expected),
             qPrintable(QString::number(stored, 'g', 17)));
}

QTEST_GUILESS_MAIN(TestUnits)
#include "TestUnits.moc"
