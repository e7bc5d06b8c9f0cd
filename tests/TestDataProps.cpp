// The data-properties file: what a save writes for the loaded data sets, and
// what a load stores back into them.

#include "app/Startup.h"
#include "props/DataProps.h"

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
    tpl.lines << tplLine("beamline:", "FACI_002", {FromData}, "beam line")
              << tplLine("  name:", "SMPL_001", {Input}, "sample name")
              << tplLine("sample:", QString(), {Other}, QString())
              << tplLine("  - formula:", "SMPL_002", {Input, SemiFix}, "formula")
              << tplLine("project:", "INFO_001", {SemiFix}, "project");
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

const QString columnsHeader = (",\"input\",\"input\",\"input/semi_fix\",\"from_data\"\n"
                               ",\"Gen. Work/not\",\"sample name\",\"formula\",\"beam line\"\n"
                               ",\"\",\"  name:\",\"  - formula:\",\"beamline:\"\n"
                               ",\"SYS_001\",\"SMPL_001\",\"SMPL_002\",\"FACI_002\"\n");

// Three lines no reader looks at, then the ids that name the columns.
QString loadHeader(const QString &ids)
{
    return "junk,\"SMPL_002\"\n,\"x\"\n\n" + ids + QLatin1Char('\n');
}

const QString ids = ",\"SYS_001\",\"SMPL_001\",\"FACI_002\"";

} // namespace

class TestDataProps : public QObject
{
    Q_OBJECT
private slots:
    void save_data();
    void save();
    void load_data();
    void load();
    void openedFiles_data();
    void openedFiles();
};

// clang-format off
void TestDataProps::save_data()
{
    QTest::addColumn<bool>("columns");
    QTest::addColumn<Specs>("dataSets");
    QTest::addColumn<QStringList>("missing"); // keys looked up and not found
    QTest::addColumn<QString>("expected");    // empty: only the round trip is checked

    QTest::newRow("no data sets") << true << Specs() << QStringList() << columnsHeader;
    QTest::newRow("two fresh data sets") << true << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "", "SMPL_002", "", "FACI_002", "BLC2B"}, {"b.dat", "SYS_001", "0", "SMPL_001", "", "SMPL_002", ""}} << QStringList{"FACI_002"} << columnsHeader + "a.dat,\"1\",\"\",\"\",\"BLC2B\"\nb.dat,\"0\",\"\",\"\",\"--\"\n";
    QTest::newRow("flag as 1 or 0") << false << Specs{{"c.dat", "SYS_001", "01"}, {"d.dat", "SYS_001", "2"}, {"e.dat", "SYS_001", "yes"}, {"f.dat"}} << QStringList{"SYS_001"} << ",\"input\"\n,\"Gen. Work/not\"\n,\"\"\n,\"SYS_001\"\n"
                                       "c.dat,\"1\"\nd.dat,\"0\"\ne.dat,\"0\"\nf.dat,\"0\"\n";
    QTest::newRow("markers, quotes, commas") << true << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "--NO_VALUE--", "SMPL_002", "say \"hi\", ok", "FACI_002", "--"}} << QStringList() << columnsHeader + "a.dat,\"1\",\"\",\"say \"\"hi\"\", ok\",\"--\"\n";
    QTest::newRow("file names with a comma or a quote") << false << Specs{{"a,b.dat", "SYS_001", "1"}, {"q\"x.dat", "SYS_001", "1"}, {"a b.dat"}} << QStringList{"SYS_001"} << ",\"input\"\n,\"Gen. Work/not\"\n,\"\"\n,\"SYS_001\"\n"
           "\"a,b.dat\",\"1\"\n\"q\"\"x.dat\",\"1\"\na b.dat,\"0\"\n";
    QTest::newRow("round trip: quotes, commas, blanks, backslashes") << true << Specs{{"a.dat", "SYS_001", "0", "SMPL_001", "\"", "SMPL_002", " a, \"b\" ,c ", "FACI_002", "C:\\x\\\"y\"\\"}, {"b.dat", "SYS_001", "1", "SMPL_001", "\"\"", "SMPL_002", ",", "FACI_002", "a\"\"b"}} << QStringList() << QString();
    QTest::newRow("round trip: markers and other scripts") << true << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "--", "SMPL_002", "μt Å 試料", "FACI_002", ""}} << QStringList() << QString();
    QTest::newRow("round trip: awkward file names") << true << Specs{{"a,b.dat", "SYS_001", "1", "SMPL_001", "x", "SMPL_002", "", "FACI_002", ""}, {"\"q\".dat", "SYS_001", "0", "SMPL_001", "y", "SMPL_002", "", "FACI_002", ""}, {" c .dat", "SYS_001", "1", "SMPL_001", "z", "SMPL_002", "", "FACI_002", ""}} << QStringList() << QString();
}
// clang-format on

