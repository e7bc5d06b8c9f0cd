#include "data/DataSet.h"

#include <QTextStream>
#include <QtTest>

namespace {

// A record as the reader and the info reader would leave it for a file
// "scan3.dat" with three scan blocks.
void fill(DataSet &ds, bool withInfo)
{
    Header9809 &h = ds.header;
    h.lineCount = 16;
    h.format = "9809";
    h.firstItem = "LAB7";
    h.beamline = "BLC2";
    h.startYear = "2098";
    h.startMonth = "10";
    h.startDay = "10";
    h.startHour = "11";
    h.startMinute = "50";
    h.startSecond = "00";
    h.startMsec = "000";
    h.endYear = "2098";
    h.endHour = "12";
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
    void catalogue_data();
    void catalogue();
    void beamline_data();
    void beamline();
    void blockKeys_data();
    void blockKeys();
    void detectorRange_data();
    void detectorRange();
    void emptySource_data();
    void emptySource();
    void startDateTime_data();
    void startDateTime();
};

void TestExtract::catalogue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("withInfo");
    QTest::addColumn<QString>("expected");

    const QList<QPair<QString, QString>> fromRecord{
        {"INFO_011", "2098-10-10 11:50:00.000"},
        {"INFO_012", "2098-10-10 11:50:00.000"},
        {"FACI_002", "BLC2B"},
        {"FACI_007", "450.2"},
        {"FACI_009", "441.0"},
        {"FILE_001", "scan3"},
        {"FILE_002", "dat"},
        {"FILE_003", "9809"},
        {"FILE_004", "16"},
        {"FILE_026", "scan3"},
        {"INST_007", "Si"},
        {"INST_008", "111"},
        {"INST_009", "3.13551"},
        {"INST_010", "A"},
        {"MEAS_112", "3"},
        {"MEAS_200", "520"},
    };
    for (const auto &row : fromRecord)
        QTest::addRow("%s", qPrintable(row.first)) << row.first << true << row.second;

    // The descriptions of the 9809 columns and of the thumbnail.
    const QList<QPair<QString, QString>> fixed{
        {"FILE_005", "deg"},
        {"FILE_006", "deg"},
        {"FILE_007", "raw"},
        {"FILE_008", "Uncalibrated"},
        {"FILE_009", "obs_deg"},
        {"FILE_010", "deg"},
        {"FILE_011", "raw"},
        {"FILE_012", "Uncalibrated"},
        {"FILE_013", "dwell"},
        {"FILE_014", "sec"},
        {"FILE_015", "raw"},
        {"FILE_016", "Uncalibrated"},
        {"FILE_017", "I0"},
        {"FILE_018", "count"},
        {"FILE_019", "processed"},
        {"FILE_0191", "Offset subtracted"},
        {"FILE_0192", "transmission"},
        {"FILE_0193", "I0"},
        {"FILE_020", "I1"},
        {"FILE_021", "count"},
        {"FILE_022", "processed"},
        {"FILE_0221", "Offset subtracted"},
        {"FILE_0222", "transmission"},
        {"FILE_0223", "I1"},
        {"FILE_023", "I2(Ref)"},
        {"FILE_024", "count"},
        {"FILE_025", "processed"},
        {"FILE_0251", "Offset subtracted"},
        {"FILE_0252", "transmission"},
        {"FILE_0253", "I2"},
        {"FILE_0261", "thumbnail"},
        {"FILE_027", "png"},
        {"FILE_028", "image/png"},
        {"INST_501", "0"},
        {"INST_502", "deg"},
        {"INST_503", "1200"},
        {"INST_504", "lines/mm"},
        {"INST_505", "20"},
        {"INST_506", "um"},
    };
    for (const auto &row : fixed)
        QTest::addRow("%s", qPrintable(row.first)) << row.first << false << row.second;
    for (const char *key :
         {"INST_016", "INST_025", "INST_034", "INST_042", "INST_044", "INST_050", "INST_052",
          "INST_058", "INST_060", "INST_066", "INST_068", "MEAS_037", "MEAS_038", "MEAS_039",
          "MEAS_040", "MEAS_041", "MEAS_070", "MEAS_071", "MEAS_072", "MEAS_073", "MEAS_074"})
        QTest::addRow("%s", key) << QString(key) << true << QString("--");

