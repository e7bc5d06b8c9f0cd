#include "data/DataSet.h"

#include "TestSupport.h"

#include <QtTest>

#include <cmath>

namespace {

// Energy of an observed angle, worked out independently of the reader.
QString energyOf(double degrees)
{
    return QString::number(12398.424360742056 / (2 * std::sin(degrees * M_PI / 180.0) * 3.13551),
                           'f', 3);
}

template <typename T> QString joined(const QVector<T> &v)
{
    QStringList s;
    for (T x : v)
        s << QString::number(x);
    return s.join(',');
}

// One part of what the reader made of a file, as text.
QString field(const DataSet &ds, const QString &name)
{
    const Header9809 &h = ds.header;
    const BlockRow last = h.blocks.value(h.blocks.size() - 1);
    const QString points = QString::number(ds.points.size()) + ':';
    const QMap<QString, QStringList> f{
        {"first", {h.firstItem, h.beamline}},
        {"sample", {h.sampleName}},
        {"dates",
         {h.startYear, h.startMonth, h.startDay, h.startHour, h.startMinute, h.startSecond,
          h.startMsec, "-", h.endYear, h.endMonth, h.endDay, h.endHour, h.endMinute, h.endSecond,
          h.endMsec}},
        {"comment", {h.comment}},
        {"ring", {h.ringItem0, h.ringItem1, h.ringItem2, h.ringItem3, h.ringItem5}},
        {"mono",
         {h.crystal, h.crystalName, h.crystalIndex, h.dSpacing, h.dSpacingUnit, h.initialAngle,
          h.initialAngleUnit}},
        {"counts", {QString::number(h.lineCount), h.repetition, h.pointCount, h.blockCount}},
        {"block", {last.item[0], last.item[1], last.item[5]}},
        {"xUnit", {h.xUnit}},
        {"modes", {joined(h.modes) + '|' + joined(h.offsets)}},
        {"x", {points + QString::number(ds.xMin, 'f', 3), QString::number(ds.xMax, 'f', 3)}},
        {"y", {points + QString::number(ds.yMin, 'f', 4), QString::number(ds.yMax, 'f', 4)}},
    };
    return f.value(name, {"?"}).join(',');
}

} // namespace

class TestReader9809 : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
};

