// The data-properties file: what a save writes for the loaded data sets, and
// what a load stores back into them.

#include "app/Startup.h"
#include "props/DataProps.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

// A data set as a file name followed by key, value, key, value...
using Specs = QList<QStringList>;
Q_DECLARE_METATYPE(Specs)

namespace {

QMap<QString, QString> metaOf(const QStringList &spec)
{
    QMap<QString, QString> meta;
    for (int i = 1; i + 1 < spec.size(); i += 2)
        meta.insert(spec.at(i), spec.at(i + 1));
    return meta;
}

struct DataSets
{
    QList<DataSet *> list;
    explicit DataSets(const Specs &specs)
    {
        for (const QStringList &spec : specs) {
            list << new DataSet;
            list.last()->fileName = spec.value(0);
            list.last()->meta = metaOf(spec);
        }
    }
    ~DataSets() { qDeleteAll(list); }
    void apply(QString text)
    {
        QTextStream in(&text, QIODevice::ReadOnly);
        applyDataProps(in, list);
    }
};

// A from_data line ahead of the input lines, so that the columns show their
// order: input ones first, then from_data ones. The other kinds get none.
const QString columnsTemplate = "beamline: FACI_002 from_data \"\" \"\" \"beam line\"\n"
                                "  name: SMPL_001 input \"\" \"\" \"sample name\"\n"
                                "sample:\n"
                                "  - formula: SMPL_002 input/semi_fix \"\" \"\" \"formula\"\n"
                                "project: INFO_001 semi_fix \"\" \"\" \"project\"\n";

// Three lines no reader looks at, then the ids that name the columns.
QString loadHeader(const QString &ids = ",\"SYS_001\",\"SMPL_001\",\"FACI_002\"")
{
    return "junk,\"SMPL_002\"\n,\"x\"\n\n" + ids + QLatin1Char('\n');
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
    void translatedTitle();
};

// clang-format off
void TestDataProps::save_data()
{
    QTest::addColumn<QString>("tpl");
    QTest::addColumn<Specs>("dataSets");
    QTest::addColumn<QStringList>("missing"); // keys looked up and not found
    QTest::addColumn<QString>("expected");    // empty: only the round trip is checked

    QTest::newRow("values, markers, quotes, a missing key") << columnsTemplate << Specs{{"a.dat", "SYS_001", "1", "SMPL_001", "--NO_VALUE--", "SMPL_002", "say \"hi\", ok", "FACI_002", "BLC2B"}, {"b.dat", "SYS_001", "0", "SMPL_001", "", "SMPL_002", ""}} << QStringList{"FACI_002"}
        << ",\"input\",\"input\",\"input/semi_fix\",\"from_data\"\n,\"Gen. Work/not\",\"sample name\",\"formula\",\"beam line\"\n,\"\",\"  name:\",\"  - formula:\",\"beamline:\"\n,\"SYS_001\",\"SMPL_001\",\"SMPL_002\",\"FACI_002\"\n"
           "a.dat,\"1\",\"\",\"say \"\"hi\"\", ok\",\"BLC2B\"\nb.dat,\"0\",\"\",\"\",\"--\"\n";
    QTest::newRow("flag as 1 or 0, awkward file names") << "" << Specs{{"a,b.dat", "SYS_001", "01"}, {"q\"x.dat", "SYS_001", "2"}, {"a b.dat", "SYS_001", "yes"}, {"f.dat"}} << QStringList{"SYS_001"}
        << ",\"input\"\n,\"Gen. Work/not\"\n,\"\"\n,\"SYS_001\"\n\"a,b.dat\",\"1\"\n\"q\"\"x.dat\",\"0\"\na b.dat,\"0\"\nf.dat,\"0\"\n";
    QTest::newRow("round trip: quotes, commas, blanks, backslashes, markers") << columnsTemplate << Specs{{"a,b.dat", "SYS_001", "0", "SMPL_001", "\"", "SMPL_002", " a, \"b\" ,c ", "FACI_002", "C:\\x\\\"y\"\\"}, {"\"q\".dat", "SYS_001", "1", "SMPL_001", "\"\"", "SMPL_002", ",", "FACI_002", "a\"\"b"}, {" c .dat", "SYS_001", "1", "SMPL_001", "--", "SMPL_002", "", "FACI_002", ""}} << QStringList() << QString();
}
// clang-format on

void TestDataProps::save()
{
    QFETCH(QString, tpl);
    QFETCH(Specs, dataSets);
    QFETCH(QStringList, missing);
    QFETCH(QString, expected);
    for (const QString &key : missing)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("no key ::  \"%1\"").arg(key)));
    MetaTemplate t;
    loadTemplateText(t, tpl);
    DataSets sets(dataSets), fresh(dataSets);
    const QString text = dataPropsText(t, sets.list, "Gen. Work/not");
    if (!expected.isEmpty()) {
        QCOMPARE(text, expected);
        return;
    }
    // Loading what was saved changes nothing; records as a fresh opening
    // leaves them (flag set, keys empty) get every value back.
    sets.apply(text);
    for (DataSet *ds : fresh.list)
        for (auto it = ds->meta.begin(); it != ds->meta.end(); ++it)
            it.value() = it.key() == "SYS_001" ? "1" : "";
    fresh.apply(text);
    for (int i = 0; i < dataSets.size(); ++i) {
        QCOMPARE(sets.list.at(i)->meta, metaOf(dataSets.at(i)));
        QCOMPARE(fresh.list.at(i)->meta, metaOf(dataSets.at(i)));
    }
}

