#include "data/DataSet.h"

#include <QTextStream>
#include <QtTest>

namespace {

// A record as the readers would leave it for "scan3.dat" with three blocks.
void fill(DataSet &ds, bool withInfo)
{
    Header9809 &h = ds.header;
    h.lineCount = 16;
    h.format = "9809";
    h.firstItem = "LAB7";
    h.beamline = "BLC2";
    h.startYear = h.endYear = "2098";
    h.startMonth = h.startDay = "10";
    h.startHour = "11";
    h.startMinute = "50";
    h.startSecond = "00";
    h.startMsec = "000";
    h.endHour = "12"; // the end fields must not leak into the start
    h.ringItem0 = "2.50";
    h.ringItem2 = "450.2";
    h.ringItem3 = "mA";
    h.ringItem5 = "441.0";
    h.setCrystal("Si(111)");
    h.dSpacing = "3.13551";
    h.dSpacingUnit = "A";
    h.pointCount = "520";
    h.blockCount = "3";
    h.xUnit = "eV";
    for (int b = 1; b <= 3; ++b) {
        BlockRow row;
        for (int i = 0; i < 6; ++i)
            row.item[i] = QString("b%1c%2").arg(b).arg(i);
        h.blocks.append(row);
    }
    ds.baseName = "scan3";
    ds.suffix = "dat";
    if (withInfo) {
        QString text = "Measurement Type: Quick XAFS\n"
                       "Start Date Time: 2019/03/25 09:41:07.500\n"
                       "End Date: 2019/03/25 10:12:44\n"
                       "Detector Range: 1 I0 8\n"
                       "Detector Range: 2 I1 6\n";
        QTextStream in(&text, QIODevice::ReadOnly);
        ds.readInfo(in);
    }
}

} // namespace

class TestExtract : public QObject
{
    Q_OBJECT
private slots:
    void extract_data();
    void extract();
    void detectorRange_data();
    void detectorRange();
};

