#include "text/Units.h"

#include <QtTest>

#include <cmath>

class TestUnits : public QObject
{
    Q_OBJECT
private slots:
    void constants();
};

// The constants an energy is computed from, against their formula, so that a
// digit mistyped in one of them shows.
void TestUnits::constants()
{
    const Units u;
    const auto near = [](double a, double b, double tolerance) {
        return std::fabs(a - b) <= tolerance * std::fabs(b);
    };
    QVERIFY(near(u.hc, u.h * u.c / u.e * 1e10, 1e-13));
    QVERIFY(near(u.pi, M_PI, 1e-15));
    // Si(111): the cubic lattice constant of silicon, 5.4309 Å, over the root of 3.
    QVERIFY(near(u.dDefault, 5.4309 / std::sqrt(3.0), 1e-7));
}

QTEST_GUILESS_MAIN(TestUnits)
#include "TestUnits.moc"
