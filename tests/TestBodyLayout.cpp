// The main window's controls found by name, in English and in Japanese (the
// translation built into the program), and the file dialogs behind the buttons.

#include "app/Startup.h"

#include "TestSupport.h"

#include <QtTest>

class TestBodyLayout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void texts_data();
    void texts();
    void dialogs_data();
    void dialogs();
    void translations_data();
    void translations();

private:
    QTemporaryDir dir;
    QTranslator translator;
    std::unique_ptr<Body> english, japanese; // built once each
};

namespace {

const QObject *named(const Body &body, const QString &name)
{
    return name == "Body" ? &body : body.findChild<QObject *>(name);
}

// The seven dialogs in the order the window sets them up.
QFileDialog *dialogAt(Body &body, int which)
{
    QFileDialog *dialogs[] = {&body.loadDataFilesDialog, &body.saveDataPropsDialog,
                              &body.loadDataPropsDialog, &body.genCommPropsDialog,
                              &body.saveCommPropsDialog, &body.loadCommPropsDialog,
                              &body.saveWorksDialog};
    return dialogs[which];
}

} // namespace

void TestBodyLayout::initTestCase()
{
    // An empty current folder: no template or common properties from the tree.
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
    english = makeBody();
    // From the resource built into the program, not from a file.
    initKorvaneResources();
    QVERIFY(translator.load(":korvane_ja_JP"));
    QCoreApplication::installTranslator(&translator);
    japanese = makeBody();
}

// clang-format off
void TestBodyLayout::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("readOnly");

    QTest::newRow("window") << "Body" << "yml generator" << "korvane" << false << false;
    QTest::newRow("drop area") << "DataFilesDropArea" << "Drop XAFS DATA Files Here" << "XAFSデータファイルドロップ" << false << true;
    QTest::newRow("flag") << "SetCreateWorkFlag" << "Set \"Create Work\" flag" << "「Work生成」フラグセット" << true << false;
    QTest::newRow("local id") << "UseWorkFolderNameAsLocalId" << "Use Work Folder Name as Local Id" << "Workフォルダ名をローカルIDとしてメタデータに入れる" << true << false;
    QTest::newRow("original") << "FNinWorkOrig" << "Original" << "変更なし" << true << false;
    QTest::newRow("generate") << "GenCommProps" << "Generate ()" << "雛形から生成" << false << false;
    QTest::newRow("work name") << "Term01Work" << "work" << "work" << false << false;
}
// clang-format on

void TestBodyLayout::texts()
{
    QFETCH(QString, name);
    QFETCH(bool, checked);
    QFETCH(bool, readOnly);
    for (const Body *body : {english.get(), japanese.get()}) {
        const QObject *object = named(*body, name);
        QVERIFY2(object, qPrintable(name));
        const QString text =
            object == body ? body->windowTitle() : object->property("text").toString();
        if (body == english.get())
            QTEST(text, "english");
        else
            QTEST(text, "japanese");
        QCOMPARE(object->property("checked").toBool(), checked);
        QCOMPARE(object->property("readOnly").toBool(), readOnly);
    }
}

// clang-format off
void TestBodyLayout::dialogs_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("acceptMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<QString>("typeFilter");
    QTest::addColumn<QString>("preselected");

    const int open = QFileDialog::AcceptOpen, save = QFileDialog::AcceptSave;
    QTest::newRow("load data") << "LoadDataFiles" << 0 << "Load Data Files" << open << int(QFileDialog::ExistingFiles) << "XAFS Data Files (*.dat)" << "";
    QTest::newRow("save data props") << "SaveDataProps" << 1 << "Save Props of Data" << save << int(QFileDialog::AnyFile) << "Data Props File (*.csv)" << "dataProps.csv";
    QTest::newRow("load data props") << "LoadDataProps" << 2 << "Load Props of Data" << open << int(QFileDialog::ExistingFile) << "Data Props File (*.csv)" << "dataProps.csv";
    QTest::newRow("template") << "GenCommProps" << 3 << "Save Common Props Template" << save << int(QFileDialog::AnyFile) << "Common Props File (*.csv)" << "commProps00.csv";
    QTest::newRow("save common") << "SaveCommProps" << 4 << "Save Common Props" << save << int(QFileDialog::AnyFile) << "Common Props File (*.csv)" << "commProps.csv";
    QTest::newRow("load common") << "LoadCommProps" << 5 << "Load Common Props" << open << int(QFileDialog::ExistingFile) << "Common Props File (*.csv)" << "commProps.csv";
    QTest::newRow("works") << "GenWorks" << 6 << "Save Works" << save << int(QFileDialog::Directory) << "" << "works";
}
// clang-format on

void TestBodyLayout::dialogs()
{
    QFETCH(QString, button);
    QFETCH(int, which);
    QFETCH(QString, typeFilter);
    QFETCH(QString, preselected);
    QFileDialog *dialog = dialogAt(*english, which);
    QTEST(dialog->windowTitle(), "title");
    QTEST(int(dialog->acceptMode()), "acceptMode");
    QTEST(int(dialog->fileMode()), "fileMode");
    const QStringList filters = typeFilter.isEmpty()
                                    ? QStringList{"All Files (*)"}
                                    : QStringList{typeFilter, "Any Files (*, *.*)"};
    QCOMPARE(dialog->nameFilters(), filters);
    if (!preselected.isEmpty())
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), preselected);
    // The button shows its own dialog only, and the dialog stays modeless.
    QVERIFY(QMetaObject::invokeMethod(english->findChild<QPushButton *>(button), "click"));
    for (int i = 0; i < 7; ++i)
        QCOMPARE(dialogAt(*english, i)->isVisible(), i == which);
    QVERIFY(!dialog->isModal());
    dialog->hide();
}

// clang-format off
void TestBodyLayout::translations_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<int>("dialog"); // the dialog with this title, -1 for none

    QTest::newRow("dialog title") << "Body" << "Save Props of Data" << "データ毎に入力が必要な属性一覧の保存" << 1;
    QTest::newRow("works dialog") << "Body" << "Save Works" << "Work の作成" << 6;
    QTest::newRow("flag column") << "Body" << "Gen. Work/not" << "Work生成する/しない(1/0)" << -1;
    QTest::newRow("property row") << "PropUI" << "Comment" << "コメント" << -1;
    QTest::newRow("axis title") << "QObject" << "mut" << "μt" << -1;
}
// clang-format on

void TestBodyLayout::translations()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(int, dialog);
    QTEST(QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData()),
          "japanese");
    if (dialog >= 0)
        QTEST(dialogAt(*japanese, dialog)->windowTitle(), "japanese");
}

QTEST_MAIN(TestBodyLayout)
#include "TestBodyLayout.moc"
