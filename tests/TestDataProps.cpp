// The data-properties file: what a save writes for the loaded data sets, and
// what a load stores back into them.

#include "app/ArgList.h"
#include "app/Startup.h"
#include "data/DataSet.h"
#include "props/DataProps.h"
#include "ui/Body.h"

#include "TestSupport.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <memory>

// A data set as a file name followed by key, value, key, value...
using Specs = QList<QStringList>;
Q_DECLARE_METATYPE(Specs)

namespace {

TplLine tplLine(const QString &ymlKey, const QString &id, QVector<int> types, const QString &comm)
{
    TplLine line;
    line.ymlKey = ymlKey;
    line.id = id;
    line.types = types;
    line.comm = comm;
    return line;
}

// A from_data line ahead of the input lines, so that the columns show their
// order: input ones first, then from_data ones. The other kinds get none.
MetaTemplate columnsTemplate()
{
    MetaTemplate tpl;
    tpl.lines << tplLine(QStringLiteral("beamline:"), QStringLiteral("FACI_002"), {FromData},
                         QStringLiteral("beam line"))
              << tplLine(QStringLiteral("  name:"), QStringLiteral("SMPL_001"), {Input},
                         QStringLiteral("sample name"))
              << tplLine(QStringLiteral("sample:"), QString(), {Other}, QString())
              << tplLine(QStringLiteral("  - formula:"), QStringLiteral("SMPL_002"),
                         {Input, SemiFix}, QStringLiteral("formula"))
              << tplLine(QStringLiteral("project:"), QStringLiteral("INFO_001"), {SemiFix},
                         QStringLiteral("project"));
    tpl.fromDataIdx = {0};
    tpl.inputIdx = {1, 3};
    tpl.otherIdx = {2};
    tpl.semiFixIdx = {4};
    return tpl;
}

struct DataSets
{
    QList<DataSet *> list;
    explicit DataSets(const Specs &specs)
    {
        for (const QStringList &spec : specs) {
            auto *dataSet = new DataSet;
            dataSet->fileName = spec.value(0);
            for (int i = 1; i + 1 < spec.size(); i += 2)
                dataSet->meta.insert(spec.at(i), spec.at(i + 1));
            list << dataSet;
        }
    }
    ~DataSets() { qDeleteAll(list); }
    Q_DISABLE_COPY(DataSets)
};

QMap<QString, QString> metaOf(const QStringList &spec)
{
    QMap<QString, QString> meta;
    for (int i = 1; i + 1 < spec.size(); i += 2)
        meta.insert(spec.at(i), spec.at(i + 1));
    return meta;
}

const QString columnsHeader =
    QStringLiteral(",\"input\",\"input\",\"input/semi_fix\",\"from_data\"\n"
                   ",\"Gen. Work/not\",\"sample name\",\"formula\",\"beam line\"\n"
                   ",\"\",\"  name:\",\"  - formula:\",\"beamline:\"\n"
                   ",\"SYS_001\",\"SMPL_001\",\"SMPL_002\",\"FACI_002\"\n");

// Three lines no reader looks at, then the ids that name the columns.
QString loadHeader(const QString &ids)
{
    return QStringLiteral("junk,\"SMPL_002\"\n,\"x\"\n\n") + ids + QLatin1Char('\n');
}

const QString ids = QStringLiteral(",\"SYS_001\",\"SMPL_001\",\"FACI_002\"");

// A small 9809 file the reader takes, with the beamline BLC2.
QString data9809(const QString &sample)
{
    return QStringLiteral("   9809     id1  BLC2\n") + sample.leftJustified(17) +
           QStringLiteral("98.10.10 11:50:00 - 98.10.10 12:10:00\n"
                          "comment\n"
                          " Ring :  2.5 GeV  400.0 mA 399.0 mA\n"
                          " Mono : Si(111)  D= 3.1355316 A  Initial angle= 20.0 deg\n"
                          "Repetition= 1 Points= 3\n"
                          "Block = 1\n"
                          " Block  Init  Final  Step  Time  Num\n"
                          "  Angle-ENG  x\n"
                          "    1  20.0  19.8  -0.1  1.0  3\n"
                          " Column  titles\n"
                          " ------\n"
                          "      Mode  x  1 1 1\n"
                          "    Offset  x  0 0 0\n"
                          "20.0 20.0 1.0 1000 100 50\n"
                          "19.9 19.9 1.0 1000 100 50\n"
                          "19.8 19.8 1.0 1000 100 50\n");
}

} // namespace

class TestDataProps : public QObject
{
    Q_OBJECT
private slots:
    void save_data();
    void save();
    void load_data();
    void load();
    void roundTrip_data();
    void roundTrip();
    void openedFiles_data();
    void openedFiles();
};

