#include "app/ArgList.h"

#include "TestSupport.h"

#include <QtTest>

#include <vector>

namespace {

// Runs parse over the given words as an argument vector (argv[0] included).
void parseWords(ArgList &args, const QStringList &words)
{
    QList<QByteArray> bytes;
    for (const QString &w : words)
        bytes << w.toUtf8();
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    args.parse(int(bytes.size()), argv.data());
}

} // namespace

class TestArgList : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void lookups_data();
    void lookups();
    void addKeepsEveryEntry();
};

// clang-format off
void TestArgList::parse_data()
{
    QTest::addColumn<QStringList>("argv");
    QTest::addColumn<QStringList>("entries"); // name|value|text of each arrival

    QTest::newRow("program only") << QStringList({"korvane"}) << QStringList();
    QTest::newRow("words before first option") << QStringList({"korvane", "stray", "words", "-t", "a.yml"}) << QStringList{"-t|a.yml|a.yml"};
    QTest::newRow("option words consumed") << QStringList({"prog", "-d", "a.dat", "b.dat", "-e"}) << QStringList{"-d|a.dat|a.dat b.dat", "-e||"};
    QTest::newRow("option last, no value") << QStringList({"prog", "-t"}) << QStringList{"-t||"};
    QTest::newRow("negative number is an option") << QStringList({"prog", "-x", "-5"}) << QStringList{"-x||", "-5||"};
    QTest::newRow("lone dash") << QStringList({"prog", "-", "v"}) << QStringList{"-|v|v"};
    QTest::newRow("argument with blanks is one word") << QStringList({"prog", "-wd", "my works", "x"}) << QStringList{"-wd|my works|my works x"};
    QTest::newRow("dash inside a word") << QStringList({"prog", "-c", "a-b.cfg"}) << QStringList{"-c|a-b.cfg|a-b.cfg"};
    QTest::newRow("empty word is a value") << QStringList({"prog", "-p", "", "z"}) << QStringList{"-p|| z"};
    QTest::newRow("utf-8") << QStringList({"prog", "-wn", "試料"}) << QStringList{"-wn|試料|試料"};
    QTest::newRow("same option twice") << QStringList({"prog", "-d", "a.dat", "-d", "b.dat"}) << QStringList{"-d|a.dat|a.dat", "-d|b.dat|b.dat"};
}
// clang-format on

void TestArgList::parse()
{
    QFETCH(QStringList, argv);
    QFETCH(QStringList, entries);
    ArgList args;
    parseWords(args, argv);
    QCOMPARE(args.size(), entries.size());
    QCOMPARE(argEntries(args), entries);
    // The exact index holds the last entry of each name.
    for (const QString &e : entries) {
        const QString name = e.section('|', 0, 0);
        QVERIFY(args.has(name));
        QCOMPARE(args.valueOf(name), args.valuesOf(name).last());
        QCOMPARE(args.textOf(name), args.textsOf(name).last());
    }
}

// clang-format off
void TestArgList::lookups_data()
{
    QTest::addColumn<QStringList>("argv");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("has");
    QTest::addColumn<QString>("value"); // valueOf with default "DEF"
    QTest::addColumn<QString>("text");  // textOf with default "DEF"
    QTest::addColumn<QStringList>("values");

    const QStringList twice({"prog", "-t", "a.yml", "x", "-t", "b.yml", "y"});
    QTest::newRow("later wins") << twice << "-t" << true << "b.yml" << "b.yml y" << QStringList({"a.yml", "b.yml"});
    const QStringList upper({"prog", "-T", "up.yml"});
    QTest::newRow("folded value, exact has") << upper << "-t" << false << "up.yml" << "DEF" << QStringList();
    QTest::newRow("exact name") << upper << "-T" << true << "up.yml" << "up.yml" << QStringList({"up.yml"});
    const QStringList mixed({"prog", "-t", "low", "-T", "high"});
    QTest::newRow("case variants share the folded slot") << mixed << "-t" << true << "high" << "low" << QStringList({"low"});
    QTest::newRow("no options at all") << QStringList({"prog", "plain", "words"}) << "-t" << false << "DEF" << "DEF" << QStringList();
    QTest::newRow("absent name gives defaults") << mixed << "-p" << false << "DEF" << "DEF" << QStringList();
    QTest::newRow("present without value is empty, not default") << QStringList({"prog", "-t", "-e"}) << "-t" << true << "" << "" << QStringList({""});
}
// clang-format on

void TestArgList::lookups()
{
    QFETCH(QStringList, argv);
    QFETCH(QString, name);
    QFETCH(bool, has);
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(QStringList, values);

    ArgList args;
    parseWords(args, argv);
    QCOMPARE(args.has(name), has);
    QCOMPARE(args.valueOf(name, "DEF"), value);
    QCOMPARE(args.textOf(name, "DEF"), text);
    QCOMPARE(args.valuesOf(name), values);
    QCOMPARE(args.setting("DEF", "Unused_Key", name), value);
}

void TestArgList::addKeepsEveryEntry()
{
    // Option beats key beats default, whichever was added first.
    ArgList args;
    args.add("Template_File", "cfg.yml", " cfg.yml");
    QCOMPARE(args.setting("def.yml", "template_file", "-t"), QString("cfg.yml"));
    args.add("-T", "opt.yml", "opt.yml");
    QCOMPARE(args.setting("def.yml", "template_file", "-t"), QString("opt.yml"));
    args.add("TEMPLATE_FILE", "later.yml", " later.yml");
    QCOMPARE(args.setting("def.yml", "Template_File", "-x"), QString("later.yml"));
    QCOMPARE(args.textOf("Template_File"), QString(" cfg.yml"));
    QCOMPARE(args.textsOf("Template_File"), QStringList({" cfg.yml"}));
    QCOMPARE(args.arrivalNames(), QStringList({"Template_File", "-T", "TEMPLATE_FILE"}));
}

QTEST_GUILESS_MAIN(TestArgList)
#include "TestArgList.moc"
