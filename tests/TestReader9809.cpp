#include "data/DataSet.h"

#include "TestSupport.h"

#include <cmath>

namespace {

// Energy of an observed angle, worked out independently of the reader.
QString energyOf(double degrees)
{
    return QString::number(12398.424360742056 / (2 * std::sin(degrees * M_PI / 180.0) * 3.13551),
                           'f', 3);
}

// One part of what the reader made of a file, as text.
QString field(const DataSet &ds, const QString &name)
{
    const Header9809 &h = ds.header;
    const BlockRow last = h.blocks.value(h.blocks.size() - 1);
    const QString points = QString::number(ds.points.size()) + ':';
    // The six keys describing each of the channels 0 to 2.
    QStringList columns;
    for (const QString c : {"017,018,019,0191,0192,0193", "020,021,022,0221,0222,0223",
                            "023,024,025,0251,0252,0253"}) {
        QStringList six;
        for (const QString &key : c.split(','))
            six << ds.extractValue("FILE_" + key);
        columns << six.join('/');
    }
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
        {"points", {QString::number(ds.points.size())}},
        {"columns", columns},
    };
    // Any other name is a metadata key the record supplies by itself.
    return f.value(name, {ds.extractValue(name)}).join(',');
}

} // namespace

class TestReader9809 : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
};

