// The main window's controls: names, texts in English and Japanese, initial
// states, grid cells, focus order and the file dialogs behind the buttons.

#include "app/ArgList.h"
#include "app/Startup.h"
#include "ui/Body.h"

#include <QtTest>
#include <memory>

class TestBodyLayout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void englishTexts_data() { textTable(); }
    void englishTexts();
    void japaneseTexts_data() { textTable(); }
    void japaneseTexts();
    void cells_data();
    void cells();
    void focusOrder();
    void lineEdits_data();
    void lineEdits();
    void dialogs_data();
    void dialogs();
    void japaneseMessages_data();
    void japaneseMessages();

private:
    void textTable();
    QTemporaryDir dir;
    QTranslator translator;
    // Built once: one window in each language.
    std::unique_ptr<Body> english, japanese;
};

// The text a control shows: the title for the window itself.
static QString textOf(const QObject *object)
{
    if (auto *body = qobject_cast<const Body *>(object))
        return body->windowTitle();
    return object->property("text").toString();
}

static const QObject *named(const Body &body, const QString &name)
{
    return name == QLatin1String("Body") ? &body : body.findChild<QObject *>(name);
}

// The seven dialogs in the order the window sets them up.
static QFileDialog *dialogAt(Body &body, int which)
{
    QFileDialog *dialogs[] = {&body.loadDataFilesDialog, &body.saveDataPropsDialog,
                              &body.loadDataPropsDialog, &body.genCommPropsDialog,
                              &body.saveCommPropsDialog, &body.loadCommPropsDialog,
                              &body.saveWorksDialog};
    return dialogs[which];
}

void TestBodyLayout::initTestCase()
{
    QVERIFY(dir.isValid());
    // The window reads its template and common properties from the current
    // folder; an empty one keeps the test independent of the tree.
    QVERIFY(QDir::setCurrent(dir.path()));
    appArgs = ArgList();

    english = std::make_unique<Body>();
    // Loaded from the resource built into the program, not from a file.
    initKorvaneResources();
    QVERIFY(translator.load(QStringLiteral(":korvane_ja_JP")));
    QCoreApplication::installTranslator(&translator);
    japanese = std::make_unique<Body>();
}

void TestBodyLayout::textTable()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("japanese");

    QTest::newRow("window") << "Body"
                            << "yml generator"
                            << "korvane";
    QTest::newRow("drop area") << "DataFilesDropArea"
                               << "Drop XAFS DATA Files Here"
                               << "XAFSデータファイルドロップ";
    QTest::newRow("or") << "label_6"
                        << "OR"
                        << "または";
    QTest::newRow("load data") << "LoadDataFiles"
                               << "Load Data Files"
                               << "XAFS データファイル読込";
    QTest::newRow("flag") << "SetCreateWorkFlag"
                          << "Set \"Create Work\" flag"
                          << "「Work生成」フラグセット";
    QTest::newRow("generate works") << "GenWorks"
                                    << "Generate Works"
                                    << "Work 生成";
    QTest::newRow("height") << "label_5"
                            << "Height"
                            << "高さ";
    QTest::newRow("width") << "label_4"
                           << "Width"
                           << "幅";
    QTest::newRow("image size") << "label_3"
                                << "Image Size : "
                                << "サムネイル画像サイズ";
    QTest::newRow("original") << "FNinWorkOrig"
                              << "Original"
                              << "変更なし";
    QTest::newRow("file name") << "label_7"
                               << "File Name In Work"
                               << "Work に入れるデータファイル名";
    QTest::newRow("canonical") << "FNinWorkCanon"
                               << "Canonical"
                               << "正規化したファイル名";
    QTest::newRow("folder name") << "label_8"
                                 << "Work Folder Name : "
                                 << "Workフォルダ名生成規則";
    QTest::newRow("name box") << "Use01Work"
                              << ""
                              << "";
    QTest::newRow("date") << "Use02Date"
                          << "Date"
                          << "日付";
    QTest::newRow("time") << "Use03Time"
                          << "Time"
                          << "時間";
    QTest::newRow("branch") << "Use04Branch"
                            << "Branch"
                            << "枝名";
    QTest::newRow("local id") << "UseWorkFolderNameAsLocalId"
                              << "Use Work Folder Name as Local Id"
                              << "Workフォルダ名をローカルIDとしてメタデータに入れる";
    QTest::newRow("common") << "label"
                            << "Common Props"
                            << "共通(データによらない)属性";
    QTest::newRow("generate") << "GenCommProps"
                              << "Generate ()"
                              << "雛形から生成";
    QTest::newRow("save common") << "SaveCommProps"
                                 << "Save"
                                 << "保存";
    QTest::newRow("load common") << "LoadCommProps"
                                 << "Load"
                                 << "読込";
    QTest::newRow("save data") << "SaveDataProps"
                               << "Save"
                               << "保存";
    QTest::newRow("load data props") << "LoadDataProps"
                                     << "Load"
                                     << "読込";
    QTest::newRow("each data") << "label_2"
                               << "Props for each DATA"
                               << "データ毎に入力が必要な属性";
    QTest::newRow("work name") << "Term01Work"
                               << "work"
                               << "work";
    QTest::newRow("file list") << "DataFiles"
                               << ""
                               << "";
}

