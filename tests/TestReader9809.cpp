#include "data/DataSet.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

const double NaN = std::nan("");

// Energy of an observed angle, worked out independently of the reader.
double energyOf(double degrees, double spacing)
{
    return 12398.424360742056 / (2 * std::sin(degrees * M_PI / 180.0) * spacing);
}

QString joined(const QVector<int> &v)
{
    QStringList s;
    for (int x : v)
        s << QString::number(x);
    return s.join(',');
}

QString joined(const QVector<double> &v)
{
    QStringList s;
    for (double x : v)
        s << QString::number(x);
    return s.join(',');
}

QString field(const DataSet &ds, const QString &name)
{
    const Header9809 &h = ds.header;
    const QMap<QString, QString> f{
        {"lineCount", QString::number(h.lineCount)},
        {"first", h.firstItem + '|' + h.beamline},
        {"sample", h.sampleName},
        {"start", QStringList{h.startYear, h.startMonth, h.startDay, h.startHour, h.startMinute,
                              h.startSecond, h.startMsec}
                      .join(',')},
        {"end", QStringList{h.endYear, h.endMonth, h.endDay, h.endHour, h.endMinute, h.endSecond,
                            h.endMsec}
                    .join(',')},
        {"comment", h.comment},
        {"year", h.startYear},
        {"ring",
         QStringList{h.ringItem0, h.ringItem1, h.ringItem2, h.ringItem3, h.ringItem5}.join(',')},
        {"mono", QStringList{h.crystal, h.crystalName, h.crystalIndex, h.dSpacing, h.dSpacingUnit,
                             h.initialAngle, h.initialAngleUnit}
                     .join(',')},
        {"counts", h.repetition + ',' + h.pointCount + ',' + h.blockCount},
        {"block", h.blocks.isEmpty() ? QString()
                                     : h.blocks.last().item[0] + ',' + h.blocks.last().item[1] +
                                           ',' + h.blocks.last().item[5]},
        {"xUnit", h.xUnit},
        {"modes", joined(h.modes) + '|' + joined(h.offsets)},
        {"point", ds.points.isEmpty() ? QString()
                                      : QString::number(ds.points[0].angle) + ',' +
                                            QString::number(ds.points[0].dwell) + ',' +
                                            joined(ds.points[0].counts)},
    };
    return f.value(name, QStringLiteral("?"));
}

} // namespace

class TestReader9809 : public QObject
{
    Q_OBJECT
private slots:
    void rejected_data();
    void rejected();
    void accepted_data();
    void accepted();
    void points_data();
    void points();
    void valueAfterKey_data();
    void valueAfterKey();
    void crystal_data();
    void crystal();
    void files();
};

// clang-format off
void TestReader9809::rejected_data()
{
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("lineNo"); // the line replaced; -n: the file cut after n lines
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");

    QTest::newRow("tag two blanks") << 3 << 1 << "  9809     LAB7  BLC2" << "line 1:";
    QTest::newRow("tag no blanks") << 3 << 1 << "9809     LAB7  BLC2" << "line 1:";
    QTest::newRow("ring no leading blank") << 3 << 4 << "Ring :  2.50 GeV  450.2 mA" << "line 4:";
    QTest::newRow("ring no blank before colon") << 3 << 4 << " Ring:  2.50 GeV" << "line 4:";
    QTest::newRow("mono tag") << 3 << 5 << "Mono :  Si(111)  D=  3.1 A  Initial angle=  16.5 deg" << "line 5: does not";
    QTest::newRow("mono item 1") << 3 << 5 << " Mono :  Si(111)  d=  3.1 A  Initial angle=  16.5 deg" << "line 5: item 1 is \"d=\", not \"D=\"";
    QTest::newRow("mono item 4") << 3 << 5 << " Mono :  Si(111)  D=  3.1 A  initial angle=  16.5 deg" << "line 5: item 4";
    QTest::newRow("mono item 5") << 3 << 5 << " Mono :  Si(111)  D=  3.1 A  Initial angle =  16.5 deg" << "line 5: item 5";
    QTest::newRow("mono crystal then blanks") << 3 << 5 << " Mono :  Si(111)  " << "line 5: item 1";
    QTest::newRow("mode tag") << 3 << 15 << "     Mode     CH  :     1     2     3" << "line 15:";
    QTest::newRow("mode lower case") << 3 << 15 << "      mode     CH  :     1     2" << "line 15:";
    QTest::newRow("offset tag") << 3 << 16 << "   Offset     CH  :   12.5   10.25" << "line 16:";
    // One block row too few moves the Mode line onto the second skipped line.
    QTest::newRow("block count too high") << 3 << 7 << " Block =    4" << "line 16:";
    for (int blocks : {0, 2})
        for (int kept = 0; kept < 13 + blocks; ++kept)
            QTest::addRow("%d blocks, cut after %d lines", blocks, kept) << blocks << -kept << QString() << QString("the file ends at line %1 before the data section").arg(kept);
}
// clang-format on