void TestReader9809::read_data()
{
    // Changes to the valid file: "<n>:<text>" replaces line n, "-<n>" keeps the first n lines,
    // "+<text>" is a data line in place of the file's two; or a file of its own, "@<name>".
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("field"); // of a read file; the reason of a rejected one
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, const QStringList &changes, const QString &field,
                  const QString &expected) { QTest::newRow(name) << changes << field << expected; };
    auto tagRow = [&](const char *name, const QString &change, int line, const QString &tag) {
        row(name, {change}, "", QString("line %1: does not start with \"%2\"").arg(line).arg(tag));
    };
    const QString notFormat = "line 1: its first item is not \"9809\"";

    row("9809 after a tab", {"1: \t9809\tFAC-C\tBLY5"}, "first", "FAC-C,BLY5");
    row("9809 alone", {"1:   9809"}, "first", ",");
    row("9809 before a carriage return", {"1:   9809\r"}, "first", ",");
    row("98090", {"1:   98090 LAB7 BLC2"}, "", notFormat);
    row("x9809", {"1:x9809 LAB7 BLC2"}, "", notFormat);
    row("9809 before a letter", {"1:   9809\rx"}, "", notFormat);
    tagRow("ring no blank before colon", "4: Ring:  2.50 GeV", 4, " Ring :");
    const QString notD = "line 5: item 1 is \"d=\", not \"D=\"";
    row("mono item 1", {"5: Mono :  Si(111)  d=  3.1 A"}, "", notD);
    tagRow("mode tag", "15:     Mode     CH  :     1     2     3", 15, "      Mode");
    tagRow("offset tag", "16:   Offset     CH  :   12.5", 16, "    Offset");
    // One block row too few moves the Mode line onto the second skipped line.
    tagRow("block count too high", "7: Block =    4", 16, "      Mode");
    for (int kept = 0; kept < 16; ++kept)
        row(qPrintable(QString("cut after %1 lines").arg(kept)), {"-" + QString::number(kept)}, "",
            QString("the file ends at line %1 before the data section").arg(kept));

    const QString dates = "98.10.10 11:50:00 - 98.10.10 12:30:15";
    // The dates after a long name: the first date followed by a time, searched from column 17.
    const QString longName =
        "2:1.2 3:4 sample-name 130529 1.2.3.4 2.5 um 13/5/29 1:2 - 13-5-30 3:4";
    row("dates", {}, "dates", "1998,10,10,11,50,00,000,-,1998,10,10,12,30,15,250");
    row("comment kept whole", {}, "comment", "  room temperature, transmission");
    row("mono", {}, "mono", "Si(111),Si,111,3.13551,A,16.50000,deg");
    row("mono nested, cut", {"5: Mono : Si(3(11))x D= 2.0"}, "mono", "Si(3(11))x,Si,311x,2.0,,,");
    row("mono parenthesis first", {"5: Mono :  (311)"}, "mono", "(311),(311),,,,,");
    row("block row", {}, "block", "3,14,300");
    row("sample blank", {"2:" + QString(17, ' ') + dates}, "sample", "");
    row("sample cut at 17", {"2:abcdefghijklmnopq" + dates}, "sample", "abcdefghijklmnopq");
    row("dates after name", {longName}, "dates", "2013,5,29,1,2,00,000,-,2013,5,30,3,4,00,000");
    row("sample before the date", {longName}, "sample",
        "1.2 3:4 sample-name 130529 1.2.3.4 2.5 um");
    row("date before 17 is name", {"2:x 13.1.2         13/5/29 1:2"}, "sample", "x 13.1.2");
    row("no date: 17 columns", {"2:a long sample name, no date"}, "sample", "a long sample nam");
    // Points= counts only after the repetition value.
    row("points before repetition", {"6: Points= 4  Repetition=  2"}, "counts", "16,2,,3");
    row("first key, tab no pad", {"6:Repetition=\t2 Repetition= 3 Points=4"}, "counts",
        "16,\t2,4,3");
    row("axis lower eng", {"9: Axis  Angle-eng"}, "xUnit", "eV");
    row("axis first dash counts", {"9: Axis  A-B-ENG"}, "xUnit", "deg");

    const QString e15 = energyOf(15), e14 = energyOf(14), e17 = energyOf(17);
    auto one = [](const QString &value) { return "1:" + value + ',' + value; };
    const QString zeroD = "5: Mono :  Si(111)  D=  0 A", negativeD = "5: Mono : Si(111) D= -3.1 A";
    const QStringList spread{"+1 15.5 1 10 5", "+1 14 1 10 5", "+1 17 1 10 5", "+1 16 1 10 5"};
    row("D= 0: default spacing", {zeroD, "+1 15 1 100 10"}, "x", one("7638.869"));
    row("D= negative: default", {negativeD, "+1 15 1 100 10"}, "x", one("7638.869"));
    row("extremes inside the scan", spread, "x", "4:" + e17 + ',' + e14);
    row("empty data lines give no point", {"+", "+1 15 1 10 1", "+   \t "}, "x", one(e15));
    row("end-of-file mark, blanks", {"+1 15 1 10 1", "+ \x1a\r\t", "+1 16 1 10 1"}, "points", "1");
    row("0x1A after a number", {"+1 15 1 10 1 \x1a", "+1 15 1 10 1"}, "points", "2");
    row("0x1A before a digit", {"+1 15 1 10 1", "+\0321", "+1 15 1 10 1"}, "points", "3");
    row("zero count", {"+1 15 1 0 100"}, "y", one("1.0000"));
    row("negative product", {"+1 15 1 -1000 100"}, "y", one("1.0000"));
    row("both negative", {"+1 15 1 -1000 -100"}, "y", one("2.3026"));
    row("below one", {"+1 15 1 10 100", "+1 16 1 10"}, "y", "2:-2.3026,1.0000");

    // Absorbance by the Mode line (modes 1 2 3 unless changed) and line 6.
    const QString fluoLower = "6: fluorescence  Repetition= 1  Points= 4";
    auto modes = [](const QString &m) { return "15:      Mode  CH : " + m; };
    row("mode 3 beside mode 2", {modes("1 3 2"), "+1 15 1 1000 50 100"}, "y", one("2.3026"));
    row("line 6 says so, any case", {fluoLower, "+1 15 1 1000 100 50"}, "y", one("0.0500"));
    row("no mode 3: all but I0, extra ignored", {fluoLower, modes("2 1 2"), "+1 15 1 30 1000 20 5"},
        "y", one("0.0500"));
    row("I0 of mode 2, no mode 1", {modes("2 3 3"), "+1 15 1 1000 30 20"}, "y", one("0.0500"));
    const QStringList noI0{modes("1 3"), "+1 15 1 0 100", "+1 15 1 -5 100"};
    row("fluorescence, I0 not > 0", noI0, "y", "2:1.0000,1.0000");
    row("I0 beyond the counts", {modes("3 3 1"), "+1 15 1 50 30"}, "y", one("1.0000"));
    row("I0 second, It mode 2", {modes("2 1"), "+1 15 1 100 1000"}, "y", one("2.3026"));
    row("no mode 2: It not I0", {modes("5 1 5"), "+1 15 1 100 1000 1"}, "y", one("2.3026"));
    row("It beyond the counts", {modes("1 5 2"), "+1 15 1 100 1000"}, "y", one("1.0000"));

    // Each column described by its channel's part: name, unit, kind, processing, mode and label.
    auto col = [](const QString &name, const QString &mode, const QString &label) {
        return QStringList{name, "count", "processed", "Offset subtracted", mode, label}.join('/');
    };
    const QString t = "transmission", f = "fluorescence", none = "--/--/--/--/--/--";
    const QString i0 = col("I0", t, "I0"), i1 = col("I1", t, "I1"), fl = col("If", f, "If");
    row("columns of modes 1 2 3", {}, "columns", QStringList{i0, i1, fl}.join(','));
    row("columns all of mode 1", {modes("1 1 1")}, "columns",
        QStringList{i0, i1, col("I2(Ref)", t, "I2")}.join(','));
    row("columns of modes 3 1 2", {"@n"}, "columns", QStringList{fl, i0, i1}.join(','));
    row("columns, two in transmission", {"@k"}, "columns", QStringList{i0, i1, none}.join(','));
    row("columns, two in fluorescence", {"@b"}, "columns",
        QStringList{col("I0", f, "I0"), fl, none}.join(','));
    row("columns, I0 of mode 2", {modes("2 3 3")}, "columns",
        QStringList{col("I0", f, "I0"), fl, fl}.join(','));
    row("columns, line 6 fluorescence", {fluoLower, modes("1 2 2")}, "columns",
        QStringList{col("I0", f, "I0"), fl, fl}.join(','));

    // Small files written the ways acquisition programs of several beamlines write them, one
    // variant or more in each: "@<letter>" opens tests/data/real/<letter>-*, whose line 3 says
    // which; "@<path>" a file in tests/data.
    const QString transmission = "9:0.5000,1.5500", fluorescence = "9:0.0100,0.2500";
    row("two blanks before 9809", {"@a"}, "first", "FAC-A,BLX3");
    row("trailing blank after the beamline", {"@b"}, "first", "FAC-B,14x2");
    row("CRLF, a last line of CR only", {"@a"}, "points", "9");
    row("DOS end-of-file line", {"@b"}, "points", "9");
    row("no final newline", {"@c"}, "points", "9");
    row("quick scan: one block, angle axis", {"@d"}, "counts", "14,1,9,1");
    row("quick scan: angle axis", {"@d"}, "MEAS_122_01", "deg");
    row("nine blocks", {"@c"}, "counts", "22,1,9,9");
    row("detector line, offsets run together", {"@a"}, "modes", "1,2|0");
    row("mode 1 3, line 6 fluorescence", {"@b"}, "y", fluorescence);
    row("mode 1 2 3, decimal counts", {"@c"}, "y", transmission);
    row("mode 3 1 4 103 101 104 5 5 5", {"@e"}, "y", fluorescence);
    row("offsets from a point", {"@c"}, "modes", "1,2,3|0.00254,0.00311,0.00198");
    row("serial after the end time", {"@c"}, "MEAS_100", "2021-11-19 09:55:00.000");
    row("year 98", {"@e"}, "MEAS_099", "1998-09-30 22:10:00.000");
    row("year 07", {"@a"}, "MEAS_099", "2007-06-12 10:05:00.000");
    row("one blank before 9809", {"@f"}, "first", "FAC-C,BLY5");
    row("three blanks before 9809", {"@g"}, "first", "FAC-C,BLY5");
    row("Aux input ( 2), mode 1 2 2", {"@f"}, "y", transmission);
    row("Transmission ( 2)", {"@g"}, "y", transmission);
    row("Extra mode ( 3), mode 1 3 3", {"@h"}, "y", fluorescence);
    row("19 elements, I0 in column 20", {"@i"}, "y", "9:0.0101,0.2500");
    row("19 elements, I0 of mode 2, 41 heads", {"@m"}, "y", "9:0.0118,0.2517");
    row("mode 3 1 2", {"@n"}, "y", transmission);
    row("quick scan, I0 of mode 2", {"@real/n-mixed-modes.qd"}, "y", "9:0.0034,0.0333");
    row("blank mode word ( 5)", {"@j"}, "y", transmission);
    row("Repitition=, Block = %4d", {"@g"}, "counts", "16,,9,3");
    row("Block =%2d, Points= two short", {"@f"}, "counts", "16,1,7,3");
    row("more rows than Points=", {"@f"}, "points", "9");
    row("aborted: end time placeholder", {"@k"}, "MEAS_100", "--");
    row("aborted: end current placeholder", {"@k"}, "FACI_009", "--");
    row("line 2 ends after its dash", {"@o"}, "MEAS_100", "--");
    row("line 2 without dates", {"2:a long sample name, no date"}, "INFO_011", "--");
    row("aborted: fewer rows than Points=", {"@k"}, "counts", "16,1,40,3");
    row("a path as the sample", {"@l"}, "sample", "Z:/XAFS/20130529/130529-Cufoil-04_5.dat");
    row("dates after a path", {"@l"}, "MEAS_099", "2013-05-29 19:07:00.000");
    row("dotted times", {"@j"}, "dates", "2025,03,02,10,53,00,000,-,2025,03,02,10,56,00,000");
    row("##  1303", {"@bad/hash-1303.dat"}, "", notFormat);
}

