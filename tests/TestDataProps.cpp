// The data-properties file: what a save writes for the loaded data sets, and
// what a load stores back into them.

#include "props/DataProps.h"

#include "TestSupport.h"

namespace {

const QStringList keys{"SYS_001", "S", "T", "F"};

// Data sets from "name|SYS_001|S|T|F;...", a value "!" or left out: no such key.
struct DataSets
{
    QList<DataSet *> list;
    explicit DataSets(const QString &specs)
    {
        for (const QString &spec : specs.split(';')) {
            const QStringList fields = spec.split('|');
            list << new DataSet;
            list.last()->fileName = fields[0];
            for (int i = 1; i < fields.size(); ++i)
                if (fields[i] != "!")
                    list.last()->meta.insert(keys[i - 1], fields[i]);
        }
    }
    ~DataSets() { qDeleteAll(list); }
    void apply(QString text)
    {
        text.replace(';', '\n');
        QTextStream in(&text, QIODevice::ReadOnly);
        applyDataProps(in, list);
    }
};

// A from_data line ahead of the input lines, so that the columns show their
// order: input ones first, then from_data ones. The other kinds get none.
const QString columns = "b: F from_data \"\" \"\" bl\n  n: S input \"\" \"\" sn\n"
                        "  - f: T input/semi_fix\np: P semi_fix\n";
const QString head = R"(,"input","input","input/semi_fix","from_data";,"G","sn","","bl";)"
                     R"(,"","  n:","  - f:","b:";,"SYS_001","S","T","F";)";

} // namespace

class TestDataProps : public QObject
{
    Q_OBJECT
private slots:
    void save_data();
    void save();
    void load_data();
    void load();
};

void TestDataProps::save_data()
{
    QTest::addColumn<QString>("tpl");
    QTest::addColumn<QString>("sets");
    QTest::addColumn<QString>("expected"); // lines end at ';'; none: only the round trip

    const auto row = [](const char *name, QString tpl, QString sets, QString expected) {
        QTest::newRow(name) << tpl << sets << expected;
    };
    const QString marks = R"(a|1|--NO_VALUE--|"h", o|B;b|0|||!)", flags = R"(a,b|01;q"x|2;f)";
    row("values, markers", columns, marks, head + R"(a,"1","","""h"", o","B";b,"0","","","--";)");
    row("flags, names", "", flags, R"(,"input";,"G";,"";,"SYS_001";"a,b","1";"q""x","0";f,"0";)");
    row("round trip", columns, R"(a,b|0|"| a, "b" ,c |C:\x\"y"\;"q"|1|""|,|a""b; c |1|--||)", "");
}

// Loading what was saved changes nothing; records as a fresh opening leaves
// them (flag set, keys empty) get every value back.
void TestDataProps::save()
{
    QFETCH(QString, tpl);
    QFETCH(QString, sets);
    QFETCH(QString, expected);
    MetaTemplate t;
    loadTemplateText(t, tpl);
    DataSets saved(sets), fresh(sets), original(sets);
    const QString text = dataPropsText(t, saved.list, "G");
    if (!expected.isEmpty()) {
        QCOMPARE(QString(text).replace('\n', ';'), expected);
        return;
    }
    for (DataSet *ds : fresh.list)
        for (auto it = ds->meta.begin(); it != ds->meta.end(); ++it)
            it.value() = it.key() == "SYS_001" ? "1" : "";
    saved.apply(text);
    fresh.apply(text);
    for (int i = 0; i < original.list.size(); ++i) {
        QCOMPARE(saved.list[i]->meta, original.list[i]->meta);
        QCOMPARE(fresh.list[i]->meta, original.list[i]->meta);
    }
}

void TestDataProps::load_data()
{
    QTest::addColumn<QString>("file");    // lines end at ';'
    QTest::addColumn<QString>("changes"); // "<record> <key>=<value>;..."

    const auto row = [](const char *name, QString file, QString changes) {
        QTest::newRow(name) << file << changes;
    };
    const QString ids = R"(j,"T";,"x";;,"SYS_001","S","F";)";
    row("order, first name", R"(;;;,"F","SYS_001","S";a,"9","0","C")", "0 F=9;0 S=C;0 SYS_001=0");
    row("comma in a name; short line", ids + R"(b,c,"0";"b,c","1","Cu")", "2 S=Cu");
    row("unknown file name", ids + R"(c,"0","Cu","9";A,"0")", "");
    row("ids from the fourth line only", R"(,"SYS_001","S";;;,"SYS_001","F";a,"1","9")", "0 F=9");
    row("no-value markers", ids + R"(n,"0","","--")", "3 SYS_001=0");
    row("emptied last cell, short line", ids + R"(a,1,Cu,;"b,c",0,)", "0 S=Cu;0 F=;2 SYS_001=0");
}

void TestDataProps::load()
{
    QFETCH(QString, file);
    QFETCH(QString, changes);
    const QString before = "a|1||!|B;a|1||!|B;b,c|1||!|B;n|1|--NO_VALUE--";
    DataSets sets(before), expected(before);
    sets.apply(file);
    for (const QString &change : changes.split(';', Qt::SkipEmptyParts)) {
        const QString key = change.section(' ', 1).section('=', 0, 0);
        expected.list[change.section(' ', 0, 0).toInt()]->meta[key] = change.section('=', 1);
    }
    for (int i = 0; i < sets.list.size(); ++i)
        QCOMPARE(sets.list[i]->meta, expected.list[i]->meta);
}

QTEST_GUILESS_MAIN(TestDataProps)
#include "TestDataProps.moc"
