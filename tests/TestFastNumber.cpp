#include "data/DataSet.h"
#include "text/FastNumber.h"
#include "text/LineItems.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
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
        "0", "-0", "+0", "007", "-007.50", "1.", ".5", "-.5", "+.5", ".", "-", "+", "+-5", "--5",
        "1e5", "1E5", "1e+5", "1e-5", "1.e5", "1e", "e5", "1e+", "1e400", "-1e400", "1e-400",
        "4e-324", "2e-324", "2.2250738585072011e-308", "1.7976931348623157e308",
        "1.7976931348623159e308", "0.1", "123456.789e-3", "9007199254740993",
        "2.00000000000000011102230246251565404236316680908203125",
        "0.000000000000000000000000000000000000000000000000000000000000000000000000000001e77",
        "12345678901234567890123456789012345678901234567890123456789012345678901234567890", "nan",
        "NaN", "-nan", "inf", "-INF", "+inf", "infinity", "0x10", "1,5", "1,000.5", "1_0", " 5",
        "5 ", "\t5", "5\xa0", "", "\xbd", "1.5.5", "1e5e5", "1e5.5",
        // the edges of the exact short path: 2^53, 10^22, 19 digits
        "9007199254740992", "-9007199254740992e-22", "1e22", "1e23", "1e-22", "123e-25",
        "0.0000000000000000000001", "1234567890123456789", "12345678901234567890",
        "00000000000000000000000000001.5", "1e0022", "1e00022", "-0.0e-5", "13.20000"};
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
    QTest::addColumn<QByteArray>("lines");
    QTest::newRow("plain") << QByteArray("  15.0  14.5  1.00  120000  80000  50000\n"
                                         "16 15 1 3 2\n");
    QTest::newRow("tabs, CR and runs of blanks")
        << QByteArray("\t1.5\t\t2.5  \v 3\f4 5\r\n 6 7 8 9 10\r\n");
    QTest::newRow("empty and blank lines") << QByteArray("\n   \n\t\r\n1 2 3 4 5\n\n");
    QTest::newRow("CR LF, last line without end") << QByteArray("1 2 3 4\r\n\r\n5 6 7 8\r");
    QTest::newRow("lone CR ends") << QByteArray("1 2 3 4\r5 6 7 8\r\r9 10 11 12\r");
    QTest::newRow("CR inside items") << QByteArray("1\r2 3 4\n5 6\r\r7 8\r\n");
    QTest::newRow("fewer than three items") << QByteArray("10\n10 20\n10 20 30\n");
    QTest::newRow("no final newline") << QByteArray("10 20 1 5 4");
    QTest::newRow("odd numbers") << QByteArray("1e400 nan 0x10 1,5 -0 +5 .5 1. 1e");
    QTest::newRow("quoted items") << QByteArray("\"10  20\" 30 \"1\"2 \"5 7\n"
                                                "10 20 30 4\"0 5\" 3\n\"\" 1 2 \"3\"\n");
    QTest::newRow("blanks beyond ASCII")
        << QByteArray("10\u00a020 30 5 4\n10\u300020\u3000\u300030 5 4\n\u00a0\n");
    QTest::newRow("not a blank") << QByteArray("10 20 30 5\u00b74 \u00bd 7\n");
    QTest::newRow("broken UTF-8") << QByteArray(
        "10 20 30 5\xc3\n10 20 \xe2\x82 4\r\n\xff 1 2 3\n7 8 9 1\xc3");
    QTest::newRow("byte order mark in the data") << QByteArray("\xef\xbb\xbf 10 20 30 4\n");
    QTest::newRow("NUL byte") << QByteArray("10 20 30 4", 10) + QByteArray(1, '\0') + "5 6\n";
}

// Every way of reading the data section must give, bit for bit, the points of
// the reading that split decoded lines with simplified() and toDouble(). A
// file is read in text mode, which drops every CR; a buffer keeps them.
void TestFastNumber::dataLines()
{
    QFETCH(QByteArray, lines);
    const QByteArray bytes = header.toUtf8() + lines;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scan.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    // Decoded after the header, where a byte order mark is a character.
    const QString decoded = QTextStream(bytes).readAll().mid(header.size());
    QString withoutCr = decoded;
    withoutCr.remove(QLatin1Char('\r'));
    const QString streamText = header + decoded;

    DataSet fromFile, fromBuffer, fromString;
    QVERIFY(fromFile.read9809(path));
    QTextStream bufferIn(bytes);
    QVERIFY(fromBuffer.read9809(bufferIn));
    QString stringText = streamText;
    QTextStream stringIn(&stringText, QIODevice::ReadOnly);
    QVERIFY(fromString.read9809(stringIn));
    const struct
    {
        const char *route;
        const DataSet &set;
        QString text;
    } routes[] = {{"file", fromFile, withoutCr},
                  {"buffer", fromBuffer, decoded},
                  {"string", fromString, decoded}};

    for (const auto &route : routes) {
        QVector<QVector<double>> expected;
        for (const QString &line : route.text.split(QLatin1Char('\n'))) {
            QVector<double> items = referenceItems(line);
            if (items.isEmpty())
                continue;
            while (items.size() < 3)
                items.insert(items.size(), 0.0);
            expected << items;
        }
        QCOMPARE(route.set.points.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const DataPoint &p = route.set.points.at(i);
            QVector<double> actual{p.angle, p.obsAngle, p.dwell};
            actual += p.counts;
            QCOMPARE(actual.size(), expected.at(i).size());
            for (int k = 0; k < actual.size(); ++k) {
                const double a = actual.at(k), b = expected.at(i).at(k);
                QVERIFY2(sameBits(a, b) || (std::isnan(a) && std::isnan(b)),
                         qPrintable(QStringLiteral("%1: line %2 item %3: %4 != %5")
                                        .arg(route.route)
                                        .arg(i)
                                        .arg(k)
                                        .arg(a)
                                        .arg(b)));
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestFastNumber)
#include "TestFastNumber.moc"
