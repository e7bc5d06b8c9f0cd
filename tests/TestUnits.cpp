#include "text/Units.h"

#include <QMetaMethod>
#include <QtTest>

#include <cmath>

namespace {

// Every constant by name, so one table can check and compare them all.
QList<QPair<QString, double>> membersOf(const Units &u)
{
    return {{"dDefault", u.dDefault},
            {"pi", u.pi},
            {"c", u.c},
            {"hbar", u.hbar},
            {"h", u.h},
            {"e", u.e},
            {"me", u.me},
            {"eps0", u.eps0},
            {"hc", u.hc},
            {"hcKeV", u.hcKeV},
            {"hb2m", u.hb2m},
            {"hb2mKeV", u.hb2mKeV},
            {"d", u.d}};
}

double memberOf(const Units &u, const QString &name)
{
    for (const auto &m : membersOf(u))
        if (m.first == name)
            return m.second;
    return std::nan("");
}

} // namespace

class TestUnits : public QObject
{
    Q_OBJECT
private slots:
    void derived_data();
    void derived();
    void spacings();
    void setDThroughMetaObject();
};

void TestUnits::derived_data()
{
    // Each derived constant against the formula it comes from, computed
    // here from the other members.
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("fromFormula");

    const Units u;
    QTest::newRow("h") << "h" << 2 * u.pi * u.hbar;
    QTest::newRow("hc") << "hc" << u.h * u.c / u.e * 1e10;
    QTest::newRow("hcKeV") << "hcKeV" << u.h * u.c / u.e * 1e7;
    QTest::newRow("hb2m") << "hb2m" << u.hbar * u.hbar / (2 * u.me * u.e) * 1e20;
    QTest::newRow("hb2mKeV") << "hb2mKeV" << u.hbar * u.hbar / (2 * u.me * u.e) * 1e17;
    QTest::newRow("pi") << "pi" << M_PI;
}

void TestUnits::derived()
{
    QFETCH(QString, name);
    QFETCH(double, fromFormula);

    const Units u;
    const double stored = memberOf(u, name);
    QVERIFY2(std::fabs(stored - fromFormula) <= 1e-13 * std::fabs(fromFormula),
             qPrintable(QString("%1 = %2, formula %3")
                            .arg(name)
                            .arg(stored, 0, 'g', 17)
                            .arg(fromFormula, 0, 'g', 17)));
}

void TestUnits::spacings()
{
    // A Cu K-edge energy from a Si(111) angle: the constants together must
    // put 12.72 degrees near 8979 eV with the default spacing.
    const Units u;
    QCOMPARE(u.d, 3.13553);
    QCOMPARE(u.dDefault, 3.1355316);
    const double energy = u.hc / (2 * std::sin(12.72 / 180.0 * u.pi) * u.dDefault);
    QVERIFY2(std::fabs(energy - 8979) < 2, qPrintable(QString::number(energy)));
}

void TestUnits::setDThroughMetaObject()
{
    Units u;
    const auto before = membersOf(u);
    QCOMPARE(u.metaObject()->className(), "Units");
    const QMetaObject *mo = u.metaObject();
    QCOMPARE(mo->methodCount() - mo->methodOffset(), 1);
    QCOMPARE(mo->method(mo->methodOffset()).name(), QByteArray("setD"));

    QVERIFY(QMetaObject::invokeMethod(&u, "setD", Q_ARG(double, 3.0)));
    QCOMPARE(u.d, 3.0);
    const auto after = membersOf(u);
    for (int i = 0; i < before.size(); ++i)
        if (before.at(i).first != "d")
            QCOMPARE(after.at(i).second, before.at(i).second);
}

QTEST_GUILESS_MAIN(TestUnits)
#include "TestUnits.moc"