void TestBodyLayout::englishTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, english);
    const QObject *object = named(*this->english, name);
    QVERIFY2(object, qPrintable(name));
    QCOMPARE(textOf(object), english);
}

void TestBodyLayout::japaneseTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, japanese);
    const QObject *object = named(*this->japanese, name);
    QVERIFY2(object, qPrintable(name));
    QCOMPARE(textOf(object), japanese);
}

void TestBodyLayout::cells_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("data area") << "frame00"
                               << "gridLayout" << 0 << 0;
    QTest::newRow("sheet area") << "CommonPropsFrame"
                                << "gridLayout" << 1 << 0;
    QTest::newRow("flag") << "SetCreateWorkFlag"
                          << "gridLayout_6" << 0 << 0;
    QTest::newRow("drop area") << "DataFilesDropArea"
                               << "gridLayout_6" << 0 << 3;
    QTest::newRow("width") << "ImageSizeW"
                           << "gridLayout_9" << 0 << 4;
    QTest::newRow("name box") << "Use01Work"
                              << "gridLayout_10" << 0 << 1;
    QTest::newRow("local id") << "UseWorkFolderNameAsLocalId"
                              << "gridLayout_10" << 0 << 10;
    QTest::newRow("generate") << "GenCommProps"
                              << "gridLayout_7" << 1 << 7;
    QTest::newRow("scroll area") << "CommonPropsScrollArea"
                                 << "gridLayout_5" << 2 << 0;
    QTest::newRow("row grid") << "PropListLayout"
                              << "gridLayout_4" << 0 << 0;
}

void TestBodyLayout::cells()
{
    QFETCH(QString, name);
    QFETCH(QString, layout);
    QFETCH(int, row);
    QFETCH(int, column);
    const Body &body = *english;
    auto *grid = body.findChild<QGridLayout *>(layout);
    const QObject *object = named(body, name);
    QVERIFY(grid && object);
    int index = -1;
    for (int i = 0; i < grid->count(); ++i) {
        QLayoutItem *item = grid->itemAt(i);
        if (item->widget() == object || item->layout() == object)
            index = i;
    }
    QVERIFY2(index >= 0, "not in that layout");
    int r, c, rowSpan, columnSpan;
    grid->getItemPosition(index, &r, &c, &rowSpan, &columnSpan);
    QCOMPARE(r, row);
    QCOMPARE(c, column);
    QCOMPARE(rowSpan, 1);
    QCOMPARE(columnSpan, 1);
}

void TestBodyLayout::focusOrder()
{
    // Keyboard focus follows the order in which the form creates controls.
    const QStringList expected = {"DataFilesDropArea", "LoadDataFiles",
                                  "SetCreateWorkFlag", "DataFiles",
                                  "GenWorks",          "ImageSizeW",
                                  "ImageSizeH",        "FNinWorkOrig",
                                  "FNinWorkCanon",     "Term02Date",
                                  "Use02Date",         "Use03Time",
                                  "Term01Work",        "UseWorkFolderNameAsLocalId",
                                  "Term04Branch",      "Use04Branch",
                                  "Use01Work",         "Term03Time",
                                  "GenCommProps",      "SaveCommProps",
                                  "LoadCommProps",     "SaveDataProps",
                                  "LoadDataProps"};
    const Body &body = *english;
    QStringList got;
    for (QWidget *w = body.nextInFocusChain(); w != &body; w = w->nextInFocusChain()) {
        if (expected.contains(w->objectName()))
            got << w->objectName();
    }
    QCOMPARE(got, expected);
}

void TestBodyLayout::lineEdits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("styleSheet");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("dragEnabled");

    const QString yellow = QStringLiteral("background-color: rgb(255, 255, 220);");
    const int right = int(Qt::AlignRight | Qt::AlignVCenter);
    const int leading = int(Qt::AlignLeading | Qt::AlignVCenter);
    QTest::newRow("date") << "Term02Date" << yellow << leading << false << false;
    QTest::newRow("width") << "ImageSizeW"
                           << "" << right << false << false;
    QTest::newRow("drop area") << "DataFilesDropArea"
                               << "" << leading << true << true;
}

