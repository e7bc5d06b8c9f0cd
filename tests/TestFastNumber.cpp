#include "data/DataSet.h"
#include "text/FastNumber.h"
#include "text/LineItems.h"

#include <QRandomGenerator>
#include <QTextStream>
#include <QtTest>

#include <cstring>

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The data line as the reader read it before it had a fast path: the
// simplified line split by takeItem, every item through QString::toDouble.
QVector<double> referenceItems(const QString &line)
{
    QVector<double> values;
    QString rest = line.simplified();
    while (!rest.isEmpty()) {
        QString item;
        rest = takeItem(rest, item);
        values << item.toDouble();
    }
    return values;
}

// A number-like text from the characters that matter to the fast path.
QString randomNumberText(QRandomGenerator &random)
{
    static const char alphabet[] = "0123456789012345678901234567890123456789..eE+-";
    QString text;
    const int length = random.bounded(1, 30);
    for (int i = 0; i < length; ++i)
        text += QLatin1Char(alphabet[random.bounded(int(sizeof alphabet) - 1)]);
    return text;
}

const QString header =
    QStringLiteral("   9809     LAB7        BLC2\n"
                   "Cu foil          98.10.10 11:50:00 - 98.10.10 12:30:15.250\n"
                   "  comment\n"
                   " Ring :  2.50 GeV  450.2 mA -  441.0 mA\n"
                   " Mono :  Si(111)  D=  3.13551 A  Initial angle=  16.50000 deg\n"
                   " Repetition=    2     Points=   4\n"
                   " Block =    0\n"
                   " Block\n"
                   " Axis       Angle-ENG  Time/s\n"
                   " Column\n"
                   " ------\n"
                   "      Mode     CH  :     1     2\n"
                   "    Offset     CH  :   12.5   10.25\n");

} // namespace

class TestFastNumber : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQt_data();
    void sameAsQt();
    void randomSameAsQt();
    void dataLines_data();
    void dataLines();
};

void TestFastNumber::sameAsQt_data()
{
    QTest::addColumn<QString>("text");
    const char *texts[] = {
        "0",
        "-0",
        "+0",
        "007",
        "-007.50",
        "1.",
        ".5",
        "-.5",
        "+.5",
        ".",
        "-",
        "+",
        "+-5",
        "--5",
        "1e5",
        "1E5",
        "1e+5",
        "1e-5",
        "1.e5",
        "1e",
        "e5",
        "1e+",
        "1e400",
        "-1e400",
        "1e-400",
        "4e-324",
        "2e-324",
        "2.2250738585072011e-308",
        "1.7976931348623157e308",
        "1.7976931348623159e308",
        "0.1",
        "123456.789e-3",
        "9007199254740993",
        "2.00000000000000011102230246251565404236316680908203125",
        "0.000000000000000000000000000000000000000000000000000000000000000000000000000001e77",
        "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
        "nan",
        "NaN",
        "-nan",
        "inf",
        "-INF",
        "+inf",
        "infinity",
        "0x10",
        "1,5",
        "1,000.5",
        "1_0",
        " 5",
        "5 ",
        "\t5",
        "5\xa0",
        "",
        "\xbd",
        "1.5.5",
        "1e5e5",
        "1e5.5"};
    for (const char *text : texts)
        QTest::newRow(text) << QString::fromLatin1(text);
    // Digits beyond ASCII are refused alike.
    QTest::newRow("arabic-indic") << QString(QChar(0x0661));
    QTest::newRow("fullwidth") << QString(QChar(0xff11));
}

void TestFastNumber::sameAsQt()
{
    QFETCH(QString, text);
    const double expected = text.toDouble();
    const double actual = toDoubleAsQt(text.constData(), text.size());
    QVERIFY2(sameBits(actual, expected) || (std::isnan(actual) && std::isnan(expected)),
             qPrintable(QStringLiteral("%1 != %2").arg(actual).arg(expected)));
}

void TestFastNumber::randomSameAsQt()
{
    QRandomGenerator random(9809);
    for (int i = 0; i < 200000; ++i) {
        const QString text = randomNumberText(random);
        const double expected = text.toDouble();
        const double actual = toDoubleAsQt(text.constData(), text.size());
        if (!sameBits(actual, expected))
            QFAIL(qPrintable(QStringLiteral("\"%1\": %2 != %3")
                                 .arg(text)
                                 .arg(actual, 0, 'g', 17)
                                 .arg(expected, 0, 'g', 17)));
    }
    // Realistic readings with every digit count up to the double's precision.
    for (int i = 0; i < 200000; ++i) {
        const double value =
            (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-30, 30));
        const QString text =
            QString::number(value, random.bounded(2) ? 'g' : 'f', random.bounded(1, 18));
        const double expected = text.toDouble();
        QVERIFY(sameBits(toDoubleAsQt(text.constData(), text.size()), expected));
    }
}

void TestFastNumber::dataLines_data()
{
    QTest::addColumn<QString>("lines");
    QTest::newRow("plain") << QStringLiteral("  15.0  14.5  1.00  120000  80000  50000\n"
                                             "16 15 1 3 2\n");
    QTest::newRow("tabs, CR and runs of blanks")
        << QStringLiteral("\t1.5\t\t2.5  \v 3\f4 5\r\n 6 7 8 9 10\r\n");
    QTest::newRow("empty and blank lines") << QStringLiteral("\n   \n\t\r\n1 2 3 4 5\n\n");
    QTest::newRow("fewer than three items") << QStringLiteral("10\n10 20\n10 20 30\n");
    QTest::newRow("no final newline") << QStringLiteral("10 20 1 5 4");
    QTest::newRow("odd numbers") << QStringLiteral("1e400 nan 0x10 1,5 -0 +5 .5 1. 1e");
    QTest::newRow("quoted items") << QStringLiteral("\"10  20\" 30 \"1\"2 \"5 7\n"
                                                    "10 20 30 4\"0 5\" 3\n\"\" 1 2 \"3\"\n");
    QTest::newRow("blanks beyond ASCII")
        << QString::fromUtf8("10\u00a020 30 5 4\n10\u300020\u3000\u300030 5 4\n\u00a0\n");
    QTest::newRow("not a blank") << QString::fromUtf8("10 20 30 5\u00b74 \u00bd 7\n");
}

void TestFastNumber::dataLines()
{
    QFETCH(QString, lines);
    QString text = header + lines;
    QTextStream in(&text, QIODevice::ReadOnly);
    DataSet dataSet;
    QVERIFY(dataSet.read9809(in));

    QVector<QVector<double>> expected;
    for (const QString &line : lines.split(QLatin1Char('\n'))) {
        const QVector<double> items = referenceItems(line);
        if (!items.isEmpty())
            expected << items;
    }
    QCOMPARE(dataSet.points.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const DataPoint &p = dataSet.points.at(i);
        QVector<double> actual{p.angle, p.obsAngle, p.dwell};
        actual += p.counts;
        QVector<double> want = expected.at(i);
        while (want.size() < 3)
            want << 0.0;
        QCOMPARE(actual.size(), want.size());
        for (int k = 0; k < want.size(); ++k)
            QVERIFY2(sameBits(actual.at(k), want.at(k)) ||
                         (std::isnan(actual.at(k)) && std::isnan(want.at(k))),
                     qPrintable(QStringLiteral("line %1 item %2").arg(i).arg(k)));
    }
}

QTEST_APPLESS_MAIN(TestFastNumber)
#include "TestFastNumber.moc"
