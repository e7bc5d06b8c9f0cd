#include "settings/ArgList.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestArgList : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void config_data();
    void config();
};

// clang-format off
void TestArgList::parse_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("entries"); // name|value|text of each arrival
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found"); // has, then valueOf and textOf with default "D"

    QTest::newRow("words before first option") << QStringList{"stray", "-t", "a.yml"} << QStringList{"-t|a.yml|a.yml"} << "-T" << "0 a.yml D";
    QTest::newRow("option words consumed") << QStringList{"-d", "a-b.dat", "試料", "-e"} << QStringList{"-d|a-b.dat|a-b.dat 試料", "-e||"} << "-e" << "1  ";
    QTest::newRow("negative number is an option") << QStringList{"-x", "-5"} << QStringList{"-x||", "-5||"} << "-p" << "0 D D";
    QTest::newRow("empty word is a value") << QStringList{"-p", "", "z"} << QStringList{"-p|| z"} << "-p" << "1   z";
    QTest::newRow("later wins") << QStringList{"-t", "a", "x", "-t", "b", "y"} << QStringList{"-t|a|a x", "-t|b|b y"} << "-t" << "1 b b y";
    QTest::newRow("case variants share the folded value") << QStringList{"-t", "low", "-T", "high"} << QStringList{"-t|low|low", "-T|high|high"} << "-t" << "1 high low";
}
// clang-format on

void TestArgList::parse()
{
    QFETCH(QStringList, words);
    QFETCH(QString, name);
    setAppArgs(words);
    QTEST(argEntries(appArgs), "entries");
    const QString value = appArgs.valueOf(name, "D");
    QTEST(QString("%1 %2 %3").arg(appArgs.has(name)).arg(value, appArgs.textOf(name, "D")),
          "found");
    QCOMPARE(appArgs.setting("D", "Unused_Key", name), value);
}

// clang-format off
void TestArgList::config_data()
{
    QTest::addColumn<QStringList>("files"); // name, content, ...: the first is read
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("lines") << QStringList{"a.cfg", "W   \"my works\"   # c\nV my works\n\n \t\n# c\n  # c\nN Bob's # c\nI\nJ   # c\nn a\r\nT \"8\"\r\n"} << QStringList{"W|my works|   \"my works\"   ", "V|my| my works", "N|Bob's| Bob's # c", "I||", "J||   ", "n|a| a", "T|8| \"8\""};
    QTest::newRow("includes in any case, depth first") << QStringList{"a.cfg", "A 1\ninclude b.cfg\nZ 9\n", "b.cfg", "B 1\nInclude c.cfg\nB2 1\n", "c.cfg", "C 1\n"} << QStringList{"A|1| 1", "B|1| 1", "C|1| 1", "B2|1| 1", "Z|9| 9"};
    QTest::newRow("quoted, relative to current directory") << QStringList{"sub/a.cfg", "INCLUDE \"my dir/b.cfg\" # c\n", "sub/my dir/b.cfg", "W sub\n", "my dir/b.cfg", "W top\n"} << QStringList{"W|top| top"};
    QTest::newRow("twice is not a cycle, itself is") << QStringList{"a.cfg", "INCLUDE b.cfg\nINCLUDE b.cfg\nINCLUDE a.cfg\n", "b.cfg", "B 1\n"} << QStringList{"B|1| 1", "B|1| 1"};
    QTest::newRow("two files include each other") << QStringList{"a.cfg", "A 1\nINCLUDE b.cfg\nA2 2\n", "b.cfg", "B 1\nINCLUDE ./a.cfg\nB2 2\n"} << QStringList{"A|1| 1", "B|1| 1", "B2|2| 2", "A2|2| 2"};
    QTest::newRow("missing include goes on") << QStringList{"a.cfg", "INCLUDE gone.cfg\nInclude\nA 1\n"} << QStringList{"A|1| 1"};
    QTest::newRow("missing top file") << QStringList() << QStringList();
}
// clang-format on

// Included files are found relative to the current directory, not to the
// including file. The last test: it leaves the current directory removed.
void TestArgList::config()
{
    QFETCH(QStringList, files);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    for (int i = 0; i + 1 < files.size(); i += 2)
        QVERIFY(QDir().mkpath(QFileInfo(files[i]).path()) && writeTextFile(files[i], files[i + 1]));
    ArgList args;
    QCOMPARE(args.readConfig(files.value(0, "config.cfg")), !files.isEmpty());
    QTEST(argEntries(args), "entries");
}

QTEST_GUILESS_MAIN(TestArgList)
#include "TestArgList.moc"