void TestDataProps::save_data()
{
    QTest::addColumn<bool>("columns");
    QTest::addColumn<Specs>("dataSets");
    QTest::addColumn<QStringList>("missing"); // keys looked up and not found
    QTest::addColumn<QString>("expected");

    QTest::newRow("no data sets") << true << Specs() << QStringList() << columnsHeader;
    QTest::newRow("two fresh data sets")
        << true
        << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "", "SMPL_002", "", "FACI_002", "BLC2B"},
                 {"b.dat", "SYS_001", "0", "SMPL_001", "", "SMPL_002", ""}}
        << QStringList{"FACI_002"}
        << columnsHeader + "a.dat,\"1\",\"\",\"\",\"BLC2B\"\nb.dat,\"0\",\"\",\"\",\"--\"\n";
    QTest::newRow("flag as 1 or 0") << false
                                    << Specs{{"c.dat", "SYS_001", "01"},
                                             {"d.dat", "SYS_001", "2"},
                                             {"e.dat", "SYS_001", "yes"},
                                             {"f.dat"}}
                                    << QStringList{"SYS_001"}
                                    << ",\"input\"\n,\"Gen. Work/not\"\n,\"\"\n,\"SYS_001\"\n"
                                       "c.dat,\"1\"\nd.dat,\"0\"\ne.dat,\"0\"\nf.dat,\"0\"\n";
    QTest::newRow("markers, quotes, commas")
        << true
        << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "--NO_VALUE--", "SMPL_002", "say \"hi\", ok",
                  "FACI_002", "--"}}
        << QStringList() << columnsHeader + "a.dat,\"1\",\"\",\"say \"\"hi\"\", ok\",\"--\"\n";
    QTest::newRow("file names with a comma or a quote")
        << false << Specs{{"a,b.dat", "SYS_001", "1"}, {"q\"x.dat", "SYS_001", "1"}, {"a b.dat"}}
        << QStringList{"SYS_001"}
        << ",\"input\"\n,\"Gen. Work/not\"\n,\"\"\n,\"SYS_001\"\n"
           "\"a,b.dat\",\"1\"\n\"q\"\"x.dat\",\"1\"\na b.dat,\"0\"\n";
}

void TestDataProps::save()
{
    QFETCH(bool, columns);
    QFETCH(Specs, dataSets);
    QFETCH(QStringList, missing);
    QFETCH(QString, expected);

    for (const QString &key : missing)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("no key ::  \"%1\"").arg(key)));
    DataSets sets(dataSets);
    const MetaTemplate tpl = columns ? columnsTemplate() : MetaTemplate();
    QCOMPARE(dataPropsText(tpl, sets.list, QStringLiteral("Gen. Work/not")), expected);
    // Saving changes no record.
    for (int i = 0; i < dataSets.size(); ++i)
        QCOMPARE(sets.list.at(i)->meta, metaOf(dataSets.at(i)));
}

