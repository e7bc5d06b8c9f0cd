// The argument store, filled from the command line and configuration files;
// the window takes each setting from an option, else from a configuration
// key, else from its default; letter case of names never matters.

#include "TestSupport.h"

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(dir.path())); }
    void parse_data();
    void parse();
    void precedence();
    void startTime();
    void config_data();
    void config();

private:
    QTemporaryDir dir;
};

namespace {

// Every setting of a window as "name=value", named after its option (the
// image size has none: w and h), a button as 1 or 0.
QStringList settings(const Body &b)
{
    const auto on = [](const QAbstractButton *x) { return QString(x->isChecked() ? "=1" : "=0"); };
    const Ui_Body &u = b.ui;
    QStringList s{"-t=" + b.templateFile, "-gp=" + b.genCommPropsFile, "-p=" + b.commPropsFile};
    s << "-dp=" + b.dataPropsFile << "-wd=" + b.worksDir << "-wun" + on(u.Use01Work)
      << "-wud" + on(u.Use02Date) << "-wut" + on(u.Use03Time) << "-wub" + on(u.Use04Branch)
      << "-wn=" + u.Term01Work->text() << "-wb=" + u.Term04Branch->text()
      << "-wui" + on(u.UseWorkFolderNameAsLocalId) << "-cw" + on(u.SetCreateWorkFlag)
      << "-wfn" + on(u.FNinWorkOrig) << "w=" + u.ImageSizeW->text() << "h=" + u.ImageSizeH->text()
      << "-xdi" + on(u.WriteXdi);
    return s;
}

// Every setting as "option key value", then what shows when not the value.
const QStringList specs{"-t template_file t.yml",
                        "-gp GEN_COMMON_PROPS_FILE g.csv",
                        "-p Common_Props_File p.csv",
                        "-dp Data_Props_File d.csv",
                        "-wd Works_Dir w2",
                        "-wun Work_Use_Name 0",
                        "-wud Work_Use_Date 2 0",
                        "-WUT work_use_time yes 0",
                        "-wub Work_Use_Branch 0",
                        "-wn WORK_NAME n",
                        "-wb Work_Branch b",
                        "-wui Use_Work_Folder_Name_As_Local_Id 0",
                        "-cw Set_Create_Work_Flag 0",
                        "-wfn File_Name_in_Work_as_Original 0",
                        "-xdi Write_XDI 1",
                        "w Img_W 640",
                        "h img_h 480"};

} // namespace

void TestSettings::parse_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("entries"); // name|value|text of each arrival
    QTest::addColumn<QString>("found");   // has -t, then valueOf and textOf -t with default "D"

    const auto row = [](const char *name, QStringList words, QString entries, QString found) {
        QTest::newRow(name) << words << entries << found;
    };
    const QStringList words{"x", "-d", "a-b", "試料", "-5", "-p", "", "z", "-t"};
    row("words, options", words, "-d|a-b|a-b 試料;-5||;-p|| z;-t||", "1  ");
    row("later wins", {"-t", "a", "x", "-t", "b", "-T", "c"}, "-t|a|a x;-t|b|b;-T|c|c", "1 c b");
    row("other case", {"-T", "a"}, "-T|a|a", "0 a D");
}

void TestSettings::parse()
{
    QFETCH(QStringList, words);
    setAppArgs(words);
    QTEST(argEntries(appArgs).join(';'), "entries");
    const QString value = appArgs.valueOf("-t", "D"), text = appArgs.textOf("-t", "D");
    QTEST(QString("%1 %2 %3").arg(appArgs.has("-t")).arg(value, text), "found");
}

// Every key away from its default, then with every option at its default.
void TestSettings::precedence()
{
    const QStringList defaults = settings(*makeBody());
    QStringList changed = defaults, beaten = defaults, options, keys;
    for (const QString &spec : specs) {
        const QStringList s = words(spec);
        const int at = defaults.indexOf(QRegularExpression("^" + s[0].toLower() + "=.*"));
        changed[at] = s[0].toLower() + '=' + s.value(3, s[2]);
        QVERIFY2(changed[at] != defaults[at], qPrintable(spec));
        keys << s[1] + ' ' + s[2];
        if (s[0].startsWith('-'))
            options << s[0] << defaults[at].section('=', 1);
        else
            beaten[at] = changed[at];
    }
    QVERIFY(writeTextFile("config.cfg", keys.join('\n')));
    for (const QStringList &words : {QStringList(), options}) {
        setAppArgs(words);
        QVERIFY(appArgs.readConfig("config.cfg"));
        QCOMPARE(settings(Body()), words.isEmpty() ? changed : beaten);
    }
}

// The date and the time come from the clock at start-up.
void TestSettings::startTime()
{
    const QString format = "yyMMdd hhmmss", before = QDateTime::currentDateTime().toString(format);
    const auto body = makeBody();
    const QString shown = body->ui.Term02Date->text() + ' ' + body->ui.Term03Time->text();
    QVERIFY(shown >= before && shown <= QDateTime::currentDateTime().toString(format));
}

void TestSettings::config_data()
{
    QTest::addColumn<QString>("files"); // name:content|...: the first is read
    QTest::addColumn<QString>("entries");

    const auto row = [](const char *name, QString files, QString entries) {
        QTest::newRow(name) << files << entries;
    };
    const QString lines = "a:W \"m w\"  # c\n\n \t\n  # c\nI\nn a\r\nT \"8\" x\n";
    row("lines", lines, "W|m w| \"m w\"  ;I||;n|a| a;T|8| \"8\" x");
    row("includes in any case", "a:a\ninclude b\nz|b:INCLUDE c\nb|c:c", "a||;c||;b||;z||");
    row("from current folder", "s/a:INCLUDE \"m d/b\" # c|s/m d/b:s|m d/b:t", "t||");
    row("twice is no cycle, itself is", "a:INCLUDE b\nINCLUDE b\ninclude a|b:b", "b||;b||");
    row("each other", "a:a\nINCLUDE b\nz|b:b\nINCLUDE ./a\ny", "a||;b||;y||;z||");
    row("missing include goes on", "a:INCLUDE gone\nInclude\nA 1", "A|1| 1");
    row("missing top file", "", "");
}

// Included files are found relative to the current folder, not to the including
// file. The last test: it leaves the current folder removed.
void TestSettings::config()
{
    QFETCH(QString, files);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    const QStringList parts = files.split('|', Qt::SkipEmptyParts);
    for (const QString &file : parts) {
        const QString name = file.section(':', 0, 0);
        QVERIFY(QDir().mkpath(QFileInfo(name).path()) && writeTextFile(name, file.section(':', 1)));
    }
    ArgList args;
    QCOMPARE(args.readConfig(parts.value(0, "none").section(':', 0, 0)), !parts.isEmpty());
    QTEST(argEntries(args).join(';'), "entries");
}

QTEST_MAIN(TestSettings)
#include "TestSettings.moc"
