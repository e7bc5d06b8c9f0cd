#include "data/DataSet.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <cmath>

namespace {

// A valid 9809 file with the given number of scan blocks, line by line; the
// tests replace or drop single lines of it.
QStringList validLines(int blocks = 3)
{
    QStringList lines{
        QStringLiteral("   9809     LAB7        BLC2"),
        QStringLiteral("Cu foil          98.10.10 11:50:00 - 98.10.10 12:30:15.250"),
        QStringLiteral("  room temperature, transmission"),
        QStringLiteral(" Ring :  2.50 GeV  450.2 mA -  441.0 mA"),
        QStringLiteral(" Mono :  Si(111)  D=  3.13551 A  Initial angle=  16.50000 deg"),
        QStringLiteral(" Repetition=    2     Points=   4"),
        QStringLiteral(" Block =    %1").arg(blocks),
        QStringLiteral(" Block      Init-Eng   Final-Eng  Step/eV   Time/s  Num"),
        QStringLiteral(" Axis       Angle-ENG  Time/s"),
    };
    for (int b = 1; b <= blocks; ++b)
        lines << QStringLiteral("    %1   %2  %3  -0.005   1.00   300")
                     .arg(b)
                     .arg(17 - b)
                     .arg(16 - b);
    lines << QStringLiteral(" Column   Angle(c)  Angle(o)  Time/s  I0  I1  I2")
          << QStringLiteral(" ------") << QStringLiteral("      Mode     CH  :     1     2     3")
          << QStringLiteral("    Offset     CH  :   12.5   10.25   8.0")
          << QStringLiteral("  15.00000  15.00000   1.00  120000  80000  50000")
          << QStringLiteral("  30.00000  30.00000   1.00  1000  100  50");
    return lines;
}

int modeLineNo(int blocks)
{
    return 12 + blocks;
}

bool readLines(DataSet &ds, const QStringList &lines, QString *why = nullptr)
{
    QString text = lines.join(QLatin1Char('\n'));
    if (!lines.isEmpty())
        text += QLatin1Char('\n');
    QTextStream in(&text, QIODevice::ReadOnly);
    return ds.read9809(in, why);
}

// Energy of an observed angle, worked out independently of the reader.
double energyOf(double degrees, double spacing)
{
    return 12398.424360742056 / (2 * std::sin(degrees * M_PI / 180.0) * spacing);
}

} // namespace

class TestReader9809 : public QObject
{
    Q_OBJECT
private slots:
    void rejected_data();
    void rejected();
    void missingLine_data();
    void missingLine();
    void acceptedLines_data();
    void acceptedLines();
    void headerFields();
    void lineCount_data();
    void lineCount();
    void energy_data();
    void energy();
    void downwardScan();
    void absorbance_data();
    void absorbance();
    void emptyDataLineGivesNoPoint();
    void headerOnly();
    void sampleName_data();
    void sampleName();
    void scanAxis_data();
    void scanAxis();
    void trailingBlanksAddZero_data();
    void trailingBlanksAddZero();
    void valueAfterKey_data();
    void valueAfterKey();
    void crystal_data();
    void crystal();
    void fromPath();
    void cannotOpen();
};

