// The real window driven as a person drives it: buttons clicked, names typed
// into the file dialogs, files dropped, a property edited, and the works that
// come out checked file by file.

#include "app/ArgList.h"
#include "props/PropUi.h"
#include "ui/Body.h"

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
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
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
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
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
    QVERIFY(tmp.isValid());
    const QDir dir(tmp.path());
    const QDir examples(sourcePath(QStringLiteral("examples")));
    for (const QString &f : examples.entryList(QDir::Files))
        QVERIFY(QFile::copy(examples.filePath(f), dir.filePath(f)));
    QVERIFY(dir.mkdir(QStringLiteral("out")));

    QByteArrayList words = {
        "korvane", "-e",
        "-t",      dir.filePath(QStringLiteral("korvane-template.yml")).toUtf8(),
        "-p",      dir.filePath(QStringLiteral("commProps.csv")).toUtf8()};
    QVector<char *> argv;
    for (QByteArray &w : words)
        argv << w.data();
    appArgs = ArgList();
    appArgs.parse(argv.size(), argv.data());

    Body body;
    body.show();
    QVERIFY(QTest::qWaitForWindowExposed(&body));

    // Three files through the dialog, two dropped.
    QVERIFY(chooseThrough(body.ui.LoadDataFiles, tmp.path(),
                          QStringLiteral("\"Cu_foil_K_001.dat\" \"CuO_K_002.dat\" "
                                         "\"Cu2O_K_003.dat\"")));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dir.filePath(QStringLiteral("CuSO4_sol_004.dat"))),
                  QUrl::fromLocalFile(dir.filePath(QStringLiteral("Cu_foil_K_005.dat")))});
    DropArea *area = body.ui.DataFilesDropArea;
    const QPoint inside = area->rect().center();
    QDragEnterEvent enter(inside, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(inside, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &drop);
    QStringList listed;
    for (int i = 0; i < body.ui.DataFiles->count(); ++i)
        listed << body.ui.DataFiles->itemText(i);
    QCOMPARE(listed, QStringList({"Cu_foil_K_001.dat", "CuO_K_002.dat", "Cu2O_K_003.dat",
                                  "CuSO4_sol_004.dat", "Cu_foil_K_005.dat"}));

    // A common property typed anew shows pink.
    PropUi *project = nullptr;
    for (PropUi *row : qAsConst(body.propRows)) {
        if (row->idLabel()->text() == QLatin1String("INFO_001"))
            project = row;
    }
    QVERIFY(project);
    const QRgb pink = qRgb(255, 192, 192);
    QVERIFY(middleRightPixel(project->valueEdit()) != pink);
    QTest::keyClick(project->valueEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(project->valueEdit(), QStringLiteral("Night run 7"));
    QCOMPARE(middleRightPixel(project->valueEdit()), pink);

    QTest::keyClick(body.ui.ImageSizeW, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(body.ui.ImageSizeW, QStringLiteral("300"));
    QTest::keyClick(body.ui.ImageSizeH, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(body.ui.ImageSizeH, QStringLiteral("200"));

    // Data properties out, one flag switched off in the file, and back in.
    QVERIFY(chooseThrough(body.ui.SaveDataProps, tmp.path(), QStringLiteral("night.csv")));
    QString props = readTextFile(dir.filePath(QStringLiteral("night.csv")));
    QVERIFY2(props.contains(QStringLiteral("\nCu2O_K_003.dat,\"1\",")), qPrintable(props));
    props.replace(QStringLiteral("\nCu2O_K_003.dat,\"1\","),
                  QStringLiteral("\nCu2O_K_003.dat,\"0\","));
    QVERIFY(writeTextFile(dir.filePath(QStringLiteral("night.csv")), props));
    QVERIFY(chooseThrough(body.ui.LoadDataProps, tmp.path(), QStringLiteral("night.csv")));

    QVERIFY(chooseThrough(body.ui.GenWorks, tmp.path(), dir.filePath(QStringLiteral("out"))));

    const QDir out(dir.filePath(QStringLiteral("out")));
    const QStringList works = out.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const QString page = readTextFile(out.filePath(QStringLiteral("index.html")));
    QStringList copied;
    for (const QString &work : works) {
        const QDir w(out.filePath(work));
        const QStringList data = w.entryList({QStringLiteral("*.dat")}, QDir::Files);
        QCOMPARE(data.size(), 1);
        copied << data.first();
        const QString base = QFileInfo(data.first()).completeBaseName();
        QCOMPARE(readBytes(w.filePath(data.first())), readBytes(dir.filePath(data.first())));
        const QString yml = readTextFile(w.filePath(QStringLiteral("metadata.yml")));
        QVERIFY2(yml.contains(QRegularExpression(QStringLiteral("\n +project: +Night run 7\n"))),
                 qPrintable(yml));
        QVERIFY2(yml.contains(QRegularExpression(QStringLiteral("\n +local_id: +%1\n").arg(work))),
                 qPrintable(yml));
        const QImage picture(w.filePath(base + QStringLiteral(".png")));
        QCOMPARE(picture.size(), QSize(300, 200));
        const QString img = QStringLiteral("<img src=\"[./]*%1/+%2\\.png\"").arg(work, base);
        QVERIFY2(page.contains(QRegularExpression(img)), qPrintable(page));
    }
    // Every link of the page leads to a file of the works.
    QRegularExpressionMatchIterator links =
        QRegularExpression(QStringLiteral("(?:href|src)=\"([^\"]+)\"")).globalMatch(page);
    int linkCount = 0;
    for (; links.hasNext(); ++linkCount) {
        const QString link = links.next().captured(1);
        QVERIFY2(QFileInfo(out.filePath(link)).isFile(), qPrintable(link));
    }
    QCOMPARE(linkCount, 5 * works.size());
    QCOMPARE(copied, QStringList({"Cu_foil_K_001.dat", "CuO_K_002.dat", "CuSO4_sol_004.dat",
                                  "Cu_foil_K_005.dat"}));
}

QTEST_MAIN(TestWindowEndToEnd)
#include "TestWindowEndToEnd.moc"
