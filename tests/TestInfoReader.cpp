#include "data/DataSet.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestInfoReader : public QObject
{
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void files();
};

// clang-format off
void TestInfoReader::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("key, colon, blank, value") << "Measurement Type: Step XAFS\n" << QStringList{"Measurement Type|Step|Step XAFS"};
    QTest::newRow("date and time") << "Start Date Time: 2019/03/25 09:41:07.5\n" << QStringList{"Start Date Time|2019/03/25|2019/03/25 09:41:07.5"};
    QTest::newRow("no blank after colon") << "Gain:8\nGain:12\n" << QStringList{"Gain||", "Gain|2|2"};
    QTest::newRow("blanks around the key") << "   Detector    Range  :  1 I0 8   \n" << QStringList{"Detector Range|1|1 I0 8"};
    QTest::newRow("second colon belongs to the text") << "Time: 10:12:44\n" << QStringList{"Time|10:12:44|10:12:44"};
    QTest::newRow("no colon") << "Remark only\n" << QStringList{"Remark only|emark|emark only"};
    QTest::newRow("blank and comment lines") << "\n   \n# a comment\n   # indented comment\nA: 1\n\t\n" << QStringList{"A|1|1"};
    QTest::newRow("comment after value") << "A: 1 # one\n" << QStringList{"A|1|1 "};
    QTest::newRow("hash inside double quotes") << "A: \"x # y\" z\n" << QStringList{"A|x # y|\"x # y\" z"};
    QTest::newRow("hash inside single quotes") << "A: 'x # y'\n" << QStringList{"A|'x|'x # y'"};
    QTest::newRow("comment in the key") << "A # B: 1\n" << QStringList{"A|| "};
    QTest::newRow("colon only") << ":\n" << QStringList{"||"};
    QTest::newRow("repeated key kept twice") << "Detector Range: 1 I1 4\nOther: x\nDetector Range: 2 I1 6\n" << QStringList{"Detector Range|1|1 I1 4", "Other|x|x", "Detector Range|2|2 I1 6"};
    QTest::newRow("no line end at the end") << "A: 1\nB: 2" << QStringList{"A|1|1", "B|2|2"};
}
// clang-format on

void TestInfoReader::lines()
{
    QFETCH(QString, text);
    QTextStream in(&text, QIODevice::ReadOnly);
    DataSet ds;
    QVERIFY(ds.readInfo(in));
    QTEST(argEntries(ds.info), "expected");
}

void TestInfoReader::files()
{
    DataSet ds;
    QVERIFY(ds.readInfo(testDataPath("scan3.info")));
    QCOMPARE(ds.info.textOf("Measurement Type"), QString("Quick XAFS"));
    QCOMPARE(ds.info.textOf("End Date"), QString("2019/03/25 10:12:44"));
    QCOMPARE(ds.info.textsOf("Detector Range").size(), 2);

    QTemporaryDir dir;
    DataSet none;
    QVERIFY(!none.readInfo(dir.filePath("absent.info")));
    QVERIFY(!none.readInfo(QString()));
    QCOMPARE(none.info.size(), 0);
}

QTEST_GUILESS_MAIN(TestInfoReader)
#include "TestInfoReader.moc"