void TestDataProps::save()
{
    QFETCH(bool, columns);
    QFETCH(Specs, dataSets);
    QFETCH(QStringList, missing);
    QFETCH(QString, expected);

    for (const QString &key : missing)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("no key ::  \"%1\"").arg(key)));
    DataSets sets(dataSets);
    const MetaTemplate tpl = columns ? columnsTemplate() : MetaTemplate();
    QString text = dataPropsText(tpl, sets.list, "Gen. Work/not");
    if (!expected.isEmpty())
        QCOMPARE(text, expected);
    // Saving changes no record; loading what was saved changes nothing.
    for (int i = 0; i < dataSets.size(); ++i)
        QCOMPARE(sets.list.at(i)->meta, metaOf(dataSets.at(i)));
    if (!expected.isEmpty())
        return;
    QTextStream again(&text, QIODevice::ReadOnly);
    applyDataProps(again, sets.list);
    for (int i = 0; i < dataSets.size(); ++i)
        QCOMPARE(sets.list.at(i)->meta, metaOf(dataSets.at(i)));
    // Records as a fresh opening leaves them (flag set, keys empty) get every value back.
    Specs freshSpecs;
    for (const QStringList &spec : dataSets)
        freshSpecs << QStringList{spec[0],    "SYS_001", "1",        "SMPL_001", "",
                                  "SMPL_002", "",        "FACI_002", ""};
    DataSets fresh(freshSpecs);
    QTextStream in(&text, QIODevice::ReadOnly);
    applyDataProps(in, fresh.list);
    for (int i = 0; i < dataSets.size(); ++i)
        QCOMPARE(fresh.list.at(i)->meta, metaOf(dataSets.at(i)));
}

// clang-format off
void TestDataProps::load_data()
{
    QTest::addColumn<Specs>("before");
    QTest::addColumn<QString>("file");
    QTest::addColumn<Specs>("after");

    const Specs two{{"a.dat", "SYS_001", "1", "SMPL_001", "", "FACI_002", "BLC2B"},
                    {"b.dat", "SYS_001", "1", "SMPL_001", "", "FACI_002", "BLC2B"}};

    QTest::newRow("just saved") << two << loadHeader(ids) + "a.dat,\"1\",\"\",\"BLC2B\"\n" << two;
    QTest::newRow("flag switched off") << two << loadHeader(ids) + "a.dat,\"1\",\"\",\"BLC2B\"\nb.dat,\"0\",\"\",\"BLC2B\"\n" << Specs{two.at(0), {"b.dat", "SYS_001", "0", "SMPL_001", "", "FACI_002", "BLC2B"}};
    QTest::newRow("columns in another order") << two << loadHeader(",\"FACI_002\",\"SMPL_001\",\"SYS_001\"") + "a.dat,\"BL9\",\"Cu\",\"0\"\n" << Specs{{"a.dat", "SYS_001", "0", "SMPL_001", "Cu", "FACI_002", "BL9"}, two.at(1)};
    QTest::newRow("short line") << two << loadHeader(ids) + "b.dat,\"1\",\"Cu\"\n" << Specs{two.at(0), {"b.dat", "SYS_001", "1", "SMPL_001", "Cu", "FACI_002", "BLC2B"}};
    QTest::newRow("surplus fields") << two << loadHeader(ids) + "a.dat,\"1\",\"Cu\",\"BL9\",\"extra\",\"\",more\n" << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "Cu", "FACI_002", "BL9"}, two.at(1)};
    QTest::newRow("unknown file name") << two << loadHeader(ids) + "c.dat,\"0\",\"Cu\",\"BL9\"\nA.DAT,\"0\"\n" << two;
    QTest::newRow("ids from the fourth line only") << two << ",\"SYS_001\",\"SMPL_001\"\n\n\n,\"SYS_001\",\"FACI_002\"\na.dat,\"1\",\"BL9\"\n" << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "", "FACI_002", "BL9"}, two.at(1)};
    QTest::newRow("same file name twice") << Specs{{"a.dat", "SYS_001", "1"}, {"a.dat", "SYS_001", "1"}} << loadHeader(",\"SYS_001\"") + "a.dat,\"0\"\n" << Specs{{"a.dat", "SYS_001", "0"}, {"a.dat", "SYS_001", "1"}};
    QTest::newRow("file name with a comma, bare and quoted") << Specs{{"a,b.dat", "SYS_001", "1"}, {"b.dat", "SYS_001", "1"}} << loadHeader(",\"SYS_001\"") + "a,b.dat,\"0\"\n\"a,b.dat\",\"0\"\n" << Specs{{"a,b.dat", "SYS_001", "0"}, {"b.dat", "SYS_001", "1"}};
    QTest::newRow("no-value markers") << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "--NO_VALUE--"}, {"b.dat", "SYS_001", "1", "SMPL_001", ""}} << loadHeader(ids) + "a.dat,\"1\",\"\",\"--\"\nb.dat,\"1\",\"--\",\"\"\n" << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "--NO_VALUE--"}, {"b.dat", "SYS_001", "1", "SMPL_001", "--", "FACI_002", ""}};
}
// clang-format on

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