void TestReader9809::rejected()
{
    QFETCH(int, blocks);
    QFETCH(int, lineNo);
    QFETCH(QString, why);
    QStringList lines = lines9809(blocks);
    if (lineNo > 0) {
        QFETCH(QString, text);
        lines[lineNo - 1] = text;
    } else {
        lines = lines.mid(0, -lineNo);
    }
    DataSet ds;
    QString reason;
    QVERIFY(!read9809Lines(ds, lines, &reason));
    QVERIFY2(reason.startsWith(why), qPrintable(reason));
    QVERIFY(ds.points.isEmpty());
    if (lineNo <= 0)
        QCOMPARE(ds.header.lineCount, -lineNo);
}

// clang-format off
void TestReader9809::accepted_data()
{
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("lineNo"); // 0: the file as it is
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    QTest::newRow("line count 0 blocks") << 0 << 0 << "" << "lineCount" << "13";
    QTest::newRow("line count 3 blocks") << 3 << 0 << "" << "lineCount" << "16";
    QTest::newRow("line count 12 blocks") << 12 << 0 << "" << "lineCount" << "25";
    QTest::newRow("first line") << 3 << 0 << "" << "first" << "LAB7|BLC2";
    QTest::newRow("first line more items") << 3 << 1 << "   9809  A  B  C  D" << "first" << "A|B";
    QTest::newRow("start") << 3 << 0 << "" << "start" << "2098,10,10,11,50,00,000";
    QTest::newRow("end with msec") << 3 << 0 << "" << "end" << "2098,10,10,12,30,15,250";
    QTest::newRow("comment kept whole") << 3 << 0 << "" << "comment" << "  room temperature, transmission";
    QTest::newRow("ring") << 3 << 0 << "" << "ring" << "2.50,GeV,450.2,mA,441.0";
    QTest::newRow("ring tag only") << 3 << 4 << " Ring :" << "ring" << ",,,,";
    QTest::newRow("mono") << 3 << 0 << "" << "mono" << "Si(111),Si,111,3.13551,A,16.50000,deg";
    QTest::newRow("mono crystal only") << 3 << 5 << " Mono :  Ge(220)" << "mono" << "Ge(220),Ge,220,,,,";
    QTest::newRow("mono crystal and D") << 3 << 5 << " Mono :  Ge(220)  D=  2.0" << "mono" << "Ge(220),Ge,220,2.0,,,";
    QTest::newRow("counts") << 3 << 0 << "" << "counts" << "2,4,3";
    QTest::newRow("block row") << 3 << 0 << "" << "block" << "3,14,300";
    QTest::newRow("line 8 anything") << 3 << 8 << "###" << "counts" << "2,4,3";
    QTest::newRow("sample 17 blanks") << 3 << 2 << QString(17, ' ') + "98.10.10 11:50:00 - 98.10.10 12:30:15" << "sample" << "";
    QTest::newRow("sample blanks before") << 3 << 2 << "   abc           98.10.10 11:50:00 - 98.10.10 12:30:15" << "sample" << "abc";
    QTest::newRow("sample inner blanks") << 3 << 2 << "Cu  foil         98.10.10 11:50:00 - 98.10.10 12:30:15" << "sample" << "Cu  foil";
    QTest::newRow("sample cut at 17") << 3 << 2 << "abcdefghijklmnopq98.10.10 11:50:00 - 98.10.10 12:30:15" << "sample" << "abcdefghijklmnopq";
    QTest::newRow("short line 2") << 3 << 2 << "abc" << "year" << "2000";
    QTest::newRow("axis ENG") << 3 << 0 << "" << "xUnit" << "eV";
    QTest::newRow("axis lower eng") << 3 << 9 << " Axis  Angle-eng" << "xUnit" << "eV";
    QTest::newRow("axis no dash") << 3 << 9 << " Axis  ENG" << "xUnit" << "eV";
    QTest::newRow("axis first dash counts") << 3 << 9 << " Axis  A-B-ENG" << "xUnit" << "deg";
    QTest::newRow("axis DEG") << 3 << 9 << " Axis  Angle-DEG" << "xUnit" << "deg";
    QTest::newRow("axis first item only") << 3 << 9 << " Axis-ENG" << "xUnit" << "deg";
    QTest::newRow("axis empty") << 3 << 9 << "" << "xUnit" << "deg";
    QTest::newRow("modes") << 3 << 0 << "" << "modes" << "1,2,3|12.5,10.25,8";
    QTest::newRow("mode trailing blanks") << 0 << 12 << "      Mode  a b 4 5  " << "modes" << "4,5,0|12.5,10.25,8";
    QTest::newRow("offset trailing blank") << 0 << 13 << "    Offset  a b 1.5 " << "modes" << "1,2,3|1.5,0";
    QTest::newRow("mode labels only") << 0 << 12 << "      Mode  a b" << "modes" << "|12.5,10.25,8";
    QTest::newRow("mode not numbers") << 0 << 12 << "      Mode  a b x 2.5" << "modes" << "0,0|12.5,10.25,8";
    QTest::newRow("point") << 3 << 0 << "" << "point" << "15,1,120000,80000,50000";
}
// clang-format on

