// The window on a laptop's screen, a real (virtual) X display of 1280 x 720 or 1366 x 768: every
// button, field and the status line inside the screen and not hidden, in English and in Japanese.

#include "app/Startup.h"
#include "ui/ScanList.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QScreen>
#include <QSplitter>
#include <QTableView>

#include <cstdlib>

namespace {

// The X server of the test, started before the application connects: it picks a free display
// itself and writes its number on the given descriptor once it accepts connections.
QProcess *startServer(const QString &size)
{
    auto *xvfb = new QProcess;
    xvfb->start("Xvfb", words("-displayfd 1 -nolisten tcp -screen 0 " + size + "x24"));
    while (xvfb->waitForStarted() && !xvfb->canReadLine() && xvfb->waitForReadyRead(30000)) {
    }
    const QByteArray number = xvfb->readLine().trimmed();
    if (number.isEmpty())
        qFatal("Xvfb did not start: %s", xvfb->readAllStandardError().constData());
    qputenv("DISPLAY", ":" + number);
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_XCB_GL_INTEGRATION", "none"); // raster only, as in TestSmoke
    return xvfb;
}

// What a user cannot reach: each control of the window that lies outside the screen or is cut
// off by what holds it, by its object name or text.
QStringList outOfReach(const QWidget &window, const QRect &screen)
{
    QStringList out;
    QList<QWidget *> controls;
    for (QWidget *w : window.findChildren<QWidget *>())
        if (w->window() == &window && w->isVisible() &&
            (qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) ||
             qobject_cast<QTableView *>(w) || w->objectName() == "StatusText" ||
             (qobject_cast<QLineEdit *>(w) && !w->parentWidget()->inherits("QScrollArea") &&
              w->objectName() != "Value" && w->objectName() != "OldValue")))
            controls << w;
    for (const QWidget *w : qAsConst(controls)) {
        const QRect global(w->mapToGlobal(QPoint()), w->size());
        if (!screen.contains(global) || w->visibleRegion().boundingRect() != w->rect())
            out << (w->objectName().isEmpty() ? w->property("text").toString() : w->objectName());
    }
    return out;
}

} // namespace

class TestWindowScreens : public QObject
{
    Q_OBJECT
private slots:
    void insideTheScreen_data();
    void insideTheScreen();
    void restart();
};

void TestWindowScreens::insideTheScreen_data()
{
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<QByteArray>("settings"); // the window's settings file; "big": left by a
                                              // window of 1604 x 954 on a big screen
    QTest::newRow("English") << false << QByteArray();
    QTest::newRow("Japanese") << true << QByteArray();
    QTest::newRow("left by a big screen") << false << QByteArray("big");
    QTest::newRow("damaged settings")
        << true << QByteArray("[General]\ngeometry=@ByteArray(\\x1\\xd9\\xd0)\nsplitter=7\n");
}

void TestWindowScreens::insideTheScreen()
{
    QFETCH(bool, japanese);
    QFETCH(QByteArray, settings);
    const QScreen *screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->size(), QSize(qEnvironmentVariableIntValue("KORVANE_SCREEN_W"),
                                   qEnvironmentVariableIntValue("KORVANE_SCREEN_H")));
    QTemporaryDir tmp;
    QVERIFY(!copyFiles(sourcePath("examples"), tmp.path()).isEmpty());
    QStringList args = {"-t", tmp.filePath("korvane-template.yml"), "-p",
                        tmp.filePath("commProps.csv")};
    if (!japanese)
        args.prepend("-e");
    QTranslator translator, qtTranslator;
    initKorvaneResources();
    setAppArgs(args);
    QVERIFY(installTranslation(*qApp, translator, qtTranslator) == japanese);
    const QString settingsFile = qEnvironmentVariable("XDG_CONFIG_HOME") + "/korvane/window.ini";
    QVERIFY(QDir().mkpath(QFileInfo(settingsFile).path()));
    QFile::remove(settingsFile);
    if (settings == "big") {
        Body big;
        big.setGeometry(300, 200, 1604, 954);
        big.show();
        QVERIFY(QTest::qWaitForWindowExposed(&big));
        big.close();
    } else if (!settings.isEmpty()) {
        QVERIFY(writeTextFile(settingsFile, settings));
    }
    Body body;
    body.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&body));
    body.openDatas({tmp.filePath("Cu_foil_K_001.dat"), tmp.filePath("Cu_sulfate_fl_006.dat")});
    QTRY_VERIFY(body.statusText->text().contains("2"));
    QCOMPARE(body.scanList->model()->rowCount(), 2);
    const QRect area = screen->availableGeometry();
    QVERIFY2(area.contains(body.frameGeometry()),
             qPrintable(QString("%1x%2").arg(body.width()).arg(body.height())));
    const QStringList out = outOfReach(body, area);
    QVERIFY2(out.isEmpty(), qPrintable(out.join(", ")));
    // The sheet and the list keep room to work in.
    QVERIFY(body.ui.CommonPropsScrollArea->height() >= 60);
    QVERIFY(body.scanList->height() >= 80);
    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::removeTranslator(&qtTranslator);
}

// Closed and opened again: the same size, the same share of the list and the sheet, the same
// column widths.
void TestWindowScreens::restart()
{
    setAppArgs({"-e"});
    QList<int> shared;
    QSize size;
    {
        Body body;
        body.showOnScreen();
        QVERIFY(QTest::qWaitForWindowExposed(&body));
        body.resize(1100, 640);
        QTRY_COMPARE(body.size(), QSize(1100, 640));
        const QList<int> before = body.splitter->sizes();
        body.splitter->setSizes({before[0] - 30, before[1] + 30});
        shared = body.splitter->sizes();
        QVERIFY(shared != before);
        body.scanList->setColumnWidth(ScanListModel::Sample, 333);
        size = body.size();
        body.close();
    }
    Body again;
    again.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(again.size(), size);
    QCOMPARE(again.splitter->sizes(), shared);
    QCOMPARE(again.scanList->columnWidth(ScanListModel::Sample), 333);
}

int main(int argc, char *argv[])
{
    const QByteArray size = qgetenv("KORVANE_SCREEN_W") + "x" + qgetenv("KORVANE_SCREEN_H");
    std::unique_ptr<QProcess> xvfb(startServer(QString::fromLatin1(size)));
    int status = 0;
    {
        QApplication app(argc, argv);
        TestWindowScreens test;
        status = QTest::qExec(&test, argc, argv);
    }
    xvfb->terminate();
    xvfb->waitForFinished();
    return status;
}

#include "TestWindowScreens.moc"