void TestBodyLayout::lineEdits()
{
    QFETCH(QString, name);
    QFETCH(QString, styleSheet);
    QFETCH(int, alignment);
    QFETCH(bool, readOnly);
    QFETCH(bool, dragEnabled);
    auto *edit = english->findChild<QLineEdit *>(name);
    QVERIFY(edit);
    QCOMPARE(edit->styleSheet(), styleSheet);
    QCOMPARE(int(edit->alignment()), alignment);
    QCOMPARE(edit->isReadOnly(), readOnly);
    QCOMPARE(edit->dragEnabled(), dragEnabled);
}

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
    QTest::newRow("load data") << "LoadDataFiles" << 0 << "Load Data Files" << open
                               << int(QFileDialog::ExistingFiles) << "XAFS Data Files (*.dat)"
                               << "";
    QTest::newRow("save data props") << "SaveDataProps" << 1 << "Save Props of Data" << save
                                     << int(QFileDialog::AnyFile) << "Data Props File (*.csv)"
                                     << "dataProps.csv";
    QTest::newRow("load data props") << "LoadDataProps" << 2 << "Load Props of Data" << open
                                     << int(QFileDialog::ExistingFile) << "Data Props File (*.csv)"
                                     << "dataProps.csv";
    QTest::newRow("template") << "GenCommProps" << 3 << "Save Common Props Template" << save
                              << int(QFileDialog::AnyFile) << "Common Props File (*.csv)"
                              << "commProps00.csv";
    QTest::newRow("save common") << "SaveCommProps" << 4 << "Save Common Props" << save
                                 << int(QFileDialog::AnyFile) << "Common Props File (*.csv)"
                                 << "commProps.csv";
    QTest::newRow("load common") << "LoadCommProps" << 5 << "Load Common Props" << open
                                 << int(QFileDialog::ExistingFile) << "Common Props File (*.csv)"
                                 << "commProps.csv";
    QTest::newRow("works") << "GenWorks" << 6 << "Save Works" << save << int(QFileDialog::Directory)
                           << ""
                           << "works";
}

void TestBodyLayout::dialogs()
{
    QFETCH(QString, button);
    QFETCH(int, which);
    QFETCH(QString, title);
    QFETCH(int, acceptMode);
    QFETCH(int, fileMode);
    QFETCH(QString, typeFilter);
    QFETCH(QString, preselected);

    Body &body = *english;
    QFileDialog *dialog = dialogAt(body, which);
    QCOMPARE(dialog->windowTitle(), title);
    QCOMPARE(int(dialog->acceptMode()), acceptMode);
    QCOMPARE(int(dialog->fileMode()), fileMode);
    if (typeFilter.isEmpty())
        QCOMPARE(dialog->nameFilters(), QStringList() << QStringLiteral("All Files (*)"));
    else
        QCOMPARE(dialog->nameFilters(), QStringList() << typeFilter << "Any Files (*, *.*)");
    if (!preselected.isEmpty())
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), preselected);

    // The button shows its own dialog only, and the dialog stays modeless.
    QVERIFY(QMetaObject::invokeMethod(body.findChild<QPushButton *>(button), "click"));
    for (int i = 0; i < 7; ++i)
        QCOMPARE(dialogAt(body, i)->isVisible(), i == which);
    QCOMPARE(dialog->isModal(), false);
    dialog->hide();
}

void TestBodyLayout::japaneseMessages_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<int>("dialog"); // the dialog with this title, -1 for none

    QTest::newRow("load data") << "Body"
                               << "Load Data Files"
                               << "XAFS データファイル読込" << 0;
    QTest::newRow("save data props") << "Body"
                                     << "Save Props of Data"
                                     << "データ毎に入力が必要な属性一覧の保存" << 1;
    QTest::newRow("load data props") << "Body"
                                     << "Load Props of Data"
                                     << "データ毎に入力が必要な属性一覧の読込" << 2;
    QTest::newRow("template") << "Body"
                              << "Save Common Props Template"
                              << "共通属性一覧の雛形作成" << 3;
    QTest::newRow("save common") << "Body"
                                 << "Save Common Props"
                                 << "共通属性一覧の保存" << 4;
    QTest::newRow("load common") << "Body"
                                 << "Load Common Props"
                                 << "共通属性一覧の読込" << 5;
    QTest::newRow("works") << "Body"
                           << "Save Works"
                           << "Work の作成" << 6;
    QTest::newRow("flag column") << "Body"
                                 << "Gen. Work/not"
                                 << "Work生成する/しない(1/0)" << -1;
    QTest::newRow("page link") << "Body"
                               << "meta"
                               << "meta" << -1;
    QTest::newRow("comment") << "PropUI"
                             << "Comment"
                             << "コメント" << -1;
    QTest::newRow("id") << "PropUI"
                        << "ID"
                        << "ID" << -1;
    QTest::newRow("value") << "PropUI"
                           << "value"
                           << "値" << -1;
    QTest::newRow("key") << "PropUI"
                         << "ymlKey"
                         << "yaml キー" << -1;
    QTest::newRow("old value") << "PropUI"
                               << "old value"
                               << "old value" << -1;
    QTest::newRow("axis") << "QObject"
                          << "mut"
                          << "μt" << -1;
}

void TestBodyLayout::japaneseMessages()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, japanese);
    QFETCH(int, dialog);

    QCOMPARE(QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData()),
             japanese);
    if (dialog >= 0)
        QCOMPARE(dialogAt(*this->japanese, dialog)->windowTitle(), japanese);
}

QTEST_MAIN(TestBodyLayout)
#include "TestBodyLayout.moc"
