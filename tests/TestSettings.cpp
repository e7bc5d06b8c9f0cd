// The window takes each setting from an option, else from a configuration
// key, else from its default; letter case of names never matters.

#include "TestSupport.h"

#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(dir.path())); }
    void precedence_data();
    void precedence();
    void startTime();

private:
    QTemporaryDir dir;
};

namespace {

// What a test sees of one setting: a path member, a line edit's text, or
// whether a button is checked (1 or 0).
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
        return QString::number(button->isChecked());
    if (auto *edit = body.findChild<QLineEdit *>(target))
        return edit->text();
    return "no such target";
}

} // namespace

// clang-format off
void TestSettings::precedence_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("expected"); // target=value, ...

    // Every setting away from its default.
    const QString all = "templateFile=t.yml,genCommPropsFile=g.csv,commPropsFile=p.csv,dataPropsFile=d.csv,worksDir=w2,Use01Work=0,Use02Date=0,Use03Time=0,Use04Branch=0,Term01Work=1,Term04Branch=1,UseWorkFolderNameAsLocalId=0,SetCreateWorkFlag=0,FNinWorkCanon=1,FNinWorkOrig=0";
    QTest::newRow("options") << "-t t.yml -gp g.csv -p p.csv -dp d.csv -wd w2 -wun 0 -wud 0 -WUT 0 -wub 0 -wn 1 -wb 1 -wui 0 -cw 0 -wfn 2" << "" << all;
    QTest::newRow("keys in any case, later wins, only 1 checks") << "" << "template_file t.yml\nGEN_COMMON_PROPS_FILE g.csv\nCommon_Props_File p.csv\nData_Props_File d.csv\nWorks_Dir w2\nWork_Use_Name 0\nWork_Use_Date 2\nWork_Use_Time yes\nWork_Use_Branch 0\nWork_Name one\nWORK_NAME 1\nWork_Branch 1\nUse_Work_Folder_Name_As_Local_Id 0\nSet_Create_Work_Flag 0\nFile_Name_in_Work_as_Original 0\nImg_W 640\nimg_h 480\n" << all + ",ImageSizeW=640,ImageSizeH=480";
    QTest::newRow("option beats key, image size has none") << "-wut 0 -t a.yml -wfn 1 -Img_W 640" << "Work_Use_Time 1\nTemplate_File b.yml\nFile_Name_in_Work_as_Original 0\n" << "Use03Time=0,templateFile=a.yml,FNinWorkOrig=1,ImageSizeW=1024";
}
// clang-format on

void TestSettings::precedence()
{
    QFETCH(QString, options);
    QFETCH(QString, config);
    QFETCH(QString, expected);
    setAppArgs(options.split(' ', Qt::SkipEmptyParts));
    QVERIFY(writeTextFile("config.cfg", config) && appArgs.readConfig("config.cfg"));
    Body body;
    for (const QString &e : expected.split(','))
        QCOMPARE(e.section('=', 0, 0) + '=' + observed(body, e.section('=', 0, 0)), e);
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
    QVERIFY(time >= before.toString("hhmmss") && time <= after.toString("hhmmss"));
}

QTEST_MAIN(TestSettings)
#include "TestSettings.moc"
