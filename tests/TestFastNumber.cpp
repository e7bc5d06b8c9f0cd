// The fast number path must give, bit for bit, what QString::toDouble gives.

#include "data/DataSet.h"
#include "text/FastNumber.h"
#include "text/LineItems.h"

#include "TestSupport.h"

#include <QRandomGenerator>

namespace {

// The data line as the reader read it before it had a fast path: the
// simplified line split by takeItem, every item through QString::toDouble.
QVector<double> referenceItems(const QString &line)
{
    QVector<double> values;
    QString item;
    for (QString rest = line.simplified(); !rest.isEmpty(); values << item.toDouble())
        rest = takeItem(rest, item);
    return values;
}

// Numbers as their bytes, after their count.
QByteArray bits(const QVector<double> &v)
{
    return QByteArray::number(v.size()) + ':' +
           QByteArray(reinterpret_cast<const char *>(v.constData()), v.size() * sizeof(double));
}

} // namespace

class TestFastNumber : public QObject
{
    Q_OBJECT
private slots:
    void sameAsQt();
    void dataLines_data();
    void dataLines();
};

// Hand-picked texts (odd forms, the edges of the exact short path: 2^53, 10^22, 19 digits), then
// random number-like texts from the characters that matter to the fast path and readings of every
// digit count; each also as an item of a data line, bytes followed by a blank.
void TestFastNumber::sameAsQt()
{
    QStringList texts =
        QString::fromLatin1(
            "-0|+0|1.|1e|e5|1e+|1e400|1e-400|4e-324|nan|-INF|infinity|0x10|1,5|\xbd| 5|5 ||"
            "1e5.5|2.2250738585072011e-308|1.7976931348623159e308|9007199254740992|"
            "9007199254740993|-9007199254740992e-22|1e22|1e23|123e-25|1e0022|1e00022|"
            "0.0000000000000000000001|1234567890123456789|12345678901234567890|"
            "00000000000000000000000000001.5")
            .split('|');
    texts << QChar(0x0661) << QChar(0xff11) << QString(80, '7');
    static const char alphabet[] = "0123456789012345678901234567890123456789..eE+-";
    QRandomGenerator random(9809);
    for (int i = 0; i < 200000; ++i) {
        QString text;
        for (int n = random.bounded(1, 30); n > 0; --n)
            text += QLatin1Char(alphabet[random.bounded(int(sizeof alphabet) - 1)]);
        const double value =
            (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-30, 30));
        texts << text << QString::number(value, "gf"[random.bounded(2)], random.bounded(1, 18));
    }
    const QRegularExpression item("^[!-~]+$");
    for (const QString &text : texts) {
        const QByteArray expected = bits({text.toDouble()});
        if (bits({toDoubleAsQt(text.constData(), text.size())}) != expected)
            QFAIL(qPrintable(text));
        if (!item.match(text).hasMatch())
            continue;
        const QByteArray line = text.toLatin1() + ' ';
        double value = 0;
        const char *end = takeNumberAsQt(line.constData(), line.constData() + line.size(), value);
        if (end != line.constData() + text.size() || bits({value}) != expected)
            QFAIL(qPrintable("item " + text));
    }
}

void TestFastNumber::dataLines_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::newRow("plain, short lines, no final newline")
        << QByteArray("  15.0  14.5  1.00  120000  80000  50000\n10\n10 20\n10 20 1 5 4");
    QTest::newRow("blanks, CR and empty lines")
        << QByteArray("\t1.5\t\t2.5  \v 3\f4 5\r\n\n   \n\t\r\n 6 7 8 9 10\r\n");
    QTest::newRow("CR anywhere") << QByteArray("1 2 3 4\r\n\r\n5 6\r7 8\r\r1\r2 3 4\n5 6\r\r7 8\r");
    QTest::newRow("odd numbers") << QByteArray("1e400 nan 0x10 1,5 -0 +5 .5 1. 1e");
    QTest::newRow("quoted items") << QByteArray(
        "\"10  20\" 30 \"1\"2 \"5 7\n10 20 30 4\"0 5\" 3\n\"\" 1 2 \"3\"\n");
    QTest::newRow("beyond ASCII") << QByteArray(
        "10\u00a020 30 5 4\n10\u300020\u3000\u300030 5\u00b74\n\u00a0\n\u00bd 7\n");
    static const char odd[] = "\xef\xbb\xbf 10 20 30 4\n10 20 30 5\xc3\n10 20 \xe2\x82 4\r\n"
                              "\xff 1 2 3\n7 8 9 1\xc3\n10 20 30 4\0"
                              "5 6\n";
    QTest::newRow("byte order mark, broken UTF-8, NUL") << QByteArray(odd, sizeof odd - 1);
}

// Every way of reading the data section must give, bit for bit, the points of
// the reading that split decoded lines with simplified() and toDouble(). A
// file is read in text mode, which drops every CR; a stream keeps them.
void TestFastNumber::dataLines()
{
    QFETCH(QByteArray, lines);
    const QString header = text9809(lines9809(0).mid(0, 13));
    const QByteArray bytes = header.toUtf8() + lines;
    QTemporaryDir dir;
    QFile file(dir.filePath("scan.dat"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    // Decoded after the header, where a byte order mark is a character.
    const QString decoded = QTextStream(bytes).readAll().mid(header.size());
    QString text = header + decoded;
    DataSet fromFile, fromBuffer, fromString;
    QTextStream bufferIn(bytes), stringIn(&text, QIODevice::ReadOnly);
    QVERIFY(fromFile.read9809(file.fileName()) && fromBuffer.read9809(bufferIn) &&
            fromString.read9809(stringIn));
    for (const DataSet *set : {&fromFile, &fromBuffer, &fromString}) {
        QByteArray want, got;
        const QString read = set == &fromFile ? QString(decoded).remove('\r') : decoded;
        for (const QString &line : read.split('\n')) {
            const QVector<double> items = referenceItems(line);
            if (!items.isEmpty())
                want += bits(items + QVector<double>(qMax(0, 3 - items.size()), 0.0));
        }
        for (const DataPoint &p : set->points)
            got += bits(QVector<double>{p.angle, p.obsAngle, p.dwell} + p.counts);
        QCOMPARE(got, want);
    }
}

QTEST_APPLESS_MAIN(TestFastNumber)
#include "TestFastNumber.moc"