void TestDataProps::load_data()
{
    QTest::addColumn<Specs>("before");
    QTest::addColumn<QString>("file");
    QTest::addColumn<Specs>("after");

    const Specs two{{"a.dat", "SYS_001", "1", "SMPL_001", "", "FACI_002", "BLC2B"},
                    {"b.dat", "SYS_001", "1", "SMPL_001", "", "FACI_002", "BLC2B"}};

    QTest::newRow("just saved") << two << loadHeader(ids) + "a.dat,\"1\",\"\",\"BLC2B\"\n" << two;
    QTest::newRow("flag switched off")
        << two << loadHeader(ids) + "a.dat,\"1\",\"\",\"BLC2B\"\nb.dat,\"0\",\"\",\"BLC2B\"\n"
        << Specs{two.at(0), {"b.dat", "SYS_001", "0", "SMPL_001", "", "FACI_002", "BLC2B"}};
    QTest::newRow("columns in another order")
        << two
        << loadHeader(",\"FACI_002\",\"SMPL_001\",\"SYS_001\"") + "a.dat,\"BL9\",\"Cu\",\"0\"\n"
        << Specs{{"a.dat", "SYS_001", "0", "SMPL_001", "Cu", "FACI_002", "BL9"}, two.at(1)};
    QTest::newRow("short line") << two << loadHeader(ids) + "b.dat,\"1\",\"Cu\"\n"
                                << Specs{two.at(0),
                                         {"b.dat", "SYS_001", "1", "SMPL_001", "Cu", "FACI_002",
                                          "BLC2B"}};
    QTest::newRow("surplus fields")
        << two << loadHeader(ids) + "a.dat,\"1\",\"Cu\",\"BL9\",\"extra\",\"\",more\n"
        << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "Cu", "FACI_002", "BL9"}, two.at(1)};
    QTest::newRow("unknown file name")
        << two << loadHeader(ids) + "c.dat,\"0\",\"Cu\",\"BL9\"\nA.DAT,\"0\"\n"
        << two;
    QTest::newRow("ids from the fourth line only")
        << two << ",\"SYS_001\",\"SMPL_001\"\n\n\n,\"SYS_001\",\"FACI_002\"\na.dat,\"1\",\"BL9\"\n"
        << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "", "FACI_002", "BL9"}, two.at(1)};
    QTest::newRow("same file name twice")
        << Specs{{"a.dat", "SYS_001", "1"}, {"a.dat", "SYS_001", "1"}}
        << loadHeader(",\"SYS_001\"") + "a.dat,\"0\"\n"
        << Specs{{"a.dat", "SYS_001", "0"}, {"a.dat", "SYS_001", "1"}};
    QTest::newRow("file name with a comma, bare and quoted")
        << Specs{{"a,b.dat", "SYS_001", "1"}, {"b.dat", "SYS_001", "1"}}
        << loadHeader(",\"SYS_001\"") + "a,b.dat,\"0\"\n\"a,b.dat\",\"0\"\n"
        << Specs{{"a,b.dat", "SYS_001", "0"}, {"b.dat", "SYS_001", "1"}};
    QTest::newRow("no-value markers")
        << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "--NO_VALUE--"},
                 {"b.dat", "SYS_001", "1", "SMPL_001", ""}}
        << loadHeader(ids) + "a.dat,\"1\",\"\",\"--\"\nb.dat,\"1\",\"--\",\"\"\n"
        << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "--NO_VALUE--"},
                 {"b.dat", "SYS_001", "1", "SMPL_001", "--", "FACI_002", ""}};
}

void TestDataProps::load()
{
    QFETCH(Specs, before);
    QFETCH(QString, file);
    QFETCH(Specs, after);

    DataSets sets(before);
    QTextStream in(&file, QIODevice::ReadOnly);
    applyDataProps(in, sets.list);
    QCOMPARE(sets.list.size(), after.size());
    for (int i = 0; i < after.size(); ++i)
        QCOMPARE(sets.list.at(i)->meta, metaOf(after.at(i)));
}

void TestDataProps::roundTrip_data()
{
    QTest::addColumn<Specs>("dataSets");

    QTest::newRow("quotes, commas, blanks, backslashes") << Specs{
        {"a.dat", "SYS_001", "0", "SMPL_001", "\"", "SMPL_002", " a, \"b\" ,c ", "FACI_002",
         "C:\\x\\\"y\"\\"},
        {"b.dat", "SYS_001", "1", "SMPL_001", "\"\"", "SMPL_002", ",", "FACI_002", "a\"\"b"}};
    QTest::newRow("markers and other scripts") << Specs{
        {"a.dat", "SYS_001", "1", "SMPL_001", "--", "SMPL_002", "μt Å 試料", "FACI_002", ""}};
    QTest::newRow("awkward file names")
        << Specs{{"a,b.dat", "SYS_001", "1", "SMPL_001", "x", "SMPL_002", "", "FACI_002", ""},
                 {"\"q\".dat", "SYS_001", "0", "SMPL_001", "y", "SMPL_002", "", "FACI_002", ""},
                 {" c .dat", "SYS_001", "1", "SMPL_001", "z", "SMPL_002", "", "FACI_002", ""}};
}

void TestDataProps::roundTrip()
{
    QFETCH(Specs, dataSets);

    DataSets saved(dataSets);
    const MetaTemplate tpl = columnsTemplate();
    QString text = dataPropsText(tpl, saved.list, QStringLiteral("Gen. Work/not"));

    // Records as a fresh opening leaves them: the flag set, the keys empty.
    Specs freshSpecs;
    for (const QStringList &spec : dataSets)
        freshSpecs << QStringList{spec.at(0), "SYS_001", "1",        "SMPL_001", "",
                                  "SMPL_002", "",        "FACI_002", ""};
    DataSets fresh(freshSpecs);
    QTextStream in(&text, QIODevice::ReadOnly);
    applyDataProps(in, fresh.list);
    for (int i = 0; i < dataSets.size(); ++i)
        QCOMPARE(fresh.list.at(i)->meta, metaOf(dataSets.at(i)));

    // Loading what was just saved changes nothing.
    QTextStream again(&text, QIODevice::ReadOnly);
    applyDataProps(again, saved.list);
    for (int i = 0; i < dataSets.size(); ++i)
        QCOMPARE(saved.list.at(i)->meta, metaOf(dataSets.at(i)));
}

