#include "text/DateTime.h"

#include <QtTest>

class TestDateTime : public QObject
{
    Q_OBJECT
private slots:
    void normalise_data();
    void normalise();
};

void TestDateTime::normalise_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time"); // null: the date column is one text to split
    QTest::addColumn<QString>("normal");
    const QString none, nbsp(QChar(0xa0));
    auto row = [](const char *name, const QString &date, const QString &time,
                  const QString &normal) { QTest::newRow(name) << date << time << normal; };

    row("90 is 1990", "90.10.2", "3:4", "1990-10-2 3:4:00.000");
    row("89 is 2089", "89/1/2", "3:4", "2089-1-2 3:4:00.000");
    row("mixed separators", "2019-7/04", "1:2:3.45", "2019-7-04 1:2:3.45");
    row("no time", "05.3", "", "2005-3-00 :00:00.000");
    row("year 999", "999", "x", "2999-00-00 x:00:00.000");
    row("year 1000 stays", "1000.1.1", "0:0", "1000-1-1 0:0:00.000");
    row("not a number", "ab.cd.ef", "1:2:3.", "2000-cd-ef 1:2:3");
    row("extra parts ignored", "2020.1.2.3", "1:2:3.4.5", "2020-1-2 1:2:3.4");
    row("dots for colons", "25.03.02", "10.53.20", "2025-03-02 10:53:20.000");
    row("colon keeps the dot", "07/1/2", "10:53.20", "2007-1-2 10:53.20:00.000");
    row("markers kept", "20/%1/%2", "%2:%1:x.%3", "2020-%1-%2 %2:%1:x.%3");
    row("placeholder", "--/--/-- --:--:--.---", none, "2000-- --:--:--.---");
    row("leading blank", " 26/11/30 21:41", none, "2000-00-00 26/11/30:00:00.000");
    row("\\v and \\f", "26.11.30\v\f21:41", none, "2026-11-30 21:41:00.000");
    const QString noBreak = "2026-11-30" + nbsp + "1 00:00:00.000";
    row("no-break space", "26/11/30" + nbsp + "1", none, noBreak);
}

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
