// The real window driven as a person drives it: buttons clicked, names typed into the file dialogs,
// files dropped, controls set, a property edited; what the status line says after each step, and
// the works that come out checked file by file.

#include "app/Startup.h"
#include "props/PropUi.h"
#include "ui/ScanList.h"
#include "works/Thumbnail.h"

#include "TestSupport.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QClipboard>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>

#include <functional>
#include <utility>

namespace {

QFileDialog *shownFileDialog()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QFileDialog *>(w); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Replaces the text of edit by typing, or a path by pasting it, then presses
// Enter. A completion list that opened meanwhile would take the Enter for
// itself, as it does for a person, who closes it first.
void typeAndEnter(QLineEdit *edit, const QString &text)
{
    // A person types into the field that has the focus; a file dialog copies
    // its list's selection over the text of a field that has not.
    QApplication::setActiveWindow(edit->window());
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (QDir::isAbsolutePath(text)) {
        // A file dialog selects in its list each start of a typed path that names something ("/",
        // "/tmp") and unselects it at the next key. Keys sent with no pause between them can leave
        // a parent selected (it depends on which folders the dialog has listed so far), and Enter
        // opens that parent; a pasted path is a single edit.
        QApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(edit, text);
    }
    if (QCompleter *completer = edit->completer(); completer && completer->popup()->isVisible())
        completer->popup()->hide();
    QTest::keyClick(edit, Qt::Key_Return);
}

// Clicks button, goes to folder in the dialog it opens, types the names
// there and accepts them. False when no dialog opened, when the dialog does not belong to the
// button's window (a click on the window would send it behind), or when it did not close.
bool chooseThrough(QPushButton *button, const QString &folder, const QString &names)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QFileDialog *dialog = shownFileDialog();
    if (!dialog || !dialog->windowHandle() ||
        dialog->windowHandle()->transientParent() != button->window()->windowHandle())
        return false;
    auto *edit = dialog->findChild<QLineEdit *>("fileNameEdit");
    if (!edit)
        return false;
    if (dialog->fileMode() != QFileDialog::Directory) {
        typeAndEnter(edit, folder); // a folder name opens the folder
        if (QDir(dialog->directory()).canonicalPath() != QDir(folder).canonicalPath())
            return false;
    }
    typeAndEnter(edit, names);
    return !dialog->isVisible();
}

// Drags mime onto area and drops it there; false when the drag was refused.
bool dropOn(QWidget *area, QMimeData &mime)
{
    QDragEnterEvent enter(area->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(area, &enter);
    QDropEvent drop(area->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(area, &drop);
    return enter.isAccepted();
}

// Closes the message box a dialog is about to show and keeps its text, so
// that an unexpected box cannot hang the test.
void closeNextBox(QString *text)
{
    QTimer::singleShot(0, [text] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            *text = box->findChild<QLabel *>("qt_msgbox_label")->text();
            box->close();
        }
    });
}

// Each painting of the progress bar ("done/to do") and of the status line (its text), marked when a
// file dialog was still up; duringPass runs at the bar's first painting.
class PaintLog : public QObject
{
public:
    PaintLog(QProgressBar *bar, QLabel *status) : bar(bar), status(status)
    {
        bar->installEventFilter(this);
        status->installEventFilter(this);
    }
    QStringList bars, lines;
    std::function<void()> duringPass;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        const QString dialog = shownFileDialog() ? " (dialog shown)" : "";
        if (watched == status)
            lines << status->text() + dialog;
        else
            bars << QString("%1/%2").arg(bar->value()).arg(bar->maximum()) + dialog;
        if (watched == bar && duringPass)
            std::exchange(duringPass, nullptr)();
        return false;
    }

private:
    QProgressBar *bar;
    QLabel *status;
};

// A copy of the examples in dir, and the window's settings pointing into it, in English.
bool startInExamples(const QDir &dir)
{
    if (copyFiles(sourcePath("examples"), dir.path()).isEmpty())
        return false;
    setAppArgs({"-e", "-t", dir.filePath("korvane-template.yml"), "-p",
                dir.filePath("commProps.csv"), "-wd", dir.filePath("works")});
    return true;
}

} // namespace

class TestWindowEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void session();
    void scanList();
};

void TestWindowEndToEnd::session()
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(startInExamples(dir));

    // Started as with -d naming a file that is no data file.
    Body body;
    body.showOnScreen();
    body.openData(dir.filePath("korvane-template.yml"));
    QVERIFY(QTest::qWaitForWindowExposed(&body));
    // On a screen smaller than 1604 x 954 (the offscreen one is 800 x 600), as high as it at most
    // and no wider than the layout needs (967 pixels).
    const QRect screen = body.screen()->availableGeometry();
    QVERIFY(body.frameGeometry().height() <= screen.height());
    QVERIFY(body.width() <= std::max(screen.width(), body.minimumSizeHint().width() + 8));
    QLabel *status = body.statusText;
    const int commonRows = readTextFile(dir.filePath("commProps.csv")).count('\n');
    QTRY_VERIFY2(status->text().startsWith(
                     QString("Template %1 read; common properties %2, rows: %3; Data files "
                             "opened: 0 — korvane-template.yml: line 1")
                         .arg(dir.filePath("korvane-template.yml"), dir.filePath("commProps.csv"))
                         .arg(commonRows)),
                 qPrintable(status->text()));

    // Three files through the dialog and one that is no data file, then two dropped without a work
    // of their own and links that name no local file: a web page's, another machine's. A
    // drive-letter path loses the slash its URL puts before it; an open file under another name is
    // not opened again; the area itself takes nothing in.
    QVERIFY(chooseThrough(body.ui.LoadDataFiles, tmp.path(),
                          "\"Cu_foil_K_001.dat\" \"config.cfg\" \"CuO_K_002.dat\" "
                          "\"Cu2O_K_003.dat\""));
    QTRY_VERIFY2(status->text().startsWith("Data files opened: 3 — config.cfg: line 1"),
                 qPrintable(status->text()));
    QVERIFY(status->toolTip().startsWith("config.cfg: line 1"));
    body.ui.SetCreateWorkFlag->setChecked(false);
    QMimeData mime;
    const QString web = "https://example.org/Cu_foil_K_005.dat";
    const QString server = "file://server" + QUrl::fromLocalFile(dir.filePath("x.dat")).path();
    mime.setUrls({QUrl::fromLocalFile(dir.filePath("CuSO4_sol_004.dat")), QUrl(web), QUrl(server),
                  QUrl("file:///C:/dir/a.dat"),
                  QUrl::fromLocalFile(dir.filePath("Cu_foil_K_005.dat")),
                  QUrl::fromLocalFile(dir.filePath("link.dat"))});
    QVERIFY(QFile::link(dir.filePath("CuO_K_002.dat"), dir.filePath("link.dat")));
    mime.setText("inserted");
    DropArea *area = body.ui.DataFilesDropArea;
    const QString label = area->text();
    QSignalSpy named(area, &DropArea::dropped);
    QVERIFY(dropOn(area, mime));
    QCOMPARE(named.size(), 6);
    QCOMPARE(named[3][0].toString(), "C:/dir/a.dat");
    QCOMPARE(area->text(), label);
    QCOMPARE(body.ui.DataFiles->itemText(4), "Cu_foil_K_005.dat");
    const QString refused = web + ": not a local file\n" + server +
                            ": not a local file\na.dat: cannot open the file: No such file or "
                            "directory\nlink.dat: already open";
    QTRY_COMPARE(status->text(),
                 "Data files opened: 2 — 4 problems, the first: " + web + ": not a local file");
    QCOMPARE(status->toolTip(), refused);

    // A common property typed anew.
    const auto project = std::find_if(body.propRows.begin(), body.propRows.end(), [](PropUi *row) {
        return row->idLabel()->text() == "INFO_001";
    });
    QVERIFY(project != body.propRows.end());
    QTest::keyClick((*project)->valueEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks((*project)->valueEdit(), "Night run 7");
    typeAndEnter(body.ui.ImageSizeW, "300");
    typeAndEnter(body.ui.ImageSizeH, "200");

    // Data properties out, one flag switched off in the file, and back in.
    QVERIFY(chooseThrough(body.ui.SaveDataProps, tmp.path(), "night.csv"));
    QCOMPARE(status->text(), "Data properties saved to " + dir.filePath("night.csv") + ", rows: 5");
    QString props = readTextFile(dir.filePath("night.csv"));
    QVERIFY2(props.contains("\nCu2O_K_003.dat,\"1\","), qPrintable(props));
    props.replace("\nCu2O_K_003.dat,\"1\",", "\nCu2O_K_003.dat,\"0\",");
    QVERIFY(writeTextFile(dir.filePath("night.csv"), props));
    QVERIFY(chooseThrough(body.ui.LoadDataProps, tmp.path(), "night.csv"));
    QCOMPARE(status->text(),
             "Data properties loaded from " + dir.filePath("night.csv") + ", rows: 5");

    // The common properties out, as a template and as they stand, and a file that is not there.
    QVERIFY(chooseThrough(body.ui.GenCommProps, tmp.path(), "blank.csv"));
    QCOMPARE(status->text(), QString("Common-properties template saved to %1, rows: %2")
                                 .arg(dir.filePath("blank.csv"))
                                 .arg(readTextFile(dir.filePath("blank.csv")).count('\n')));
    QVERIFY(chooseThrough(body.ui.SaveCommProps, tmp.path(), "common.csv"));
    QCOMPARE(status->text(), QString("Common properties saved to %1, rows: %2")
                                 .arg(dir.filePath("common.csv"))
                                 .arg(commonRows));
    body.loadCommProps(dir.filePath("absent.csv"));
    QCOMPARE(status->text(), "Common properties not loaded — cannot read " +
                                 dir.filePath("absent.csv") + ": No such file or directory");

    // The folder offered at first does not exist yet and is chosen as it stands.
    QTest::mouseClick(body.ui.GenWorks, Qt::LeftButton);
    auto *choose =
        body.saveWorksDialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save);
    QVERIFY(choose->isEnabled());
    QString refusal;
    closeNextBox(&refusal);
    QTest::mouseClick(choose, Qt::LeftButton);
    QCOMPARE(refusal, QString());
    QVERIFY(!body.saveWorksDialog.isVisible());
    QTRY_COMPARE(status->text(), "Works made in " + dir.filePath("works") + ": 2 of 2");

    // A folder below one that does not exist is refused by the dialog; a new
    // one typed below an existing folder is made.
    QTest::mouseClick(body.ui.GenWorks, Qt::LeftButton);
    closeNextBox(&refusal);
    typeAndEnter(body.saveWorksDialog.findChild<QLineEdit *>("fileNameEdit"),
                 dir.filePath("no/out"));
    QVERIFY2(refusal.contains("Directory not found"), qPrintable(refusal));
    QVERIFY(!choose->isEnabled());
    QVERIFY(body.saveWorksDialog.isVisible() && !dir.exists("no"));
    body.saveWorksDialog.hide();

    QVERIFY(chooseThrough(body.ui.GenWorks, tmp.path(), dir.filePath("out")));
    QTRY_COMPARE(status->text(), "Works made in " + dir.filePath("out") + ": 2 of 2");
    const QDir out(dir.filePath("out"));
    QStringList copied;
    for (const QString &work : out.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir w(out.filePath(work));
        const QStringList data = w.entryList({"*.dat"}, QDir::Files);
        QCOMPARE(data.size(), 1);
        copied << data.first();
        QCOMPARE(readBytes(w.filePath(data.first())), readBytes(dir.filePath(data.first())));
        const QString yml = readTextFile(w.filePath("metadata.yml"));
        QVERIFY2(yml.contains(QRegularExpression("\n +project: +Night run 7\n")), qPrintable(yml));
        QVERIFY2(yml.contains(QRegularExpression("\n +local_id: +" + work + "\n")),
                 qPrintable(yml));
        const QString base = QFileInfo(data.first()).completeBaseName();
        QCOMPARE(QImage(w.filePath(base + ".png")).size(), QSize(300, 200));
    }
    QCOMPARE(copied, QStringList({"Cu_foil_K_001.dat", "CuO_K_002.dat"}));

    // Again without a folder: the same one, names ticked otherwise, a page of
    // this pass's works only.
    body.ui.Term01Work->setText("again");
    body.ui.Use02Date->setChecked(false);
    body.ui.Use03Time->setChecked(false);
    body.ui.Use04Branch->setChecked(false);
    body.ui.FNinWorkCanon->setChecked(true);
    body.genWorks();
    QCOMPARE(status->text(), "Works made in " + dir.filePath("out") + ": 2 of 2");
    QCOMPARE(out.entryList({"again*"}, QDir::Dirs), QStringList({"again-0001", "again-0002"}));
    QVERIFY(QFileInfo(out.filePath("again-0002/CuO_K_002-R26B-BLC2-20261130.dat")).isFile());
    // Every link of the page leads to a file of the works.
    const QString page = readTextFile(out.filePath("index.html"));
    QRegularExpressionMatchIterator links =
        QRegularExpression("(?:href|src)=\"([^\"]+)\"").globalMatch(page);
    QStringList linked;
    while (links.hasNext()) {
        linked << links.next().captured(1);
        QVERIFY2(QFileInfo(out.filePath(linked.last())).isFile(), qPrintable(linked.last()));
    }
    QCOMPARE(linked.size(), 10);
    QVERIFY(linked.contains(".//again-0001//Cu_foil_K_001-R26B-BLC2-20261130.png"));

    // A pass of 52 works: the window shows its progress while it runs.
    body.ui.SetCreateWorkFlag->setChecked(true);
    QVERIFY(dir.mkdir("many"));
    QStringList many;
    for (int i = 0; i < 50; ++i) {
        many << dir.filePath(QString("many/Cu_foil_%1.dat").arg(i, 2, 10, QChar('0')));
        QVERIFY(QFile::copy(dir.filePath("Cu_foil_K_001.dat"), many.last()));
    }
    body.openDatas(many);
    QVERIFY(QFile::remove(many[7])); // its work fails: 51 of 52 made
    PaintLog log(body.passProgress, status);
    // Files dropped meanwhile are refused: the pass reads the data sets; a
    // click meanwhile does nothing, then or later, nor one still queued when the pass ends.
    log.duringPass = [&] {
        QTimer::singleShot(0, [&] {
            dropOn(area, mime);
            QTest::mouseClick(body.ui.LoadDataFiles, Qt::LeftButton);
        });
    };
    const auto queueClicks = [&] {
        for (const QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                body.ui.LoadDataFiles,
                new QMouseEvent(t, QPointF(4, 4), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    };
    const QMetaObject::Connection clicking =
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] {
            if (body.passProgress->isVisible())
                queueClicks();
        });
    QVERIFY(chooseThrough(body.ui.GenWorks, tmp.path(), out.path()));
    QTRY_VERIFY(status->text().startsWith("Works made in " + out.path() + ": 51 of 52"));
    disconnect(clicking);
    QVERIFY(!body.passProgress->isVisible());
    QVERIFY(!shownFileDialog());
    QCOMPARE(status->text(), "Works made in " + out.path() +
                                 ": 51 of 52; Data files opened: 0 — 7 problems, the first: " +
                                 many[7] + ": the data file is missing");
    QVERIFY(status->toolTip().contains(
        "\nCuSO4_sol_004.dat: works are being made; open it again when they are done\n"));
    QCOMPARE(body.dataSets.size(), 55);
    const QString making = "Making works in " + out.path() + " ...";
    QVERIFY2(log.lines.contains(making), qPrintable(log.lines.join('\n')));
    int done = 0;
    for (const QString &paint : qAsConst(log.bars)) {
        const int nowDone = paint.section('/', 0, 0).toInt();
        QVERIFY2(nowDone >= done && paint.endsWith("/52"), qPrintable(log.bars.join('\n')));
        done = nowDone;
    }

    // Closed and opened again: each dialog in the folder it was last used in.
    body.close();
    setAppArgs({"-e", "-dp", dir.filePath("many/dp.csv")}); // would start in many/
    Body again;
    again.showOnScreen();
    QCOMPARE(again.saveDataPropsDialog.directory(), QDir(tmp.path()));
    again.close();

    // The same window in Japanese, from the translation built into the
    // program, Qt's own texts in its file dialogs included.
    initKorvaneResources();
    QTranslator translator, qtTranslator;
    setAppArgs({"-t", dir.filePath("none.yml"), "-p", dir.filePath("none.csv")});
    QVERIFY(installTranslation(*qApp, translator, qtTranslator));
    Body japanese;
    QCOMPARE(japanese.ui.DataFilesDropArea->text(), "XAFSデータファイルドロップ");
    QCOMPARE(japanese.saveDataPropsDialog.windowTitle(), "データ毎に入力が"
                                                         "必要な属性一覧の保存");
    // Names without a dot are files too.
    const QStringList filters = japanese.loadDataFilesDialog.nameFilters();
    QCOMPARE(filters, QStringList({"XAFS データファイル (*.dat *.qd)", filters.value(1)}));
    QCOMPARE(filters.value(1), "すべてのファイル (*)");
    QCOMPARE(japanese.saveWorksDialog.findChild<QLabel *>("fileNameLabel")->text(),
             "ディレクトリ:");
    const QString start = "テンプレートなし: Work のメタデータは空になります"
                          " — 問題 2 件、最初の問題: テンプレート %1 "
                          "を読み込めません: No such file or directory";
    QCOMPARE(japanese.statusText->text(), start.arg(dir.filePath("none.yml")));
    // The reasons too.
    japanese.openData(dir.filePath("config.cfg"));
    QTRY_VERIFY2(japanese.statusText->toolTip().contains(
                     "config.cfg: 1 行目: 最初の項目が \"9809\" ではありません"),
                 qPrintable(japanese.statusText->toolTip()));
}