void TestReader9809::accepted()
{
    QFETCH(int, blocks);
    QFETCH(int, lineNo);
    QFETCH(QString, text);
    QFETCH(QString, field);
    QStringList lines = lines9809(blocks);
    if (lineNo > 0)
        lines[lineNo - 1] = text;
    DataSet ds;
    QString reason;
    QVERIFY2(read9809Lines(ds, lines, &reason), qPrintable(reason));
    QCOMPARE(ds.points.size(), 2); // data lines are not header lines
    QTEST(::field(ds, field), "expected");
}

// clang-format off
void TestReader9809::points_data()
{
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<QStringList>("data");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("xMin"); // NaN: not checked
    QTest::addColumn<double>("xMax");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");

    const QStringList one{"1 15 1 100 10"};
    QTest::newRow("D= 3.13551 at 15 deg") << "3.13551" << one << 3.13551 << 7638.922 << 7638.922 << NaN << NaN;
    QTest::newRow("D= 3.13551 at 45 deg") << "3.13551" << QStringList{"1 45 1 1 1"} << 3.13551 << 2796.040 << 2796.040 << NaN << NaN;
    QTest::newRow("D= 0: default spacing") << "0" << one << 3.1355316 << 7638.869 << 7638.869 << NaN << NaN;
    QTest::newRow("default at 30 deg") << "0" << QStringList{"1 30 1 1 1"} << 3.1355316 << 3954.170 << 3954.170 << NaN << NaN;
    QTest::newRow("D= not a number") << "abc" << one << 3.1355316 << 7638.869 << 7638.869 << NaN << NaN;
    QTest::newRow("D= negative") << "-3.1" << one << 3.1355316 << 7638.869 << 7638.869 << NaN << NaN;
    const QStringList up{"1 14 1 10 5", "1 15.5 1 10 5", "1 17 1 10 5", "1 16 1 10 5"};
    QStringList down = up;
    std::reverse(down.begin(), down.end());
    QTest::newRow("upward scan") << "3.13551" << up << 3.13551 << energyOf(17, 3.13551) << energyOf(14, 3.13551) << NaN << NaN;
    QTest::newRow("downward scan") << "3.13551" << down << 3.13551 << energyOf(17, 3.13551) << energyOf(14, 3.13551) << NaN << NaN;
    QTest::newRow("empty data lines give no point") << "3.13551" << QStringList{"", "1 15 1 10 1", "   \t "} << 3.13551 << energyOf(15, 3.13551) << energyOf(15, 3.13551) << NaN << NaN;
    QTest::newRow("header only") << "3.13551" << QStringList{} << 3.13551 << 1e300 << -1e300 << 1e300 << -1e300;
    QTest::newRow("one count") << "3.13551" << QStringList{"1 15 1 500"} << 3.13551 << NaN << NaN << 1.0 << 1.0;
    QTest::newRow("no count") << "3.13551" << QStringList{"1 15 1"} << 3.13551 << NaN << NaN << 1.0 << 1.0;
    QTest::newRow("1000 over 100") << "3.13551" << QStringList{"1 15 1 1000 100"} << 3.13551 << NaN << NaN << M_LN10 << M_LN10;
    QTest::newRow("third count ignored") << "3.13551" << QStringList{"1 15 1 1000 100 7"} << 3.13551 << NaN << NaN << M_LN10 << M_LN10;
    QTest::newRow("zero count") << "3.13551" << QStringList{"1 15 1 0 100"} << 3.13551 << NaN << NaN << 1.0 << 1.0;
    QTest::newRow("negative product") << "3.13551" << QStringList{"1 15 1 -1000 100"} << 3.13551 << NaN << NaN << 1.0 << 1.0;
    QTest::newRow("both negative") << "3.13551" << QStringList{"1 15 1 -1000 -100"} << 3.13551 << NaN << NaN << M_LN10 << M_LN10;
    QTest::newRow("count not a number") << "3.13551" << QStringList{"1 15 1 x 100"} << 3.13551 << NaN << NaN << 1.0 << 1.0;
    QTest::newRow("two points") << "3.13551" << QStringList{"1 15 1 150 100", "1 16 1 1000 100"} << 3.13551 << NaN << NaN << std::log(1.5) << M_LN10;
    QTest::newRow("below one") << "3.13551" << QStringList{"1 15 1 10 100", "1 16 1 10"} << 3.13551 << NaN << NaN << -M_LN10 << 1.0;
}
// clang-format on