void TestReader9809::read()
{
    QFETCH(QStringList, changes);
    QFETCH(QString, field);
    const QStringList data = changes.filter(QRegularExpression("^\\+"));
    QStringList lines = lines9809().mid(0, data.isEmpty() ? -1 : 16);
    QString file;
    for (const QString &change : changes) {
        if (change.startsWith('@'))
            file = change.mid(1);
        else if (change.startsWith('-'))
            lines = lines.mid(0, change.mid(1).toInt());
        else if (change.startsWith('+'))
            lines << change.mid(1);
        else
            lines[change.section(':', 0, 0).toInt() - 1] = change.section(':', 1);
    }
    DataSet ds;
    ds.units.d = 1; // the reader itself resets the spacing and the ranges
    ds.xMin = ds.yMax = 5;
    QString why;
    const QDir real(testDataPath("real"));
    if (file.isEmpty())
        ds.ok = read9809Lines(ds, lines, &why);
    else
        ds.openFile(true,
                    file.contains('/') ? testDataPath(file)
                                       : real.filePath(real.entryList({file + "-*"}).value(0)),
                    nullptr, &why);
    QCOMPARE(ds.ok, !field.isEmpty());
    QTEST(ds.ok ? ::field(ds, field) : why, "expected");
    // Data lines are not header lines.
    if (ds.ok && file.isEmpty() && data.isEmpty())
        QCOMPARE(ds.points.size(), 2);
}

QTEST_GUILESS_MAIN(TestReader9809)
#include "TestReader9809.moc"
