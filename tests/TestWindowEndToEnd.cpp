// The real window driven as a person drives it: buttons clicked, names typed
// into the file dialogs, files dropped, controls set, a property edited, and
// the works that come out checked file by file.

#include "props/PropUi.h"

#include "TestSupport.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QFileDialog *shownFileDialog()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QFileDialog *>(w); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Replaces the text of edit by typing, then presses Enter. A completion list
// that opened while typing would take the Enter for itself, as it does for a
// person, who closes it first.
void typeAndEnter(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
    if (QCompleter *completer = edit->completer(); completer && completer->popup()->isVisible())
        completer->popup()->hide();
    QTest::keyClick(edit, Qt::Key_Return);
}

// Clicks button, goes to folder in the dialog it opens, types the names
// there and accepts them. False when no dialog opened or it did not close.
bool chooseThrough(QPushButton *button, const QString &folder, const QString &names)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QFileDialog *dialog = shownFileDialog();
    if (!dialog)
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

QRgb middleRightPixel(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    return image.pixel(image.width() - 4, image.height() / 2);
}

} // namespace

class TestWindowEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void session();
};

void TestWindowEndToEnd::session()
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(!copyFiles(sourcePath("examples"), tmp.path()).isEmpty());
    QVERIFY(dir.mkdir("out"));
    setAppArgs(
        {"-e", "-t", dir.filePath("korvane-template.yml"), "-p", dir.filePath("commProps.csv")});

    Body body;
    body.show();
    QVERIFY(QTest::qWaitForWindowExposed(&body));

    // Three files through the dialog, two dropped without a work of their own.
    QVERIFY(chooseThrough(body.ui.LoadDataFiles, tmp.path(),
                          "\"Cu_foil_K_001.dat\" \"CuO_K_002.dat\" \"Cu2O_K_003.dat\""));
    body.ui.SetCreateWorkFlag->setChecked(false);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dir.filePath("CuSO4_sol_004.dat")),
                  QUrl::fromLocalFile(dir.filePath("Cu_foil_K_005.dat"))});
    DropArea *area = body.ui.DataFilesDropArea;
    QDragEnterEvent enter(area->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(area, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(area->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(area, &drop);
    QCOMPARE(body.ui.DataFiles->itemText(4), "Cu_foil_K_005.dat");

    // A common property typed anew shows pink.
    PropUi *project = nullptr;
    for (PropUi *row : qAsConst(body.propRows)) {
        if (row->idLabel()->text() == "INFO_001")
            project = row;
    }
    QVERIFY(project);
    const QRgb pink = qRgb(255, 192, 192);
    QVERIFY(middleRightPixel(project->valueEdit()) != pink);
    QTest::keyClick(project->valueEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(project->valueEdit(), "Night run 7");
    QCOMPARE(middleRightPixel(project->valueEdit()), pink);
    typeAndEnter(body.ui.ImageSizeW, "300");
    typeAndEnter(body.ui.ImageSizeH, "200");

    // Data properties out, one flag switched off in the file, and back in.
    QVERIFY(chooseThrough(body.ui.SaveDataProps, tmp.path(), "night.csv"));
    QString props = readTextFile(dir.filePath("night.csv"));
    QVERIFY2(props.contains("\nCu2O_K_003.dat,\"1\","), qPrintable(props));
    props.replace("\nCu2O_K_003.dat,\"1\",", "\nCu2O_K_003.dat,\"0\",");
    QVERIFY(writeTextFile(dir.filePath("night.csv"), props));
    QVERIFY(chooseThrough(body.ui.LoadDataProps, tmp.path(), "night.csv"));

    QVERIFY(chooseThrough(body.ui.GenWorks, tmp.path(), dir.filePath("out")));
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
}

QTEST_MAIN(TestWindowEndToEnd)
#include "TestWindowEndToEnd.moc"
