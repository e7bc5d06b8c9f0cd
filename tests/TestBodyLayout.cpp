// The main window in Japanese, from the translation built into the program,
// and Qt's own texts in its file dialogs.

#include "app/Startup.h"

#include "TestSupport.h"

class TestBodyLayout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void translations_data();
    void translations();

private:
    QTemporaryDir dir;
    QTranslator translator;
    QTranslator qtTranslator;
    std::unique_ptr<Body> body;
};

namespace {

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
    QVERIFY(QDir::setCurrent(dir.path()));
    // From the resource built into the program, not from a file.
    initKorvaneResources();
    setAppArgs({"-e"});
    QVERIFY(!installTranslation(*qApp, translator, qtTranslator));
    QCOMPARE(QFileDialog::tr("Directory:"), "Directory:");
    setAppArgs({});
    QVERIFY(installTranslation(*qApp, translator, qtTranslator));
    body = makeBody();
}

void TestBodyLayout::translations_data()
{
    // A widget of the window, a dialog's number, or that and a widget of the dialog.
    QTest::addColumn<QString>("shownBy");
    QTest::addColumn<QString>("japanese");

    using S = QString;
    QTest::newRow("drop area") << S("DataFilesDropArea")
                               << "XAFSデータ"
                                  "ファイルドロップ";
    QTest::newRow("dialog title") << S("1")
                                  << "データ毎に入力が"
                                     "必要な属性一覧の保存";
    QTest::newRow("Qt's own text in a dialog") << S("6 fileNameLabel") << "ディレクトリ:";
    // Started in an empty folder: neither the template nor the common properties.
    const QString start = "テンプレートなし: Work のメタデータは"
                          "空になります — 問題 2 件、最初の問題: "
                          "テンプレート %1/korvane-template.yml "
                          "を読み込めません: No such file or directory";
    QTest::newRow("status line") << S("StatusText") << start.arg(dir.path());
}

void TestBodyLayout::translations()
{
    QFETCH(QString, shownBy);
    const QStringList dialogPart = shownBy.split(' ');
    QFileDialog *dialog = dialogAt(*body, dialogPart.first().toInt());
    const QObject *shown = dialogPart.size() == 2 ? dialog->findChild<QObject *>(dialogPart.last())
                                                  : body->findChild<QObject *>(shownBy);
    QTEST(shown ? shown->property("text").toString() : dialog->windowTitle(), "japanese");
}

QTEST_MAIN(TestBodyLayout)
#include "TestBodyLayout.moc"