// clang-format off
void TestExtract::extract_data()
{
    QTest::addColumn<QString>("record"); // info, plain, empty; or plain with one header field changed
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QStringList fromRecord{
        "INFO_011", "2098-10-10 11:50:00.000", "INFO_012", "2098-10-10 11:50:00.000",
        "FACI_002", "BLC2B", "FACI_007", "450.2", "FACI_009", "441.0", "FILE_001", "scan3",
        "FILE_002", "dat", "FILE_003", "9809", "FILE_004", "16", "FILE_026", "scan3",
        "INST_007", "Si", "INST_008", "111", "INST_009", "3.13551", "INST_010", "A",
        "MEAS_112", "3", "MEAS_200", "520"};
    for (int i = 0; i < fromRecord.size(); i += 2) {
        QTest::addRow("%s", qPrintable(fromRecord[i])) << "info" << fromRecord[i] << fromRecord[i + 1];
        if (i >= 4 && fromRecord[i] != "FILE_004")
            QTest::addRow("%s of nothing read", qPrintable(fromRecord[i])) << "empty" << fromRecord[i] << QString();
    }
    // The descriptions of the 9809 columns and of the thumbnail.
    const QStringList fixed{
        "FILE_005", "deg", "FILE_006", "deg", "FILE_007", "raw", "FILE_008", "Uncalibrated",
        "FILE_009", "obs_deg", "FILE_010", "deg", "FILE_011", "raw", "FILE_012", "Uncalibrated",
        "FILE_013", "dwell", "FILE_014", "sec", "FILE_015", "raw", "FILE_016", "Uncalibrated",
        "FILE_017", "I0", "FILE_018", "count", "FILE_019", "processed", "FILE_0191", "Offset subtracted",
        "FILE_0192", "transmission", "FILE_0193", "I0", "FILE_020", "I1", "FILE_021", "count",
        "FILE_022", "processed", "FILE_0221", "Offset subtracted", "FILE_0222", "transmission",
        "FILE_0223", "I1", "FILE_023", "I2(Ref)", "FILE_024", "count", "FILE_025", "processed",
        "FILE_0251", "Offset subtracted", "FILE_0252", "transmission", "FILE_0253", "I2",
        "FILE_0261", "thumbnail", "FILE_027", "png", "FILE_028", "image/png", "INST_501", "0",
        "INST_502", "deg", "INST_503", "1200", "INST_504", "lines/mm", "INST_505", "20", "INST_506", "um"};
    for (int i = 0; i < fixed.size(); i += 2)
        QTest::addRow("%s", qPrintable(fixed[i])) << "plain" << fixed[i] << fixed[i + 1];
    for (const char *key : {"INST_016", "INST_025", "INST_034", "INST_042", "INST_044", "INST_050", "INST_052", "INST_058", "INST_060", "INST_066", "INST_068", "MEAS_037", "MEAS_038", "MEAS_039", "MEAS_040", "MEAS_041", "MEAS_070", "MEAS_071", "MEAS_072", "MEAS_073", "MEAS_074"})
        QTest::addRow("%s", key) << "info" << QString(key) << "--";
    // From the info file: with it, then without it.
    const QStringList fromInfo{
        "INST_006", "Quick XAFS", "Step XAFS", "MEAS_099", "2019-03-25 09:41:07.500", "2000-- --:--:--.---",
        "MEAS_100", "2019-03-25 10:12:44.000", "2000-- --:--:--.---", "MEAS_003", "1", "1e+07",
        "MEAS_017", "1e-07", "1", "MEAS_044", "100", "1e+07", "MEAS_050", "1e-05", "1",
        "MEAS_077", "1e+07", "1e+07", "MEAS_083", "1", "1"};
    for (int i = 0; i < fromInfo.size(); i += 3) {
        QTest::addRow("%s with info", qPrintable(fromInfo[i])) << "info" << fromInfo[i] << fromInfo[i + 1];
        QTest::addRow("%s without info", qPrintable(fromInfo[i])) << "plain" << fromInfo[i] << fromInfo[i + 2];
    }
    QTest::newRow("not a key") << "info" << "SYS_001" << "";
    QTest::newRow("work key") << "info" << "INFO_013" << "";
    QTest::newRow("lower case") << "info" << "file_001" << "";
    QTest::newRow("empty key") << "info" << "" << "";
    QTest::newRow("extra digit") << "info" << "FILE_0011" << "";
    QTest::newRow("BLA7 kept") << "beamline=BLA7" << "FACI_002" << "BLA7";
    QTest::newRow("BLE4 kept") << "beamline=BLE4" << "FACI_002" << "BLE4";
    QTest::newRow("other beamline") << "beamline=BL9X" << "FACI_002" << "BL9X";
    QTest::newRow("lower-case blc2") << "beamline=blc2" << "FACI_002" << "blc2";
    QTest::newRow("BLC2B kept") << "beamline=BLC2B" << "FACI_002" << "BLC2B";
    QTest::newRow("start not widened") << "start=2020,1,5,9,4,3,7" << "INFO_011" << "2020-1-5 9:4:3.7";
    QTest::newRow("start without msec") << "start=2020,01,05,12,34,56," << "INFO_012" << "2020-01-05 12:34:56";
    QTest::newRow("block 120 in range") << "plain" << "MEAS_120_01" << "--NO_VALUE--";
    QTest::newRow("block 121 third") << "plain" << "MEAS_121_03" << "b3c1";
    QTest::newRow("block 122 unit") << "plain" << "MEAS_122_02" << "eV";
    QTest::newRow("block 123") << "plain" << "MEAS_123_01" << "b1c2";
    QTest::newRow("block 124 unit") << "plain" << "MEAS_124_03" << "eV";
    QTest::newRow("block 125") << "plain" << "MEAS_125_02" << "b2c3";
    QTest::newRow("block 126 unit") << "plain" << "MEAS_126_01" << "eV";
    QTest::newRow("block 127") << "plain" << "MEAS_127_03" << "b3c4";
    QTest::newRow("block 128 seconds") << "plain" << "MEAS_128_01" << "s";
    QTest::newRow("block 129") << "plain" << "MEAS_129_02" << "b2c5";
    QTest::newRow("block 120 beyond") << "plain" << "MEAS_120_04" << "--";
    QTest::newRow("block 121 beyond") << "plain" << "MEAS_121_04" << "--";
    QTest::newRow("block 128 tenth") << "plain" << "MEAS_128_10" << "--";
    QTest::newRow("block count not a number") << "blocks=x" << "MEAS_121_01" << "--";
    QTest::newRow("block count zero") << "blocks=0" << "MEAS_128_01" << "--";
    QTest::newRow("block eleventh") << "blocks=12" << "MEAS_121_11" << "";
    QTest::newRow("block no suffix") << "plain" << "MEAS_121" << "";
    QTest::newRow("block zero") << "plain" << "MEAS_121_00" << "";
    QTest::newRow("block one digit") << "plain" << "MEAS_121_1" << "";
    QTest::newRow("block signed") << "plain" << "MEAS_121_+1" << "";
    QTest::newRow("block blank in number") << "plain" << "MEAS_121_ 1" << "";
    QTest::newRow("block column not a digit") << "plain" << "MEAS_12x_01" << "";
    QTest::newRow("block column beyond ASCII") << "plain" << QString("MEAS_12") + QChar(0x0661) + "_01" << "";
    QTest::newRow("block number beyond ASCII") << "plain" << QString("MEAS_121_0") + QChar(0x0661) << "";
    QTest::newRow("block other separator") << "plain" << "MEAS_121-01" << "";
    QTest::newRow("block other base") << "plain" << "MEAS_130_01" << "";
    QTest::newRow("block lower case") << "plain" << "meas_121_01" << "";
}
// clang-format on

