#include "app/ArgList.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Makes a temporary folder the current directory for the life of the object:
// included files are found relative to it, not to the including file.
class InTempDir
{
public:
    InTempDir() : old(QDir::currentPath()) { QDir::setCurrent(dir.path()); }
    ~InTempDir() { QDir::setCurrent(old); }
    bool isValid() const { return dir.isValid(); }

    bool write(const QString &name, const QString &text) const
    {
        const QFileInfo info(QDir(dir.path()).filePath(name));
        return QDir().mkpath(info.absolutePath()) && writeTextFile(info.filePath(), text);
    }

private:
    QTemporaryDir dir;
    QString old;
};

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void files_data();
    void files();
    void laterLineBeatsOption();
};

// clang-format off
void TestConfig::lines_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("entries"); // name|value|text of each arrival

    QTest::newRow("quoted value keeps text") << "Works_Dir   \"my works\"   # where works go\n" << QStringList{"Works_Dir|my works|   \"my works\"   "};
    QTest::newRow("unquoted blanks: first word only") << "Works_Dir my works\n" << QStringList{"Works_Dir|my| my works"};
    QTest::newRow("blank, white and comment lines") << "\n   \t\n# only a comment\n   # indented comment\nA 1\n" << QStringList{"A|1| 1"};
    QTest::newRow("apostrophe hides hash") << "Work_Name Bob's # not a comment\n" << QStringList{"Work_Name|Bob's| Bob's # not a comment"};
    QTest::newRow("quoted hash") << "Work_Name \"a#b\" #c\n" << QStringList{"Work_Name|a#b| \"a#b\" "};
    QTest::newRow("key without value") << "Img_W\nImg_H   # none\n" << QStringList{"Img_W||", "Img_H||   "};
    QTest::newRow("further items reach text only") << "K v1 v2 v3\n" << QStringList{"K|v1| v1 v2 v3"};
    QTest::newRow("repeated key in other case kept twice") << "Work_Name a\nwork_name b\n" << QStringList{"Work_Name|a| a", "work_name|b| b"};
    QTest::newRow("option names as keys") << "-t tpl.yml\n-E\n" << QStringList{"-t|tpl.yml| tpl.yml", "-E||"};
    QTest::newRow("indented key") << "\t Img_W 800\n" << QStringList{"Img_W|800| 800"};
    QTest::newRow("no final line end") << "A 1" << QStringList{"A|1| 1"};
}
// clang-format on

void TestConfig::lines()
{
    QFETCH(QString, content);
    QFETCH(QStringList, entries);

    ArgList args;
    QTextStream in(&content, QIODevice::ReadOnly);
    args.readConfig(in);
    QCOMPARE(argEntries(args), entries);
}