void TestDataProps::openedFiles_data()
{
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<QString>("title");

    QTest::newRow("English") << false << "Gen. Work/not";
    QTest::newRow("Japanese") << true << "Work生成する/しない(1/0)";
}

// Two files opened by the window, the first with the create-work flag and
// the second without; the file is saved, edited as in a spreadsheet and
// loaded back.
void TestDataProps::openedFiles()
{
    QFETCH(bool, japanese);
    QFETCH(QString, title);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tplPath = dir.filePath(QStringLiteral("template.yml"));
    QVERIFY(writeTextFile(tplPath, QStringLiteral("sample:\n"
                                                  "  name: SMPL_001 input \"\" \"\" \"name\"\n"
                                                  "  beam: FACI_002 from_data \"\" \"\" \"beam\"\n"
                                                  "  file: FILE_001 from_data \"\" \"\" \"\"\n"
                                                  "  odd: ZZZ_999 from_data \"\" \"\" \"odd\"\n"
                                                  "project: INFO_001 semi_fix \"\" \"\" \"p\"\n")));
    QVERIFY(writeTextFile(dir.filePath(QStringLiteral("a.dat")), data9809("Cu foil")));
    QVERIFY(writeTextFile(dir.filePath(QStringLiteral("b.dat")), data9809("CuO")));

    initKorvaneResources();
    QTranslator translator;
    if (japanese) {
        QVERIFY(translator.load(QStringLiteral(":korvane_ja_JP")));
        QCoreApplication::installTranslator(&translator);
    }
    appArgs = ArgList();
    appArgs.add(QStringLiteral("-t"), tplPath, tplPath);
    appArgs.add(QStringLiteral("-p"), dir.filePath(QStringLiteral("none.csv")),
                dir.filePath(QStringLiteral("none.csv")));
    auto body = std::make_unique<Body>();
    QString why;
    QVERIFY2(body->openDataFile(dir.filePath(QStringLiteral("a.dat")), &why), qPrintable(why));
    body->ui.SetCreateWorkFlag->setChecked(false);
    QVERIFY2(body->openDataFile(dir.filePath(QStringLiteral("b.dat")), &why), qPrintable(why));

    const QString path = dir.filePath(QStringLiteral("dataProps.csv"));
    QVERIFY2(body->writeDataProps(path, &why), qPrintable(why));
    if (japanese)
        QCoreApplication::removeTranslator(&translator);
    const QString saved =
        QStringLiteral(",\"input\",\"input\",\"from_data\",\"from_data\",\"from_data\"\n"
                       ",\"%1\",\"name\",\"beam\",\"\",\"odd\"\n"
                       ",\"\",\"  name:\",\"  beam:\",\"  file:\",\"  odd:\"\n"
                       ",\"SYS_001\",\"SMPL_001\",\"FACI_002\",\"FILE_001\",\"ZZZ_999\"\n"
                       "a.dat,\"1\",\"\",\"BLC2B\",\"a\",\"--\"\n"
                       "b.dat,\"0\",\"\",\"BLC2B\",\"b\",\"--\"\n")
            .arg(title);
    QCOMPARE(QString::fromUtf8(readBytes(path)), saved);

    // Edited outside: the first file's work switched off and a sample named,
    // the second file's work switched on.
    QString edited = saved;
    edited.replace(QStringLiteral("a.dat,\"1\",\"\""), QStringLiteral("a.dat,\"0\",\"Cu, foil\""));
    edited.replace(QStringLiteral("b.dat,\"0\""), QStringLiteral("b.dat,\"1\""));
    QVERIFY(writeTextFile(path, edited));
    QVERIFY2(body->readDataProps(path, &why), qPrintable(why));
    QCOMPARE(body->dataSets.at(0)->meta.value(QStringLiteral("SYS_001")), QStringLiteral("0"));
    QCOMPARE(body->dataSets.at(0)->meta.value(QStringLiteral("SMPL_001")),
             QStringLiteral("Cu, foil"));
    QCOMPARE(body->dataSets.at(1)->meta.value(QStringLiteral("SYS_001")), QStringLiteral("1"));
    QVERIFY(!body->dataSets.at(1)->meta.contains(QStringLiteral("ZZZ_999")));
    QVERIFY(!body->readDataProps(dir.filePath(QStringLiteral("missing.csv")), &why));
    QVERIFY(!why.isEmpty());
}

QTEST_MAIN(TestDataProps)
#include "TestDataProps.moc"
