#include "data/DataSet.h"

#include "TestSupport.h"

#include <QtTest>

#include <cmath>

namespace {

const double NaN = std::nan("");

// Energy of an observed angle, worked out independently of the reader.
double energyOf(double degrees, double spacing)
{
    return 12398.424360742056 / (2 * std::sin(degrees * M_PI / 180.0) * spacing);
}

template <typename T> QString joined(const QVector<T> &v)
{
    QStringList s;
    for (T x : v)
        s << QString::number(x);
    return s.join(',');
}

QString field(const DataSet &ds, const QString &name)
{
    const Header9809 &h = ds.header;
    const BlockRow last = h.blocks.value(h.blocks.size() - 1);
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
    };
    return f.value(name, {"?"}).join(',');
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
};

// clang-format off
void TestReader9809::rejected_data()
{
    QTest::addColumn<int>("lineNo"); // the line replaced; -n: the file cut after n lines
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");

    QTest::newRow("tag two blanks") << 1 << "  9809     LAB7  BLC2" << "line 1:";
    QTest::newRow("ring no blank before colon") << 4 << " Ring:  2.50 GeV" << "line 4:";
    QTest::newRow("mono item 1") << 5 << " Mono :  Si(111)  d=  3.1 A  Initial angle=  16.5 deg" << "line 5: item 1 is \"d=\", not \"D=\"";
    QTest::newRow("mode tag") << 15 << "     Mode     CH  :     1     2     3" << "line 15:";
    QTest::newRow("offset tag") << 16 << "   Offset     CH  :   12.5   10.25" << "line 16:";
    // One block row too few moves the Mode line onto the second skipped line.
    QTest::newRow("block count too high") << 7 << " Block =    4" << "line 16:";
    for (int kept = 0; kept < 16; ++kept)
        QTest::addRow("cut after %d lines", kept) << -kept << QString() << QString("the file ends at line %1 before the data section").arg(kept);
}
// clang-format on

void TestReader9809::rejected()
{
    QFETCH(int, lineNo);
    QFETCH(QString, text);
    QFETCH(QString, why);
    QStringList lines = lines9809();
    if (lineNo > 0)
        lines[lineNo - 1] = text;
    else
        lines = lines.mid(0, -lineNo);
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
    QTest::addColumn<QString>("change"); // "<line number>:<new text>", or none
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    const QString dates = "98.10.10 11:50:00 - 98.10.10 12:30:15";
    QTest::newRow("first line") << "" << "first" << "LAB7,BLC2";
    QTest::newRow("dates") << "" << "dates" << "2098,10,10,11,50,00,000,-,2098,10,10,12,30,15,250";
    QTest::newRow("comment kept whole") << "" << "comment" << "  room temperature, transmission";
    QTest::newRow("ring") << "" << "ring" << "2.50,GeV,450.2,mA,441.0";
    QTest::newRow("mono") << "" << "mono" << "Si(111),Si,111,3.13551,A,16.50000,deg";
    QTest::newRow("mono nested, cut after D") << "5: Mono :  Si(3(11))x  D=  2.0" << "mono" << "Si(3(11))x,Si,311x,2.0,,,";
    QTest::newRow("mono parenthesis first") << "5: Mono :  (311)" << "mono" << "(311),(311),,,,,";
    QTest::newRow("counts") << "" << "counts" << "16,2,4,3";
    QTest::newRow("block row") << "" << "block" << "3,14,300";
    QTest::newRow("sample blank") << "2:" + QString(17, ' ') + dates << "sample" << "";
    QTest::newRow("sample cut at 17") << "2:abcdefghijklmnopq" + dates << "sample" << "abcdefghijklmnopq";
    // Points= counts only after the repetition value.
    QTest::newRow("points before repetition") << "6: Points= 4  Repetition=  2" << "counts" << "16,2,,3";
    QTest::newRow("first key, no pad") << "6:Repetition=1 Repetition= 2 Points=4" << "counts" << "16,1,4,3";
    QTest::newRow("tab is no pad") << "6: Repetition=\t2 Points= 4" << "counts" << "16,\t2,4,3";
    QTest::newRow("axis lower eng") << "9: Axis  Angle-eng" << "xUnit" << "eV";
    QTest::newRow("axis first dash counts") << "9: Axis  A-B-ENG" << "xUnit" << "deg";
    QTest::newRow("modes") << "" << "modes" << "1,2,3|12.5,10.25,8";
}
// clang-format on

void TestReader9809::accepted()
{
    QFETCH(QString, change);
    QFETCH(QString, field);
    QStringList lines = lines9809();
    if (!change.isEmpty())
        lines[change.section(':', 0, 0).toInt() - 1] = change.section(':', 1);
    DataSet ds;
    QString reason;
    QVERIFY2(read9809Lines(ds, lines, &reason), qPrintable(reason));
    QCOMPARE(ds.points.size(), 2); // data lines are not header lines
    QTEST(::field(ds, field), "expected");
}

// clang-format off
void TestReader9809::points_data()
{
    QTest::addColumn<QString>("spacing"); // none: D= 3.13551
    QTest::addColumn<QStringList>("data");
    QTest::addColumn<double>("xMin"); // NaN: not checked
    QTest::addColumn<double>("xMax");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");

    const QStringList one{"1 15 1 100 10"};
    const double d = 3.13551;
    QTest::newRow("D= 3.13551") << "" << one << 7638.922 << 7638.922 << NaN << NaN;
    QTest::newRow("D= 0: default spacing") << "0" << one << 7638.869 << 7638.869 << NaN << NaN;
    QTest::newRow("extremes inside the scan") << "" << QStringList{"1 15.5 1 10 5", "1 14 1 10 5", "1 17 1 10 5", "1 16 1 10 5"} << energyOf(17, d) << energyOf(14, d) << NaN << NaN;
    QTest::newRow("empty data lines give no point") << "" << QStringList{"", "1 15 1 10 1", "   \t "} << energyOf(15, d) << energyOf(15, d) << NaN << NaN;
    QTest::newRow("no count") << "" << QStringList{"1 15 1"} << NaN << NaN << 1.0 << 1.0;
    QTest::newRow("third count ignored") << "" << QStringList{"1 15 1 1000 100 7"} << NaN << NaN << M_LN10 << M_LN10;
    QTest::newRow("zero count") << "" << QStringList{"1 15 1 0 100"} << NaN << NaN << 1.0 << 1.0;
    QTest::newRow("both negative") << "" << QStringList{"1 15 1 -1000 -100"} << NaN << NaN << M_LN10 << M_LN10;
    QTest::newRow("below one") << "" << QStringList{"1 15 1 10 100", "1 16 1 10"} << NaN << NaN << -M_LN10 << 1.0;
}
// clang-format on

void TestReader9809::points()
{
    QFETCH(QString, spacing);
    QFETCH(QStringList, data);
    QStringList lines = lines9809(1).mid(0, 14) + data;
    if (!spacing.isEmpty())
        lines[4] = QString(" Mono :  Si(111)  D=  %1 A  Initial angle=  16.5 deg").arg(spacing);
    DataSet ds;
    ds.units.d = 1; // the reader itself resets the spacing and the ranges
    ds.xMin = ds.yMax = 5;
    QVERIFY(read9809Lines(ds, lines));
    QCOMPARE(ds.points.size(), data.filter(QRegularExpression("\\S")).size());
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

QTEST_GUILESS_MAIN(TestReader9809)
#include "TestReader9809.moc"