// clang-format off
void TestConfig::files_data()
{
    QTest::addColumn<QStringList>("files"); // name, content, name, content ...
    QTest::addColumn<QString>("top");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QStringList>("values"); // name=value in arrival order
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("include in any letter case") << QStringList({"a.cfg", "A 1\ninclude b.cfg\nInclude c.cfg\nINCLUDE c.cfg\nZ 9\n", "b.cfg", "B 2\n", "c.cfg", "C 3\n"}) << "a.cfg" << true << QStringList({"A=1", "B=2", "C=3", "C=3", "Z=9"}) << QStringList();
    QTest::newRow("nested, depth first") << QStringList({"a.cfg", "A 1\nINCLUDE b.cfg\nA2 1\n", "b.cfg", "B 1\nINCLUDE c.cfg\nB2 1\n", "c.cfg", "C 1\n"}) << "a.cfg" << true << QStringList({"A=1", "B=1", "C=1", "B2=1", "A2=1"}) << QStringList();
    QTest::newRow("quoted include path with blank") << QStringList({"a.cfg", "INCLUDE \"my dir/b.cfg\" # note\n", "my dir/b.cfg", "B 2\n"}) << "a.cfg" << true << QStringList({"B=2"}) << QStringList();
    QTest::newRow("include relative to current directory") << QStringList(
               {"sub/a.cfg", "INCLUDE b.cfg\n", "sub/b.cfg", "WHERE sub\n", "b.cfg", "WHERE top\n"}) << "sub/a.cfg" << true << QStringList({"WHERE=top"}) << QStringList();
    QTest::newRow("file includes itself") << QStringList({"a.cfg", "A 1\nINCLUDE a.cfg\nA2 2\n"}) << "a.cfg" << true << QStringList({"A=1", "A2=2"}) << QStringList({"Skipping cyclic INCLUDE of \"a.cfg\""});
    QTest::newRow("two files include each other") << QStringList(
               {"a.cfg", "A 1\nINCLUDE b.cfg\nA2 2\n", "b.cfg", "B 1\nINCLUDE ./a.cfg\nB2 2\n"}) << "a.cfg" << true << QStringList({"A=1", "B=1", "B2=2", "A2=2"}) << QStringList({"Skipping cyclic INCLUDE of \"./a.cfg\""});
    QTest::newRow("same file twice is not a cycle") << QStringList({"a.cfg", "INCLUDE b.cfg\nINCLUDE b.cfg\n", "b.cfg", "B 1\n"}) << "a.cfg" << true << QStringList({"B=1", "B=1"}) << QStringList();
    QTest::newRow("include without value") << QStringList({"a.cfg", "A 1\nInclude\nA2 2\n"}) << "a.cfg" << true << QStringList({"A=1", "A2=2"}) << QStringList({"Can't open config file :  \"\""});
    QTest::newRow("missing include goes on") << QStringList({"a.cfg", "INCLUDE gone.cfg\nA 1\n"}) << "a.cfg" << true << QStringList({"A=1"}) << QStringList({"Can't open config file :  \"gone.cfg\""});
    QTest::newRow("missing top file") << QStringList() << "config.cfg" << false << QStringList() << QStringList({"Can't open config file :  \"config.cfg\""});
    QTest::newRow("CRLF line ends") << QStringList({"win.cfg", "Template_File t.yml\r\nImg_W \"800\"\r\n# c\r\n"}) << "win.cfg" << true << QStringList({"Template_File=t.yml", "Img_W=800"}) << QStringList();
    QTest::newRow("empty path") << QStringList() << "" << false << QStringList() << QStringList({"Can't open config file :  \"\""});
}
// clang-format on

void TestConfig::files()
{
    QFETCH(QStringList, files);
    QFETCH(QString, top);
    QFETCH(bool, opened);
    QFETCH(QStringList, values);
    QFETCH(QStringList, messages);

    InTempDir dir;
    QVERIFY(dir.isValid());
    for (int i = 0; i + 1 < files.size(); i += 2)
        QVERIFY(dir.write(files.at(i), files.at(i + 1)));
    for (const QString &m : messages)
        QTest::ignoreMessage(QtDebugMsg, m.toUtf8().constData());

    ArgList args;
    QCOMPARE(args.readConfig(top), opened);
    QStringList got;
    for (const QString &e : argEntries(args))
        got << e.section('|', 0, 0) + "=" + e.section('|', 1, 1);
    QCOMPARE(got, values);
}

void TestConfig::laterLineBeatsOption()
{
    // The file is read after the command line, so its key wins over the
    // option of the same name in both indexes.
    InTempDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(dir.write("config.cfg", "-wd fromfile\nworks_dir cfgdir\n"));
    ArgList args;
    args.add("-wd", "fromoption", "fromoption");
    QVERIFY(args.readConfig("config.cfg"));
    QCOMPARE(args.valueOf("-WD"), QString("fromfile"));
    QCOMPARE(args.textOf("-wd"), QString(" fromfile"));
    QCOMPARE(args.setting("works", "Works_Dir", "-x"), QString("cfgdir"));
}

QTEST_GUILESS_MAIN(TestConfig)
#include "TestConfig.moc"