void TestReader9809::rejected_data()
{
    QTest::addColumn<int>("lineNo");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");

    QTest::newRow("tag with two blanks") << 1 << "  9809     LAB7  BLC2"
                                         << "line 1:";
    QTest::newRow("tag without blanks") << 1 << "9809     LAB7  BLC2"
                                        << "line 1:";
    QTest::newRow("ring without leading blank") << 4 << "Ring :  2.50 GeV  450.2 mA -  441.0 mA"
                                                << "line 4:";
    QTest::newRow("ring without blank before colon")
        << 4 << " Ring:  2.50 GeV  450.2 mA -  441.0 mA"
        << "line 4:";
    QTest::newRow("mono tag") << 5 << "Mono :  Si(111)  D=  3.13551 A  Initial angle=  16.5 deg"
                              << "line 5: does not";
    QTest::newRow("mono item 1") << 5 << " Mono :  Si(111)  d=  3.13551 A  Initial angle=  16.5 deg"
                                 << "line 5: item 1 is \"d=\", not \"D=\"";
    QTest::newRow("mono item 4") << 5 << " Mono :  Si(111)  D=  3.13551 A  initial angle=  16.5 deg"
                                 << "line 5: item 4";
    QTest::newRow("mono item 5") << 5
                                 << " Mono :  Si(111)  D=  3.13551 A  Initial angle =  16.5 deg"
                                 << "line 5: item 5";
    QTest::newRow("mono crystal then blanks") << 5 << " Mono :  Si(111)  "
                                              << "line 5: item 1";
    QTest::newRow("mode tag") << modeLineNo(3) << "     Mode     CH  :     1     2     3"
                              << QString("line %1:").arg(modeLineNo(3));
    QTest::newRow("mode lower case") << modeLineNo(3) << "      mode     CH  :     1     2"
                                     << QString("line %1:").arg(modeLineNo(3));
    QTest::newRow("offset tag") << modeLineNo(3) + 1 << "   Offset     CH  :   12.5   10.25"
                                << QString("line %1:").arg(modeLineNo(3) + 1);
    // A block row too few shifts the Mode line onto the second skipped line.
    QTest::newRow("block count too high")
        << 7 << " Block =    4" << QString("line %1:").arg(modeLineNo(4));
}

void TestReader9809::rejected()
{
    QFETCH(int, lineNo);
    QFETCH(QString, text);
    QFETCH(QString, why);

    QStringList lines = validLines();
    lines[lineNo - 1] = text;
    DataSet ds;
    QString reason;
    QVERIFY(!readLines(ds, lines, &reason));
    QVERIFY2(reason.startsWith(why), qPrintable(reason));
    QVERIFY(ds.points.isEmpty());
}

void TestReader9809::missingLine_data()
{
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("kept");

    // Every header position, with and without a block table.
    for (int blocks : {0, 2}) {
        for (int kept = 0; kept < 13 + blocks; ++kept)
            QTest::addRow("%d blocks, %d lines", blocks, kept) << blocks << kept;
    }
}

void TestReader9809::missingLine()
{
    QFETCH(int, blocks);
    QFETCH(int, kept);

    const QStringList lines = validLines(blocks).mid(0, kept);
    DataSet ds;
    QString reason;
    QVERIFY(!readLines(ds, lines, &reason));
    QCOMPARE(reason, QString("the file ends at line %1 before the data section").arg(kept));
    QCOMPARE(ds.header.lineCount, kept);
}

void TestReader9809::acceptedLines_data()
{
    QTest::addColumn<int>("lineNo");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("crystal");
    QTest::addColumn<QString>("dSpacing");
    QTest::addColumn<QString>("blockCount");

    QTest::newRow("unchanged") << 0 << ""
                               << "Si(111)"
                               << "3.13551"
                               << "3";
    QTest::newRow("mono with crystal only") << 5 << " Mono :  Ge(220)"
                                            << "Ge(220)"
                                            << ""
                                            << "3";
    QTest::newRow("mono with crystal and spacing") << 5 << " Mono :  Ge(220)  D=  2.0"
                                                   << "Ge(220)"
                                                   << "2.0"
                                                   << "3";
    QTest::newRow("first line with more items") << 1 << "   9809  A  B  C  D"
                                                << "Si(111)"
                                                << "3.13551"
                                                << "3";
    QTest::newRow("ring line with only its tag") << 4 << " Ring :"
                                                 << "Si(111)"
                                                 << "3.13551"
                                                 << "3";
    QTest::newRow("line 8 anything") << 8 << "###"
                                     << "Si(111)"
                                     << "3.13551"
                                     << "3";
}

void TestReader9809::acceptedLines()
{
    QFETCH(int, lineNo);
    QFETCH(QString, text);

    QStringList lines = validLines();
    if (lineNo > 0)
        lines[lineNo - 1] = text;
    DataSet ds;
    QString reason;
    QVERIFY2(readLines(ds, lines, &reason), qPrintable(reason));
    QTEST(ds.header.crystal, "crystal");
    QTEST(ds.header.dSpacing, "dSpacing");
    QTEST(ds.header.blockCount, "blockCount");
    QCOMPARE(ds.points.size(), 2);
}