// The list of opened files: what it says of each, its preview, its flags, taking files off it.
void TestWindowEndToEnd::scanList()
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(startInExamples(dir));
    Body body;
    body.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&body));
    body.openDatas({dir.filePath("Cu_foil_K_001.dat"), dir.filePath("Cu_sulfate_fl_006.dat"),
                    dir.filePath("CuO_K_002.dat"), dir.filePath("Cu_foil_quick_007.qd")});
    QTRY_COMPARE(body.statusText->text(), "Data files opened: 4");
    QTableView *list = body.scanList;
    const QAbstractItemModel *model = list->model();
    QCOMPARE(model->rowCount(), 4);
    QStringList row;
    for (int column = 0; column < model->columnCount(); ++column)
        row << model->index(1, column).data().toString();
    QCOMPARE(row, QStringList({"", "Cu_sulfate_fl_006.dat", "CuSO4 1mM aq", "2026-12-01 13:05:31",
                               "fluorescence", "517", "8700.0 - 9697.0 eV"}));
    QCOMPARE(model->index(3, ScanListModel::Kind).data().toString(), "transmission");

    // The first file is shown at once; the one chosen in the list is shown, in the combo box too,
    // drawn as its thumbnail is at that size.
    QCOMPARE(body.scanPreview->dataSet(), body.dataSets[0]);
    list->setCurrentIndex(model->index(1, ScanListModel::Sample));
    QCOMPARE(body.ui.DataFiles->currentText(), "Cu_sulfate_fl_006.dat");
    const QRect square = body.scanPreview->pictureRect();
    QVERIFY(square.width() >= 100 && square.width() == square.height());
    const QImage shown = body.scanPreview->grab().toImage().copy(square);
    QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
             drawThumbnail(square.size(), *body.dataSets[1]).convertToFormat(QImage::Format_RGB32));
    body.ui.DataFiles->setCurrentIndex(3);
    QCOMPARE(list->currentIndex().row(), 3);
    QCOMPARE(body.scanPreview->dataSet(), body.dataSets[3]);

    // CuO's flag cleared with a click on its check box; the first file taken off the list.
    const QRect flag = list->visualRect(model->index(2, ScanListModel::Flag));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, flag.topLeft() + QPoint(10, 9));
    QCOMPARE(model->index(2, ScanListModel::Flag).data(Qt::CheckStateRole).toInt(), 0);
    QCOMPARE(body.dataSets[2]->metaValue("SYS_001"), "0");
    list->selectRow(0);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(body.statusText->text(), "Removed from the list: Cu_foil_K_001.dat");
    QCOMPARE(body.ui.DataFiles->count(), 3);
    QCOMPARE(body.ui.DataFiles->itemText(0), "Cu_sulfate_fl_006.dat");
    QVERIFY(body.scanPreview->dataSet() != nullptr);

    // A file dropped on a field of the sheet opens; the field takes nothing in.
    QLineEdit *field = body.propRows[1]->valueEdit();
    const QString typed = field->text();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dir.filePath("CuSO4_sol_004.dat"))});
    mime.setText("inserted");
    QVERIFY(dropOn(field, mime));
    QCOMPARE(field->text(), typed);
    QTRY_COMPARE(body.statusText->text(), "Data files opened: 1");
    QCOMPARE(model->rowCount(), 4);
    // Tab goes from value to value, past the grey field of the row.
    QApplication::setActiveWindow(&body);
    body.propRows[0]->valueEdit()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), body.propRows[0]->valueEdit());
    QTest::keyClick(body.propRows[0]->valueEdit(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), body.propRows[1]->valueEdit());

    // The works are those of the flags: neither CuO nor the file taken off.
    body.genWorks(dir.filePath("works"));
    QCOMPARE(body.statusText->text(), "Works made in " + dir.filePath("works") + ": 3 of 3");
    QStringList made;
    for (const QFileInfo &work : QDir(dir.filePath("works")).entryInfoList({"*-000?"}, QDir::Dirs))
        made << QDir(work.filePath()).entryList({"*.dat", "*.qd"}, QDir::Files);
    QCOMPARE(made,
             QStringList({"Cu_sulfate_fl_006.dat", "Cu_foil_quick_007.qd", "CuSO4_sol_004.dat"}));
    // The page of the pass is a click away; Save Works offers the same folder again.
    QVERIFY(body.indexLink->isVisible());
    QStringList pages;
    QRegularExpressionMatchIterator hrefs =
        QRegularExpression("href=\"([^\"]+)\"").globalMatch(body.indexLink->text());
    while (hrefs.hasNext())
        pages << QUrl(hrefs.next().captured(1)).toLocalFile();
    QCOMPARE(pages,
             QStringList({dir.filePath("works/index.html"), dir.filePath("works/catalogue.html")}));
    QCOMPARE(body.saveWorksDialog.selectedFiles(), QStringList(dir.filePath("works")));

    // Every file dialog belongs to the window: a click on the window never sends one behind it.
    const QList<QFileDialog *> dialogs = body.findChildren<QFileDialog *>();
    QCOMPARE(dialogs.size(), 7);
    for (QFileDialog *dialog : dialogs) {
        dialog->show();
        QCOMPARE(dialog->windowHandle()->transientParent(), body.windowHandle());
        dialog->hide();
    }

    // Its name typed, the completion list comes up and Enter takes it: no list is left over the
    // window after the pass.
    QTest::mouseClick(body.ui.GenWorks, Qt::LeftButton);
    auto *edit = body.saveWorksDialog.findChild<QLineEdit *>("fileNameEdit");
    QApplication::setActiveWindow(&body.saveWorksDialog);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "work");
    QTRY_VERIFY(edit->completer()->popup()->isVisible());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    QTRY_COMPARE(body.statusText->text(), "Works made in " + dir.filePath("works") + ": 3 of 3");
    QVERIFY(!body.saveWorksDialog.isVisible());
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

QTEST_MAIN(TestWindowEndToEnd)
#include "TestWindowEndToEnd.moc"