// clang-format off
void TestDataProps::openedFiles_data()
{
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<QString>("title");

    QTest::newRow("English") << false << "Gen. Work/not";
    QTest::newRow("Japanese") << true << "Work生成する/しない(1/0)";
}
// clang-format on

// Two files opened by the window, the first with the create-work flag and
// the second without; the file is saved, edited as in a spreadsheet and
// loaded back.
void TestDataProps::openedFiles()
{
    QFETCH(bool, japanese);
    QFETCH(QString, title);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tplPath = dir.filePath("template.yml");
    QVERIFY(writeTextFile(tplPath, ("sample:\n"
                                    "  name: SMPL_001 input \"\" \"\" \"name\"\n"
                                    "  beam: FACI_002 from_data \"\" \"\" \"beam\"\n"
                                    "  file: FILE_001 from_data \"\" \"\" \"\"\n"
                                    "  odd: ZZZ_999 from_data \"\" \"\" \"odd\"\n"
                                    "project: INFO_001 semi_fix \"\" \"\" \"p\"\n")));
    QVERIFY(writeTextFile(dir.filePath("a.dat"), text9809(lines9809(3, "Cu foil"))));
    QVERIFY(writeTextFile(dir.filePath("b.dat"), text9809(lines9809(3, "CuO"))));

    initKorvaneResources();
    QTranslator translator;
    if (japanese) {
        QVERIFY(translator.load(":korvane_ja_JP"));
        QCoreApplication::installTranslator(&translator);
    }
    auto body = makeBody({"-t", tplPath, "-p", dir.filePath("none.csv")});
    QString why;
    QVERIFY2(body->openDataFile(dir.filePath("a.dat"), &why), qPrintable(why));
    body->ui.SetCreateWorkFlag->setChecked(false);
    QVERIFY2(body->openDataFile(dir.filePath("b.dat"), &why), qPrintable(why));

    const QString path = dir.filePath("dataProps.csv");
    QVERIFY2(body->writeDataProps(path, &why), qPrintable(why));
    if (japanese)
        QCoreApplication::removeTranslator(&translator);
    const QString saved =
        QString(",\"input\",\"input\",\"from_data\",\"from_data\",\"from_data\"\n"
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
    edited.replace("a.dat,\"1\",\"\"", "a.dat,\"0\",\"Cu, foil\"");
    edited.replace("b.dat,\"0\"", "b.dat,\"1\"");
    QVERIFY(writeTextFile(path, edited));
    QVERIFY2(body->readDataProps(path, &why), qPrintable(why));
    QCOMPARE(body->dataSets.at(0)->meta.value("SYS_001"), "0");
    QCOMPARE(body->dataSets.at(0)->meta.value("SMPL_001"), "Cu, foil");
    QCOMPARE(body->dataSets.at(1)->meta.value("SYS_001"), "1");
    QVERIFY(!body->dataSets.at(1)->meta.contains("ZZZ_999"));
    QVERIFY(!body->readDataProps(dir.filePath("missing.csv"), &why));
    QVERIFY(!why.isEmpty());
}

QTEST_MAIN(TestDataProps)
#include "TestDataProps.moc"