void TestReader9809::headerFields()
{
    DataSet ds;
    QString reason;
    QVERIFY2(readLines(ds, validLines(), &reason), qPrintable(reason));
    const Header9809 &h = ds.header;
    QCOMPARE(h.format, QString("9809"));
    QCOMPARE(h.firstItem, QString("LAB7"));
    QCOMPARE(h.beamline, QString("BLC2"));
    QCOMPARE(h.sampleName, QString("Cu foil"));
    const QStringList start{h.startYear,   h.startMonth,  h.startDay, h.startHour,
                            h.startMinute, h.startSecond, h.startMsec};
    QCOMPARE(start, QStringList({"2098", "10", "10", "11", "50", "00", "000"}));
    const QStringList end{h.endYear,   h.endMonth,  h.endDay, h.endHour,
                          h.endMinute, h.endSecond, h.endMsec};
    QCOMPARE(end, QStringList({"2098", "10", "10", "12", "30", "15", "250"}));
    QCOMPARE(h.comment, QString("  room temperature, transmission"));
    const QStringList ring{h.ringItem0, h.ringItem1, h.ringItem2, h.ringItem3, h.ringItem5};
    QCOMPARE(ring, QStringList({"2.50", "GeV", "450.2", "mA", "441.0"}));
    QCOMPARE(h.crystalName, QString("Si"));
    QCOMPARE(h.crystalIndex, QString("111"));
    QCOMPARE(h.dSpacingUnit, QString("A"));
    QCOMPARE(h.initialAngle, QString("16.50000"));
    QCOMPARE(h.initialAngleUnit, QString("deg"));
    QCOMPARE(h.repetition, QString("2"));
    QCOMPARE(h.pointCount, QString("4"));
    QCOMPARE(h.xUnit, QString("eV"));
    QCOMPARE(h.blocks.size(), 3);
    QCOMPARE(h.blocks.at(2).item[0], QString("3"));
    QCOMPARE(h.blocks.at(2).item[1], QString("14"));
    QCOMPARE(h.blocks.at(2).item[5], QString("300"));
    QCOMPARE(h.modes, QVector<int>({1, 2, 3}));
    QCOMPARE(h.offsets, QVector<double>({12.5, 10.25, 8.0}));
    QCOMPARE(ds.units.d, 3.13551);
    QCOMPARE(ds.points.at(0).angle, 15.0);
    QCOMPARE(ds.points.at(0).dwell, 1.0);
    QCOMPARE(ds.points.at(0).counts, QVector<double>({120000, 80000, 50000}));
}

void TestReader9809::lineCount_data()
{
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("expected");
    QTest::newRow("no blocks") << 0 << 13;
    QTest::newRow("three blocks") << 3 << 16;
    QTest::newRow("twelve blocks") << 12 << 25;
}

void TestReader9809::lineCount()
{
    QFETCH(int, blocks);
    DataSet ds;
    QString reason;
    QVERIFY2(readLines(ds, validLines(blocks), &reason), qPrintable(reason));
    QTEST(ds.header.lineCount, "expected");
    QCOMPARE(ds.header.blocks.size(), blocks);
    QCOMPARE(ds.points.size(), 2); // data lines are not header lines
}

void TestReader9809::energy_data()
{
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<double>("obsAngle");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("energy");

    QTest::newRow("D= 3.13551 at 15 deg") << "3.13551" << 15.0 << 3.13551 << 7638.922;
    QTest::newRow("default spacing at 30 deg") << "0" << 30.0 << 3.1355316 << 3954.170;
    QTest::newRow("D= 0 at 15 deg") << "0" << 15.0 << 3.1355316 << 7638.869;
    QTest::newRow("D= not a number") << "abc" << 15.0 << 3.1355316 << 7638.869;
    QTest::newRow("D= negative") << "-3.1" << 15.0 << 3.1355316 << 7638.869;
    QTest::newRow("D= 3.13551 at 45 deg") << "3.13551" << 45.0 << 3.13551 << 2796.040;
}

