#include "text/DateTime.h"

#include <QtTest>

class TestDateTime : public QObject
{
    Q_OBJECT
private slots:
    void normalise_data();
    void normalise();
};

// clang-format off
void TestDateTime::normalise_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time"); // null: the date column is one text to split
    QTest::addColumn<QString>("normal");

    QTest::newRow("two-digit year, short time") << "98.10.10" << "11:50" << "2098-10-10 11:50:00.000";
    QTest::newRow("fraction as text, mixed separators") << "2019-7/04" << "1:2:3.45" << "2019-7-04 1:2:3.45";
    QTest::newRow("no time") << "05.3" << "" << "2005-3-00 :00:00.000";
    QTest::newRow("year 999") << "999" << "x" << "2999-00-00 x:00:00.000";
    QTest::newRow("year 1000 stays") << "1000.1.1" << "0:0" << "1000-1-1 0:0:00.000";
    QTest::newRow("not a number") << "ab.cd.ef" << "1:2:3." << "2000-cd-ef 1:2:3";
    QTest::newRow("extra parts ignored") << "2020.1.2.3" << "1:2:3.4.5" << "2020-1-2 1:2:3.4";
    QTest::newRow("place markers not filled again") << "2020/%1/%2" << "%2:%1:x.%3" << "2020-%1-%2 %2:%1:x.%3";
    QTest::newRow("placeholder") << "--/--/-- --:--:--.---" << QString() << "2000-- --:--:--.---";
    QTest::newRow("leading blank moves the parts") << " 26/11/30 21:41" << QString() << "2000-00-00 26/11/30:00:00.000";
    QTest::newRow("vertical tab and form feed") << "26.11.30\v\f21:41" << QString() << "2026-11-30 21:41:00.000";
    QTest::newRow("no-break space is not a blank") << QString("26/11/30") + QChar(0xa0) + "1" << QString() << QString("2026-11-30") + QChar(0xa0) + "1 00:00:00.000";
}
// clang-format on

void TestDateTime::normalise()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    if (!time.isNull())
        QTEST(normalDateTime(splitDateAndTime(date, time)), "normal");
    // One text with blanks between date and time splits the same way.
    QTEST(normaliseDateTime(time.isNull() ? date : date + " \t " + time), "normal");
}

QTEST_GUILESS_MAIN(TestDateTime)
#include "TestDateTime.moc"