// clang-format off
void TestReader9809::read_data()
{
    // Changes to the valid file: "<n>:<text>" replaces line n, "-<n>" keeps
    // the first n lines, "+<text>" is a data line in place of the file's two.
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("field"); // of a read file; the reason of a rejected one
    QTest::addColumn<QString>("expected");

    QTest::newRow("tag two blanks") << QStringList{"1:  9809     LAB7  BLC2"} << "" << "line 1: does not start with \"   9809\"";
    QTest::newRow("ring no blank before colon") << QStringList{"4: Ring:  2.50 GeV"} << "" << "line 4: does not start with \" Ring :\"";
    QTest::newRow("mono item 1") << QStringList{"5: Mono :  Si(111)  d=  3.1 A  Initial angle=  16.5 deg"} << "" << "line 5: item 1 is \"d=\", not \"D=\"";
    QTest::newRow("mode tag") << QStringList{"15:     Mode     CH  :     1     2     3"} << "" << "line 15: does not start with \"      Mode\"";
    QTest::newRow("offset tag") << QStringList{"16:   Offset     CH  :   12.5"} << "" << "line 16: does not start with \"    Offset\"";
    // One block row too few moves the Mode line onto the second skipped line.
    QTest::newRow("block count too high") << QStringList{"7: Block =    4"} << "" << "line 16: does not start with \"      Mode\"";
    for (int kept = 0; kept < 16; ++kept)
        QTest::addRow("cut after %d lines", kept) << QStringList{"-" + QString::number(kept)} << "" << QString("the file ends at line %1 before the data section").arg(kept);

    const QString dates = "98.10.10 11:50:00 - 98.10.10 12:30:15";
    const QStringList none;
    QTest::newRow("first line") << none << "first" << "LAB7,BLC2";
    QTest::newRow("dates") << none << "dates" << "2098,10,10,11,50,00,000,-,2098,10,10,12,30,15,250";
    QTest::newRow("comment kept whole") << none << "comment" << "  room temperature, transmission";
    QTest::newRow("ring") << none << "ring" << "2.50,GeV,450.2,mA,441.0";
    QTest::newRow("mono") << none << "mono" << "Si(111),Si,111,3.13551,A,16.50000,deg";
    QTest::newRow("mono nested, cut after D") << QStringList{"5: Mono :  Si(3(11))x  D=  2.0"} << "mono" << "Si(3(11))x,Si,311x,2.0,,,";
    QTest::newRow("mono parenthesis first") << QStringList{"5: Mono :  (311)"} << "mono" << "(311),(311),,,,,";
    QTest::newRow("counts") << none << "counts" << "16,2,4,3";
    QTest::newRow("block row") << none << "block" << "3,14,300";
    QTest::newRow("sample blank") << QStringList{"2:" + QString(17, ' ') + dates} << "sample" << "";
    QTest::newRow("sample cut at 17") << QStringList{"2:abcdefghijklmnopq" + dates} << "sample" << "abcdefghijklmnopq";
    // Points= counts only after the repetition value.
    QTest::newRow("points before repetition") << QStringList{"6: Points= 4  Repetition=  2"} << "counts" << "16,2,,3";
    QTest::newRow("first key, no pad") << QStringList{"6:Repetition=1 Repetition= 2 Points=4"} << "counts" << "16,1,4,3";
    QTest::newRow("tab is no pad") << QStringList{"6: Repetition=\t2 Points= 4"} << "counts" << "16,\t2,4,3";
    QTest::newRow("axis lower eng") << QStringList{"9: Axis  Angle-eng"} << "xUnit" << "eV";
    QTest::newRow("axis first dash counts") << QStringList{"9: Axis  A-B-ENG"} << "xUnit" << "deg";
    QTest::newRow("modes") << none << "modes" << "1,2,3|12.5,10.25,8";

    QTest::newRow("D= 0: default spacing") << QStringList{"5: Mono :  Si(111)  D=  0 A", "+1 15 1 100 10"} << "x" << "1:7638.869,7638.869";
    QTest::newRow("D= negative: default spacing") << QStringList{"5: Mono :  Si(111)  D=  -3.1 A", "+1 15 1 100 10"} << "x" << "1:7638.869,7638.869";
    QTest::newRow("extremes inside the scan") << QStringList{"+1 15.5 1 10 5", "+1 14 1 10 5", "+1 17 1 10 5", "+1 16 1 10 5"} << "x" << "4:" + energyOf(17) + ',' + energyOf(14);
    QTest::newRow("empty data lines give no point") << QStringList{"+", "+1 15 1 10 1", "+   \t "} << "x" << "1:" + energyOf(15) + ',' + energyOf(15);
    QTest::newRow("third count ignored") << QStringList{"+1 15 1 1000 100 7"} << "y" << "1:2.3026,2.3026";
    QTest::newRow("zero count") << QStringList{"+1 15 1 0 100"} << "y" << "1:1.0000,1.0000";
    QTest::newRow("negative product") << QStringList{"+1 15 1 -1000 100"} << "y" << "1:1.0000,1.0000";
    QTest::newRow("both negative") << QStringList{"+1 15 1 -1000 -100"} << "y" << "1:2.3026,2.3026";
    QTest::newRow("below one") << QStringList{"+1 15 1 10 100", "+1 16 1 10"} << "y" << "2:-2.3026,1.0000";
}
// clang-format on

void TestReader9809::read()
{
    QFETCH(QStringList, changes);
    QFETCH(QString, field);
    const QStringList data = changes.filter(QRegularExpression("^\\+"));
    QStringList lines = lines9809().mid(0, data.isEmpty() ? -1 : 16);
    for (const QString &change : changes) {
        if (change.startsWith('-'))
            lines = lines.mid(0, change.mid(1).toInt());
        else if (change.startsWith('+'))
            lines << change.mid(1);
        else
            lines[change.section(':', 0, 0).toInt() - 1] = change.section(':', 1);
    }
    DataSet ds;
    ds.units.d = 1; // the reader itself resets the spacing and the ranges
    ds.xMin = ds.yMax = 5;
    QString reason;
    const bool read = read9809Lines(ds, lines, &reason);
    QCOMPARE(read, !field.isEmpty());
    QTEST(read ? ::field(ds, field) : reason, "expected");
    // Data lines are not header lines.
    if (read && data.isEmpty())
        QCOMPARE(ds.points.size(), 2);
}

QTEST_GUILESS_MAIN(TestReader9809)
#include "TestReader9809.moc"