void TestReader9809::points()
{
    QFETCH(QString, spacing);
    QFETCH(QStringList, data);
    QStringList lines = lines9809(1).mid(0, 14);
    lines[4] = QString(" Mono :  Si(111)  D=  %1 A  Initial angle=  16.5 deg").arg(spacing);
    lines << data;
    DataSet ds;
    ds.xMin = ds.yMax = 5; // the reader itself resets the ranges
    QVERIFY(read9809Lines(ds, lines));
    QTEST(ds.units.d, "d");
    int expectedPoints = 0;
    for (const QString &l : data)
        expectedPoints += l.simplified().isEmpty() ? 0 : 1;
    QCOMPARE(ds.points.size(), expectedPoints);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(double, yMin);
    QFETCH(double, yMax);
    const double want[] = {xMin, xMax, yMin, yMax}, got[] = {ds.xMin, ds.xMax, ds.yMin, ds.yMax};
    for (int i = 0; i < 4; ++i)
        if (!std::isnan(want[i]))
            QVERIFY2(std::abs(got[i] - want[i]) < 1e-3,
                     qPrintable(QString::number(got[i], 'f', 6)));
}

// clang-format off
void TestReader9809::valueAfterKey_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("rest");

    QTest::newRow("padded value") << " Repetition=   2   Points= 4" << "Repetition=" << " " << "2" << "   Points= 4";
    QTest::newRow("right after key") << "Points=40 x" << "Points=" << " " << "40" << " x";
    QTest::newRow("key at the end") << "abc Points=" << "Points=" << " " << "" << "";
    QTest::newRow("only pad after key") << "Points=   " << "Points=" << " " << "" << "";
    QTest::newRow("key missing") << " Block  3" << "Block =" << " " << "" << " Block  3";
    QTest::newRow("first occurrence") << "A=1 A=2" << "A=" << " " << "1" << " A=2";
    QTest::newRow("case-sensitive") << "points=1 Points=2" << "Points=" << " " << "2" << "";
    QTest::newRow("tab is not pad") << "K=\t5 x" << "K=" << " " << "\t5" << " x";
    QTest::newRow("other pad") << "K=__5_x" << "K=" << "_" << "5" << "_x";
    QTest::newRow("long pad never matches") << "K=  5 x" << "K=" << "  " << "  5 x" << "";
}
// clang-format on

void TestReader9809::valueAfterKey()
{
    QFETCH(QString, line);
    QFETCH(QString, key);
    QFETCH(QString, pad);
    QString value = "stale";
    const QString rest = ::valueAfterKey(line, key, value, pad);
    QTEST(value, "value");
    QTEST(rest, "rest");
}

// clang-format off
void TestReader9809::crystal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("index");
    QTest::newRow("Si(111)") << "Si(111)" << "Si" << "111";
    QTest::newRow("no parentheses") << "Ge" << "Ge" << "";
    QTest::newRow("parenthesis first") << "(311)" << "(311)" << "";
    QTest::newRow("nested") << "Si(3(11))x" << "Si" << "311x";
    QTest::newRow("empty") << "" << "" << "";
}
// clang-format on

void TestReader9809::crystal()
{
    QFETCH(QString, text);
    Header9809 h;
    h.crystalIndex = "stale";
    h.setCrystal(text);
    QCOMPARE(h.crystal, text);
    QTEST(h.crystalName, "name");
    QTEST(h.crystalIndex, "index");
}

void TestReader9809::files()
{
    DataSet ds, fromText;
    QString reason;
    QVERIFY2(ds.read9809(testDataPath("scan3.dat"), &reason), qPrintable(reason));
    QCOMPARE(ds.header.lineCount, 16);
    QCOMPARE(ds.points.size(), 5);
    const QString text = readTextFile(testDataPath("scan3.dat"));
    QVERIFY(read9809Lines(fromText, text.split('\n').mid(0, text.count('\n'))));
    QCOMPARE(fromText.points.size(), ds.points.size());
    QCOMPARE(fromText.xMax, ds.xMax);

    QTemporaryDir dir;
    ds.units.d = 1.0;
    for (const QString &path : {dir.filePath("absent.dat"), QString()}) {
        QVERIFY(!ds.read9809(path, &reason));
        QVERIFY2(reason.startsWith("cannot open the file: "), qPrintable(reason));
        QCOMPARE(ds.units.d, 3.1355316);
    }
    QVERIFY(!ds.read9809(dir.filePath("absent.dat")));
}

QTEST_GUILESS_MAIN(TestReader9809)
#include "TestReader9809.moc"