    // Values that come from the info file, with it and without it.
    const QList<QStringList> fromInfo{
        {"INST_006", "Quick XAFS", "Step XAFS"},
        {"MEAS_099", "2019-03-25 09:41:07.500", "2000-- --:--:--.---"},
        {"MEAS_100", "2019-03-25 10:12:44.000", "2000-- --:--:--.---"},
        {"MEAS_003", "1", "1e+07"},
        {"MEAS_017", "1e-07", "1"},
        {"MEAS_044", "100", "1e+07"},
        {"MEAS_050", "1e-05", "1"},
        {"MEAS_077", "1e+07", "1e+07"},
        {"MEAS_083", "1", "1"},
    };
    for (const QStringList &row : fromInfo) {
        QTest::addRow("%s with info", qPrintable(row[0])) << row[0] << true << row[1];
        QTest::addRow("%s without info", qPrintable(row[0])) << row[0] << false << row[2];
    }

    QTest::newRow("not a key") << "SYS_001" << true << "";
    QTest::newRow("work key") << "INFO_013" << true << "";
    QTest::newRow("lower case") << "file_001" << true << "";
    QTest::newRow("empty key") << "" << true << "";
    QTest::newRow("extra digit") << "FILE_0011" << true << "";
}

void TestExtract::catalogue()
{
    QFETCH(QString, key);
    QFETCH(bool, withInfo);
    DataSet ds;
    fill(ds, withInfo);
    QTEST(ds.extractValue(key), "expected");
}

void TestExtract::beamline_data()
{
    QTest::addColumn<QString>("beamline");
    QTest::addColumn<QString>("expected");
    QTest::newRow("BLA7") << "BLA7"
                          << "BLA7";
    QTest::newRow("BLC2") << "BLC2"
                          << "BLC2B";
    QTest::newRow("BLE4") << "BLE4"
                          << "BLE4";
    QTest::newRow("other") << "BL9X"
                           << "BL9X";
    QTest::newRow("lower case") << "blc2"
                                << "blc2";
    QTest::newRow("already long") << "BLC2B"
                                  << "BLC2B";
    QTest::newRow("empty") << ""
                           << "";
}

void TestExtract::beamline()
{
    QFETCH(QString, beamline);
    DataSet ds;
    ds.header.beamline = beamline;
    QTEST(ds.extractValue("FACI_002"), "expected");
}

void TestExtract::blockKeys_data()
{
    QTest::addColumn<QString>("blockCount");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("120 in range") << "3"
                                  << "MEAS_120_01"
                                  << "--NO_VALUE--";
    QTest::newRow("121 third block") << "3"
                                     << "MEAS_121_03"
                                     << "b3c1";
    QTest::newRow("122 unit") << "3"
                              << "MEAS_122_02"
                              << "eV";
    QTest::newRow("123") << "3"
                         << "MEAS_123_01"
                         << "b1c2";
    QTest::newRow("124 unit") << "3"
                              << "MEAS_124_03"
                              << "eV";
    QTest::newRow("125") << "3"
                         << "MEAS_125_02"
                         << "b2c3";
    QTest::newRow("126 unit") << "3"
                              << "MEAS_126_01"
                              << "eV";
    QTest::newRow("127") << "3"
                         << "MEAS_127_03"
                         << "b3c4";
    QTest::newRow("128 seconds") << "3"
                                 << "MEAS_128_01"
                                 << "s";
    QTest::newRow("129") << "3"
                         << "MEAS_129_02"
                         << "b2c5";
    QTest::newRow("120 beyond") << "3"
                                << "MEAS_120_04"
                                << "--";
    QTest::newRow("121 beyond") << "3"
                                << "MEAS_121_04"
                                << "--";
    QTest::newRow("128 tenth") << "3"
                               << "MEAS_128_10"
                               << "--";
    QTest::newRow("count not a number") << "x"
                                        << "MEAS_121_01"
                                        << "--";
    QTest::newRow("count zero") << "0"
                                << "MEAS_128_01"
                                << "--";
    QTest::newRow("no suffix") << "3"
                               << "MEAS_121"
                               << "";
    QTest::newRow("eleventh block") << "12"
                                    << "MEAS_121_11"
                                    << "";
    QTest::newRow("block zero") << "3"
                                << "MEAS_121_00"
                                << "";
    QTest::newRow("one digit") << "3"
                               << "MEAS_121_1"
                               << "";
    QTest::newRow("signed") << "3"
                            << "MEAS_121_+1"
                            << "";
    QTest::newRow("blank in number") << "3"
                                     << "MEAS_121_ 1"
                                     << "";
    QTest::newRow("other base") << "3"
                                << "MEAS_130_01"
                                << "";
    QTest::newRow("lower case") << "3"
                                << "meas_121_01"
                                << "";
}

