#include "app/ArgList.h"

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

using Entries = QList<QStringList>; // name, value, text of each arrival

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
    QTest::addColumn<Entries>("entries");

    QTest::newRow("program only") << QStringList({"korvane"}) << Entries();
    QTest::newRow("words before first option") << QStringList({"korvane", "stray", "words", "-t", "a.yml"}) << Entries({{"-t", "a.yml", "a.yml"}});
    QTest::newRow("option words consumed") << QStringList({"prog", "-d", "a.dat", "b.dat", "-e"}) << Entries({{"-d", "a.dat", "a.dat b.dat"}, {"-e", "", ""}});
    QTest::newRow("option last, no value") << QStringList({"prog", "-t"}) << Entries({{"-t", "", ""}});
    QTest::newRow("negative number is an option") << QStringList({"prog", "-x", "-5"}) << Entries({{"-x", "", ""}, {"-5", "", ""}});
    QTest::newRow("lone dash") << QStringList({"prog", "-", "v"}) << Entries({{"-", "v", "v"}});
    QTest::newRow("argument with blanks is one word") << QStringList({"prog", "-wd", "my works", "x"}) << Entries({{"-wd", "my works", "my works x"}});
    QTest::newRow("dash inside a word") << QStringList({"prog", "-c", "a-b.cfg"}) << Entries({{"-c", "a-b.cfg", "a-b.cfg"}});
    QTest::newRow("empty word is a value") << QStringList({"prog", "-p", "", "z"}) << Entries({{"-p", "", " z"}});
    QTest::newRow("utf-8") << QStringList({"prog", "-wn", QString::fromUtf8("試料")}) << Entries(
                                  {{"-wn", QString::fromUtf8("試料"), QString::fromUtf8("試料")}});
    QTest::newRow("same option twice") << QStringList({"prog", "-d", "a.dat", "-d", "b.dat"}) << Entries({{"-d", "a.dat", "a.dat"}, {"-d", "b.dat", "b.dat"}});
}
// clang-format on

void TestArgList::parse()
{
    QFETCH(QStringList, argv);
    QFETCH(Entries, entries);

    ArgList args;
    parseWords(args, argv);
    QCOMPARE(args.size(), entries.size());
    QStringList names;
    for (const QStringList &e : entries)
        names << e.at(0);
    QCOMPARE(args.arrivalNames(), names);
    // The last entry of each name is what the exact index holds.
    for (const QStringList &e : entries) {
        QCOMPARE(args.valuesOf(e.at(0)).last(), args.valueOf(e.at(0)));
        QVERIFY(args.has(e.at(0)));
    }
    for (int i = 0; i < entries.size(); ++i) {
        const QString &name = entries.at(i).at(0);
        int nth = 0;
        for (int j = 0; j < i; ++j)
            nth += entries.at(j).at(0) == name;
        QCOMPARE(args.valuesOf(name).at(nth), entries.at(i).at(1));
        QCOMPARE(args.textsOf(name).at(nth), entries.at(i).at(2));
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
