#include "text/DateTime.h"

#include <QtTest>

namespace {

QStringList fieldsOf(const DateTimeFields &f)
{
    return {f.year, f.month, f.day, f.hour, f.minute, f.second, f.msec};
}

} // namespace

class TestDateTime : public QObject
{
    Q_OBJECT
private slots:
    void splitDateAndTime_data();
    void splitDateAndTime();
    void normaliseDateTime_data();
    void normaliseDateTime();
    void formatTime_data();
    void formatTime();
};

// clang-format off
void TestDateTime::splitDateAndTime_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("normal");

    QTest::newRow("two-digit year, dots, short time") << "98.10.10" << "11:50" << QStringList({"2098", "10", "10", "11", "50", "00", "000"}) << "2098-10-10 11:50:00.000";
    QTest::newRow("slashes, seconds") << "2026/11/30" << "21:14:03" << QStringList({"2026", "11", "30", "21", "14", "03", "000"}) << "2026-11-30 21:14:03.000";
    QTest::newRow("dashes, fraction kept as text") << "2019-7-04" << "1:2:3.45" << QStringList({"2019", "7", "04", "1", "2", "3", "45"}) << "2019-7-04 1:2:3.45";
    QTest::newRow("mixed separators") << "05/3.9" << "" << QStringList({"2005", "3", "9", "", "00", "00", "000"}) << "2005-3-9 :00:00.000";
    QTest::newRow("eight digits are a year") << "19981010" << "12:00:00" << QStringList({"19981010", "00", "00", "12", "00", "00", "000"}) << "19981010-00-00 12:00:00.000";
    QTest::newRow("leading dash is a separator") << "-5" << "0:0:0" << QStringList({"2000", "5", "00", "0", "0", "0", "000"}) << "2000-5-00 0:0:0.000";
    QTest::newRow("year 999") << "999.1.1" << "00:00" << QStringList({"2999", "1", "1", "00", "00", "00", "000"}) << "2999-1-1 00:00:00.000";
    QTest::newRow("year 1000 stays") << "1000" << "x" << QStringList({"1000", "00", "00", "x", "00", "00", "000"}) << "1000-00-00 x:00:00.000";
    QTest::newRow("not a number is year 2000") << "ab.cd.ef" << "12:34:56." << QStringList({"2000", "cd", "ef", "12", "34", "56", ""}) << "2000-cd-ef 12:34:56";
    QTest::newRow("empty texts") << "" << "" << QStringList({"2000", "00", "00", "", "00", "00", "000"}) << "2000-00-00 :00:00.000";
    QTest::newRow("extra parts ignored") << "2020.1.2.3" << "1:2:3.4.5" << QStringList({"2020", "1", "2", "1", "2", "3", "4"}) << "2020-1-2 1:2:3.4";
}
// clang-format on

void TestDateTime::splitDateAndTime()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QStringList, fields);
    QFETCH(QString, normal);

    const DateTimeFields f = ::splitDateAndTime(date, time);
    QCOMPARE(fieldsOf(f), fields);
    QCOMPARE(normalDateTime(f), normal);
    // One text with a blank between date and time splits the same way.
    if (!date.isEmpty() && !time.isEmpty())
        QCOMPARE(fieldsOf(splitDateTime(date + "  " + time)), fields);
}

// clang-format off
void TestDateTime::normaliseDateTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("normal");

    QTest::newRow("not widened") << "2020/1/5 12:34:56.789" << "2020-1-5 12:34:56.789";
    QTest::newRow("placeholder") << "--/--/-- --:--:--.---" << "2000-- --:--:--.---";
    QTest::newRow("empty") << "" << "2000-00-00 00:00:00.000";
    QTest::newRow("tab between") << "26.11.30\t21:41:55" << "2026-11-30 21:41:55.000";
    QTest::newRow("third part ignored") << "2026/11/30 21:41:55 JST" << "2026-11-30 21:41:55.000";
    QTest::newRow("leading blank moves the parts") << " 2026/11/30 21:41:55" << "2000-00-00 2026/11/30:00:00.000";
    QTest::newRow("trailing dot gives short form") << "2026/11/30 12:34:56." << "2026-11-30 12:34:56";
    QTest::newRow("vertical tab and form feed are blanks") << "26.11.30\v\f21:41:55" << "2026-11-30 21:41:55.000";
    QTest::newRow("no-break space is not a blank") << QString("2026/11/30") + QChar(0xa0) + "21:41" << QString("2026-11-30") + QChar(0xa0) + "21:41 00:00:00.000";
    QTest::newRow("trailing blank") << "2026/11/30 " << "2026-11-30 :00:00.000";
}
// clang-format on

void TestDateTime::normaliseDateTime()
{
    QFETCH(QString, text);
    QFETCH(QString, normal);
    QCOMPARE(::normaliseDateTime(text), normal);
}

// clang-format off
void TestDateTime::formatTime_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("time");

    QTest::newRow("with msec") << QStringList({"1", "02", "3", "4"}) << "1:02:3.4";
    QTest::newRow("empty msec") << QStringList({"11", "50", "00", ""}) << "11:50:00";
    QTest::newRow("placeholder text not refilled") << QStringList({"%2", "%1", "x", "%3"}) << "%2:%1:x.%3";
    QTest::newRow("all empty") << QStringList({"", "", "", ""}) << "::";
}
// clang-format on

void TestDateTime::formatTime()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, time);
    QCOMPARE(::formatTime(parts.at(0), parts.at(1), parts.at(2), parts.at(3)), time);
}

QTEST_GUILESS_MAIN(TestDateTime)
#include "TestDateTime.moc"