void TestExtract::blockKeys()
{
    QFETCH(QString, blockCount);
    QFETCH(QString, key);
    DataSet ds;
    fill(ds, false);
    ds.header.blockCount = blockCount;
    QTEST(ds.extractValue(key), "expected");
}

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
    QTest::newRow("later line of another detector")
        << QStringList{"1 I1 4", "2 I0 6"} << "I1" << 4.0;
    QTest::newRow("later line too short") << QStringList{"1 I1 4", "1 I1"} << "I1" << 1.0;
    QTest::newRow("range not a number") << QStringList{"1 I2 x"} << "I2" << 0.0;
    QTest::newRow("part 2 is not the last") << QStringList{"1 I2 3 9"} << "I2" << 3.0;
    QTest::newRow("leading blank") << QStringList{" I0 7"} << "I0" << 7.0;
}

void TestExtract::detectorRange()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, detector);
    ArgList info;
    info.add("Detector Ranges", "x", "1 I0 3");
    for (const QString &text : texts)
        info.add("Detector Range", text.section(' ', 0, 0), text);
    info.add("detector range", "x", "1 I0 2 I1 2 I2 2");
    QTEST(::detectorRange(info, detector), "expected");
}

void TestExtract::emptySource_data()
{
    QTest::addColumn<QString>("key");
    for (const char *key :
         {"FACI_002", "FACI_007", "FACI_009", "FILE_001", "FILE_002", "FILE_003", "INST_007",
          "INST_008", "INST_009", "INST_010", "MEAS_112", "MEAS_200", "FILE_026"})
        QTest::newRow(key) << QString(key);
}

void TestExtract::emptySource()
{
    QFETCH(QString, key);
    DataSet ds; // nothing read: every header text is empty
    QCOMPARE(ds.extractValue(key), QString());
}

void TestExtract::startDateTime_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("expected");
    QTest::newRow("full") << QStringList{"2098", "10", "10", "11", "50", "00", "000"}
                          << "2098-10-10 11:50:00.000";
    QTest::newRow("not widened") << QStringList{"2020", "1", "5", "9", "4", "3", "7"}
                                 << "2020-1-5 9:4:3.7";
    QTest::newRow("empty msec") << QStringList{"2020", "01", "05", "12", "34", "56", ""}
                                << "2020-01-05 12:34:56";
}

void TestExtract::startDateTime()
{
    QFETCH(QStringList, fields);
    DataSet ds;
    Header9809 &h = ds.header;
    h.startYear = fields[0];
    h.startMonth = fields[1];
    h.startDay = fields[2];
    h.startHour = fields[3];
    h.startMinute = fields[4];
    h.startSecond = fields[5];
    h.startMsec = fields[6];
    // The end fields must not leak in.
    h.endYear = "1999";
    h.endHour = "23";
    QTEST(::startDateTime(ds), "expected");
    QCOMPARE(ds.extractValue("INFO_011"), ::startDateTime(ds));
    QCOMPARE(ds.extractValue("INFO_012"), ::startDateTime(ds));
}

QTEST_GUILESS_MAIN(TestExtract)
#include "TestExtract.moc"