void TestReader9809::energy()
{
    QFETCH(QString, spacing);
    QFETCH(double, obsAngle);
    QFETCH(double, d);
    QFETCH(double, energy);

    QStringList lines = validLines(1);
    lines[4] = QString(" Mono :  Si(111)  D=  %1 A  Initial angle=  16.5 deg").arg(spacing);
    lines.erase(lines.end() - 2, lines.end());
    lines << QString("  1.0  %1  1.0  100  10").arg(obsAngle);
    DataSet ds;
    QVERIFY(readLines(ds, lines));
    QCOMPARE(ds.units.d, d);
    QCOMPARE(ds.points.size(), 1);
    QVERIFY2(std::abs(ds.points.at(0).energy - energy) < 1e-3,
             qPrintable(QString::number(ds.points.at(0).energy, 'f', 6)));
    QCOMPARE(ds.xMin, ds.points.at(0).energy);
    QCOMPARE(ds.xMax, ds.points.at(0).energy);
}

void TestReader9809::downwardScan()
{
    const QList<double> angles{14.0, 15.5, 17.0, 16.0};
    QStringList up = validLines(1), down = validLines(1);
    up.erase(up.end() - 2, up.end());
    down.erase(down.end() - 2, down.end());
    for (int i = 0; i < angles.size(); ++i) {
        up << QString("1 %1 1 10 5").arg(angles.at(i));
        down << QString("1 %1 1 10 5").arg(angles.at(angles.size() - 1 - i));
    }
    DataSet a, b;
    QVERIFY(readLines(a, up));
    QVERIFY(readLines(b, down));
    QVERIFY(std::abs(a.xMin - energyOf(17.0, 3.13551)) < 1e-6);
    QVERIFY(std::abs(a.xMax - energyOf(14.0, 3.13551)) < 1e-6);
    QCOMPARE(b.xMin, a.xMin);
    QCOMPARE(b.xMax, a.xMax);
}

void TestReader9809::absorbance_data()
{
    QTest::addColumn<QStringList>("data");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");

    QTest::newRow("one count") << QStringList{"1 15 1 500"} << 1.0 << 1.0;
    QTest::newRow("no count") << QStringList{"1 15 1"} << 1.0 << 1.0;
    QTest::newRow("1000 and 100") << QStringList{"1 15 1 1000 100"} << M_LN10 << M_LN10;
    QTest::newRow("third count ignored") << QStringList{"1 15 1 1000 100 7"} << M_LN10 << M_LN10;
    QTest::newRow("zero count") << QStringList{"1 15 1 0 100"} << 1.0 << 1.0;
    QTest::newRow("negative product") << QStringList{"1 15 1 -1000 100"} << 1.0 << 1.0;
    QTest::newRow("both negative") << QStringList{"1 15 1 -1000 -100"} << M_LN10 << M_LN10;
    QTest::newRow("non-number count") << QStringList{"1 15 1 x 100"} << 1.0 << 1.0;
    QTest::newRow("two points") << QStringList{"1 15 1 150 100", "1 16 1 1000 100"} << std::log(1.5)
                                << M_LN10;
    QTest::newRow("below one") << QStringList{"1 15 1 10 100", "1 16 1 10"} << -M_LN10 << 1.0;
}

void TestReader9809::absorbance()
{
    QFETCH(QStringList, data);
    QFETCH(double, yMin);
    QFETCH(double, yMax);

    QStringList lines = validLines(0);
    lines.erase(lines.end() - 2, lines.end());
    lines << data;
    DataSet ds;
    QVERIFY(readLines(ds, lines));
    QCOMPARE(ds.points.size(), data.size());
    QVERIFY2(std::abs(ds.yMin - yMin) < 1e-9, qPrintable(QString::number(ds.yMin)));
    QVERIFY2(std::abs(ds.yMax - yMax) < 1e-9, qPrintable(QString::number(ds.yMax)));
}