void TestExtract::extract()
{
    QFETCH(QString, record);
    QFETCH(QString, key);
    DataSet ds;
    if (record != "empty")
        fill(ds, record == "info");
    const QString value = record.section('=', 1);
    if (record.startsWith("beamline="))
        ds.header.beamline = value;
    else if (record.startsWith("blocks="))
        ds.header.blockCount = value;
    if (record.startsWith("start=")) {
        const QStringList f = value.split(',');
        Header9809 &h = ds.header;
        h.startYear = f[0], h.startMonth = f[1], h.startDay = f[2], h.startHour = f[3];
        h.startMinute = f[4], h.startSecond = f[5], h.startMsec = f[6];
        QTEST(startDateTime(ds), "expected");
    }
    QTEST(ds.extractValue(key), "expected");
}

// clang-format off
void TestExtract::detectorRange_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("detector");
    QTest::addColumn<double>("expected");

    QTest::newRow("no lines") << QStringList{} << "I0" << 1.0;
    QTest::newRow("three words") << QStringList{"1 I0 8"} << "I0" << 8.0;
    QTest::newRow("other detector") << QStringList{"1 I0 8"} << "I1" << 1.0;
    QTest::newRow("name at position 0") << QStringList{"I0 1 8"} << "I0" << 1.0;
    QTest::newRow("first occurrence at 0") << QStringList{"I1 I1 5"} << "I1" << 1.0;
    QTest::newRow("later line wins") << QStringList{"1 I1 4", "2 I1 6"} << "I1" << 6.0;
    QTest::newRow("later line of another detector") << QStringList{"1 I1 4", "2 I0 6"} << "I1" << 4.0;
    QTest::newRow("later line too short") << QStringList{"1 I1 4", "1 I1"} << "I1" << 1.0;
    QTest::newRow("range not a number") << QStringList{"1 I2 x"} << "I2" << 0.0;
    QTest::newRow("part 2 is not the last") << QStringList{"1 I2 3 9"} << "I2" << 3.0;
    QTest::newRow("leading blank") << QStringList{" I0 7"} << "I0" << 7.0;
    QTest::newRow("tabs and runs of blanks") << QStringList{"1\t I0 \t 5 "} << "I0" << 5.0;
    QTest::newRow("vertical tab and form feed") << QStringList{"1\vI0\f9"} << "I0" << 9.0;
    // Only ASCII blanks separate the parts.
    QTest::newRow("no-break space") << QStringList{QString("1 I0") + QChar(0xa0) + "6"} << "I0" << 1.0;
    QTest::newRow("blank run before the name") << QStringList{"  I0 7"} << "I0" << 7.0;
}
// clang-format on

void TestExtract::detectorRange()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, detector);
    ArgList info;
    // Keys that differ from "Detector Range" must be ignored.
    info.add("Detector Ranges", "x", "1 I0 3");
    for (const QString &text : texts)
        info.add("Detector Range", text.section(' ', 0, 0), text);
    info.add("detector range", "x", "1 I0 2 I1 2 I2 2");
    QTEST(::detectorRange(info, detector), "expected");
}

QTEST_GUILESS_MAIN(TestExtract)
#include "TestExtract.moc"