// clang-format off
void TestDataProps::load_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("changes"); // "<record> <key>=<value>"

    QTest::newRow("columns in another order, first of two names") << loadHeader(",\"FACI_002\",\"SMPL_001\",\"SYS_001\"") + "a.dat,\"BL9\",\"Cu\",\"0\"\n" << QStringList{"0 FACI_002=BL9", "0 SMPL_001=Cu", "0 SYS_001=0"};
    QTest::newRow("comma in a name, bare and quoted; short line") << loadHeader() + "a,b.dat,\"0\"\n\"a,b.dat\",\"1\",\"Cu\"\n" << QStringList{"2 SMPL_001=Cu"};
    QTest::newRow("unknown file name") << loadHeader() + "c.dat,\"0\",\"Cu\",\"BL9\"\nA.DAT,\"0\"\n" << QStringList();
    QTest::newRow("ids from the fourth line only") << ",\"SYS_001\",\"SMPL_001\"\n\n\n,\"SYS_001\",\"FACI_002\"\na.dat,\"1\",\"BL9\"\n" << QStringList{"0 FACI_002=BL9"};
    QTest::newRow("no-value markers") << loadHeader() + "n.dat,\"0\",\"\",\"--\"\n" << QStringList{"3 SYS_001=0"};
}
// clang-format on

void TestDataProps::load()
{
    QFETCH(QString, file);
    QFETCH(QStringList, changes);
    const QStringList fields{"SYS_001", "1", "SMPL_001", "", "FACI_002", "BLC2B"};
    Specs before{QStringList{"a.dat"} + fields,
                 QStringList{"a.dat"} + fields,
                 QStringList{"a,b.dat"} + fields,
                 {"n.dat", "SYS_001", "1", "SMPL_001", "--NO_VALUE--"}};
    DataSets sets(before);
    sets.apply(file);
    for (const QString &change : changes)
        before[change.section(' ', 0, 0).toInt()] << change.section(' ', 1).split('=');
    for (int i = 0; i < before.size(); ++i)
        QCOMPARE(sets.list.at(i)->meta, metaOf(before.at(i)));
}

// The Japanese window saves the flag column under its translated title.
void TestDataProps::translatedTitle()
{
    QTemporaryDir dir;
    initKorvaneResources();
    QTranslator translator;
    QVERIFY(translator.load(":korvane_ja_JP"));
    QCoreApplication::installTranslator(&translator);
    auto body = makeBody({"-t", dir.filePath("none.yml"), "-p", dir.filePath("none.csv")});
    QVERIFY(body->writeDataProps(dir.filePath("dataProps.csv")));
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(QString::fromUtf8(readBytes(dir.filePath("dataProps.csv"))),
             ",\"input\"\n,\"Work生成する/しない(1/0)\"\n,\"\"\n,\"SYS_001\"\n");
}

QTEST_MAIN(TestDataProps)
#include "TestDataProps.moc"