void TestReader9809::emptyDataLineGivesNoPoint()
{
    QStringList lines = validLines(0);
    lines.insert(lines.size() - 1, QString());
    lines.insert(lines.size() - 1, QString("   \t "));
    DataSet ds;
    QVERIFY(readLines(ds, lines));
    QCOMPARE(ds.points.size(), 2);
    QVERIFY(std::isfinite(ds.xMax));
    QVERIFY(std::abs(ds.xMax - energyOf(15.0, 3.13551)) < 1e-6);
}

void TestReader9809::headerOnly()
{
    QStringList lines = validLines(2);
    lines.erase(lines.end() - 2, lines.end());
    DataSet ds;
    ds.xMin = 5; // the reader itself resets the ranges
    QVERIFY(readLines(ds, lines));
    QVERIFY(ds.points.isEmpty());
    QCOMPARE(ds.xMin, 1e300);
    QCOMPARE(ds.yMin, 1e300);
    QCOMPARE(ds.xMax, -1e300);
    QCOMPARE(ds.yMax, -1e300);
}

void TestReader9809::sampleName_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("startYear");

    QTest::newRow("17 blanks") << QString(17, ' ') << ""
                               << "2098";
    QTest::newRow("one blank before") << " abc             "
                                      << "abc"
                                      << "2098";
    QTest::newRow("three blanks before") << "   abc           "
                                         << "abc"
                                         << "2098";
    QTest::newRow("inner blank kept") << "Cu  foil         "
                                      << "Cu  foil"
                                      << "2098";
    // A name running into the dates is cut at the field width.
    QTest::newRow("name too long") << "abcdefghijklmnopq98.10.10"
                                   << "abcdefghijklmnopq"
                                   << "2098";
    QTest::newRow("short line") << "abc"
                                << "abc"
                                << "2000";
}

void TestReader9809::sampleName()
{
    QFETCH(QString, field);
    QStringList lines = validLines();
    lines[1] = QStringLiteral("%1 98.10.10 11:50:00 - 98.10.10 12:30:15").arg(field);
    if (field.size() < 17)
        lines[1] = field;
    DataSet ds;
    QVERIFY(readLines(ds, lines));
    QTEST(ds.header.sampleName, "name");
    QTEST(ds.header.startYear, "startYear");
}

void TestReader9809::scanAxis_data()
{
    QTest::addColumn<QString>("line9");
    QTest::addColumn<QString>("xUnit");

    QTest::newRow("ENG") << " Axis  Angle-ENG  Time/s"
                         << "eV";
    QTest::newRow("lower case eng") << " Axis  Angle-eng"
                                    << "eV";
    QTest::newRow("no dash") << " Axis  ENG"
                             << "eV";
    QTest::newRow("first dash counts") << " Axis  A-B-ENG"
                                       << "deg";
    QTest::newRow("angle axis") << " Axis  Angle-DEG"
                                << "deg";
    QTest::newRow("first item only") << " Axis-ENG"
                                     << "deg";
    QTest::newRow("empty line") << ""
                                << "deg";
}

void TestReader9809::scanAxis()
{
    QFETCH(QString, line9);
    QStringList lines = validLines();
    lines[8] = line9;
    DataSet ds;
    QVERIFY(readLines(ds, lines));
    QTEST(ds.header.xUnit, "xUnit");
}

void TestReader9809::trailingBlanksAddZero_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QVector<int>>("modes");
    QTest::addColumn<QVector<double>>("offsets");

    QTest::newRow("plain") << "      Mode  a b 4 5"
                           << "    Offset  a b 1.5" << QVector<int>{4, 5} << QVector<double>{1.5};
    QTest::newRow("trailing blanks")
        << "      Mode  a b 4 5  "
        << "    Offset  a b 1.5 " << QVector<int>{4, 5, 0} << QVector<double>{1.5, 0};
    QTest::newRow("labels only") << "      Mode  a b"
                                 << "    Offset  a b" << QVector<int>{} << QVector<double>{};
    QTest::newRow("not numbers") << "      Mode  a b x 2.5"
                                 << "    Offset  a b y" << QVector<int>{0, 0} << QVector<double>{0};
}

