// The window takes each setting from an option, else from a configuration
// key, else from its default; letter case of names never matters.

#include "TestSupport.h"

#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void precedence_data();
    void precedence();
    void startTime();

private:
    QTemporaryDir dir;
};

// What a test sees of one setting: a path member, a line edit's text, or
// "checked"/"unchecked" for a button.
namespace {

QString observed(const Body &body, const QString &target)
{
    const QMap<QString, QString> members = {{"templateFile", body.templateFile},
                                            {"genCommPropsFile", body.genCommPropsFile},
                                            {"commPropsFile", body.commPropsFile},
                                            {"dataPropsFile", body.dataPropsFile},
                                            {"worksDir", body.worksDir}};
    if (members.contains(target))
        return members.value(target);
    if (auto *button = body.findChild<QAbstractButton *>(target))
        return button->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    if (auto *edit = body.findChild<QLineEdit *>(target))
        return edit->text();
    return QStringLiteral("no such target");
}

} // namespace

void TestSettings::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
}

// clang-format off
void TestSettings::precedence_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");

    const QStringList none;
    const QString noConfig;

    // Defaults.
    QTest::newRow("template default") << none << noConfig << "templateFile" << "korvane-template.yml";
    QTest::newRow("works default") << none << noConfig << "worksDir" << "works";
    for (const char *box : {"Use01Work", "Use02Date", "Use03Time", "Use04Branch",
                            "UseWorkFolderNameAsLocalId", "SetCreateWorkFlag", "FNinWorkOrig"})
        QTest::addRow("%s default", box) << none << noConfig << box << "checked";
    QTest::newRow("canonical default") << none << noConfig << "FNinWorkCanon" << "unchecked";
    QTest::newRow("work name default") << none << noConfig << "Term01Work" << "work";
    QTest::newRow("width default") << none << noConfig << "ImageSizeW" << "1024";

    // Each option reaches its own target.
    QTest::newRow("-t") << QStringList{"-t", "t.yml"} << noConfig << "templateFile" << "t.yml";
    QTest::newRow("-gp") << QStringList{"-gp", "g.csv"} << noConfig << "genCommPropsFile" << "g.csv";
    QTest::newRow("-p") << QStringList{"-p", "p.csv"} << noConfig << "commPropsFile" << "p.csv";
    QTest::newRow("-dp") << QStringList{"-dp", "d.csv"} << noConfig << "dataPropsFile" << "d.csv";
    QTest::newRow("-wd blanks") << QStringList{"-wd", "my works"} << noConfig << "worksDir" << "my works";
    QTest::newRow("-wun") << QStringList{"-wun", "0"} << noConfig << "Use01Work" << "unchecked";
    QTest::newRow("-wud") << QStringList{"-wud", "0"} << noConfig << "Use02Date" << "unchecked";
    QTest::newRow("-wub") << QStringList{"-wub", "0"} << noConfig << "Use04Branch" << "unchecked";
    QTest::newRow("-wn") << QStringList{"-wn", "scan"} << noConfig << "Term01Work" << "scan";
    QTest::newRow("-wb") << QStringList{"-wb", "b2"} << noConfig << "Term04Branch" << "b2";
    QTest::newRow("-wui") << QStringList{"-wui", "0"} << noConfig << "UseWorkFolderNameAsLocalId" << "unchecked";
    QTest::newRow("-cw") << QStringList{"-cw", "0"} << noConfig << "SetCreateWorkFlag" << "unchecked";
    QTest::newRow("-wfn 2 canonical") << QStringList{"-wfn", "2"} << noConfig << "FNinWorkCanon" << "checked";
    QTest::newRow("-wfn 2 not original") << QStringList{"-wfn", "2"} << noConfig << "FNinWorkOrig" << "unchecked";
    QTest::newRow("-wfn 1") << QStringList{"-wfn", "1"} << "File_Name_in_Work_as_Original 0\n" << "FNinWorkOrig" << "checked";

    // Option beats key beats default, names in any letter case.
    QTest::newRow("option beats key") << QStringList{"-wut", "0"} << "Work_Use_Time 1\n" << "Use03Time" << "unchecked";
    QTest::newRow("upper-case option") << QStringList{"-WUT", "0"} << "Work_Use_Time 1\n" << "Use03Time" << "unchecked";
    QTest::newRow("lower-case key") << none << "work_use_time 0\n" << "Use03Time" << "unchecked";
    QTest::newRow("key sets path") << none << "Works_Dir \"my works\"\n" << "worksDir" << "my works";
    QTest::newRow("option path beats key") << QStringList{"-t", "a.yml"} << "Template_File b.yml\n" << "templateFile" << "a.yml";
    QTest::newRow("later key wins") << none << "Work_Name one\nWORK_NAME two\n" << "Term01Work" << "two";
    QTest::newRow("width from key") << none << "Img_W 640\n" << "ImageSizeW" << "640";
    QTest::newRow("height from key") << none << "img_h 480\n" << "ImageSizeH" << "480";
    QTest::newRow("width not an option") << QStringList{"-Img_W", "640"} << noConfig << "ImageSizeW" << "1024";
    QTest::newRow("check needs exactly 1") << none << "Work_Use_Date 2\n" << "Use02Date" << "unchecked";
    QTest::newRow("not a number") << QStringList{"-wun", "yes"} << noConfig << "Use01Work" << "unchecked";

    // A present option without a value is empty, not absent.
    QTest::newRow("empty text") << QStringList{"-wn"} << noConfig << "Term01Work" << "";
    QTest::newRow("empty box") << QStringList{"-wud", "-wb", "x"} << noConfig << "Use02Date" << "unchecked";
    QTest::newRow("empty path") << QStringList{"-dp"} << "Data_Props_File d.csv\n" << "dataPropsFile" << "";
    QTest::newRow("empty radio") << QStringList{"-wfn"} << noConfig << "FNinWorkCanon" << "checked";
}
// clang-format on

void TestSettings::precedence()
{
    QFETCH(QStringList, options);
    QFETCH(QString, config);
    QFETCH(QString, target);
    QFETCH(QString, expected);

    setAppArgs(options);
    if (!config.isEmpty()) {
        QVERIFY(writeTextFile(dir.filePath("config.cfg"), config));
        QVERIFY(appArgs.readConfig(dir.filePath("config.cfg")));
    }
    Body body;
    QCOMPARE(observed(body, target), expected);
}

// The date and the time come from the clock at start-up.
void TestSettings::startTime()
{
    const QDateTime before = QDateTime::currentDateTime();
    const auto body = makeBody();
    const QDateTime after = QDateTime::currentDateTime();
    if (before.date() != after.date())
        QSKIP("the clock passed midnight while the window was built");
    QCOMPARE(body->ui.Term02Date->text(), before.toString("yyMMdd"));
    const QString time = body->ui.Term03Time->text();
    QCOMPARE(time.size(), 6);
    QVERIFY(time >= before.toString("hhmmss") && time <= after.toString("hhmmss"));
}

QTEST_MAIN(TestSettings)
#include "TestSettings.moc"