void TestReader9809::trailingBlanksAddZero()
{
    QFETCH(QString, mode);
    QFETCH(QString, offset);
    QStringList lines = validLines(0);
    lines[modeLineNo(0) - 1] = mode;
    lines[modeLineNo(0)] = offset;
    DataSet ds;
    QString reason;
    QVERIFY2(readLines(ds, lines, &reason), qPrintable(reason));
    QTEST(ds.header.modes, "modes");
    QTEST(ds.header.offsets, "offsets");
}

void TestReader9809::valueAfterKey_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("rest");

    QTest::newRow("padded value") << " Repetition=   2   Points= 4"
                                  << "Repetition="
                                  << " "
                                  << "2"
                                  << "   Points= 4";
    QTest::newRow("value right after key") << "Points=40 x"
                                           << "Points="
                                           << " "
                                           << "40"
                                           << " x";
    QTest::newRow("key at the end") << "abc Points="
                                    << "Points="
                                    << " "
                                    << ""
                                    << "";
    QTest::newRow("only pad after key") << "Points=   "
                                        << "Points="
                                        << " "
                                        << ""
                                        << "";
    QTest::newRow("key missing") << " Block  3"
                                 << "Block ="
                                 << " "
                                 << ""
                                 << " Block  3";
    QTest::newRow("first occurrence") << "A=1 A=2"
                                      << "A="
                                      << " "
                                      << "1"
                                      << " A=2";
    QTest::newRow("case-sensitive") << "points=1 Points=2"
                                    << "Points="
                                    << " "
                                    << "2"
                                    << "";
    QTest::newRow("tab is not pad") << "K=\t5 x"
                                    << "K="
                                    << " "
                                    << "\t5"
                                    << " x";
    QTest::newRow("other pad") << "K=__5_x"
                               << "K="
                               << "_"
                               << "5"
                               << "_x";
    QTest::newRow("long pad never matches") << "K=  5 x"
                                            << "K="
                                            << "  "
                                            << "  5 x"
                                            << "";
}

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

void TestReader9809::crystal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("index");

    QTest::newRow("Si(111)") << "Si(111)"
                             << "Si"
                             << "111";
    QTest::newRow("no parentheses") << "Ge"
                                    << "Ge"
                                    << "";
    QTest::newRow("parenthesis first") << "(311)"
                                       << "(311)"
                                       << "";
    QTest::newRow("nested") << "Si(3(11))x"
                            << "Si"
                            << "311x";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

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

void TestReader9809::fromPath()
{
    DataSet ds;
    QString reason;
    QVERIFY2(ds.read9809(testDataPath("scan3.dat"), &reason), qPrintable(reason));
    QCOMPARE(ds.header.lineCount, 16);
    QCOMPARE(ds.header.beamline, QString("BLA7"));
    QCOMPARE(ds.points.size(), 5);

    // The same text read through a stream gives the same points.
    const QString text = readTextFile(testDataPath("scan3.dat"));
    QVERIFY(!text.isEmpty());
    DataSet fromText;
    QVERIFY(readLines(fromText, text.split('\n').mid(0, text.count('\n'))));
    QCOMPARE(fromText.points.size(), ds.points.size());
    QCOMPARE(fromText.xMax, ds.xMax);
}

void TestReader9809::cannotOpen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    DataSet ds;
    ds.units.d = 1.0;
    QString reason;
    QVERIFY(!ds.read9809(dir.filePath("absent.dat"), &reason));
    QVERIFY2(reason.startsWith("cannot open the file: "), qPrintable(reason));
    QCOMPARE(ds.units.d, 3.1355316);
    QVERIFY(!ds.read9809(dir.filePath("absent.dat"))); // no reason wanted
    QVERIFY(!ds.read9809(QString(), &reason));
    QVERIFY2(reason.startsWith("cannot open the file: "), qPrintable(reason));
}

QTEST_GUILESS_MAIN(TestReader9809)
#include "TestReader9809.moc"
