// The real executable on a real (virtual) X display: it starts, shows its
// window under the right title, opens the -d files, and ends with exit code 0
// when the window is closed the way a window manager closes it.

#include "TestSupport.h"

#include <QStandardPaths>

#include <dlfcn.h>

namespace {

// The ICCCM close request (WM_PROTOCOLS carrying WM_DELETE_WINDOW) a window manager sends for the
// close button. There is none on the virtual display and the usual tools destroy the window
// instead, which the program sees as a lost connection, so the test sends it through libX11 opened
// at run time; the event is the ABI's XClientMessageEvent.
struct ClientMessageEvent
{
    int type;
    unsigned long serial;
    int sendEvent;
    void *display;
    unsigned long window, messageType;
    int format;
    long data[5];
    long pad[12]; // the rest of an XEvent
};

bool sendCloseRequest(const QString &display, unsigned long window)
{
    void *lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!lib)
        return false;
    const auto openDisplay = reinterpret_cast<void *(*)(const char *)>(dlsym(lib, "XOpenDisplay"));
    const auto atom =
        reinterpret_cast<unsigned long (*)(void *, const char *, int)>(dlsym(lib, "XInternAtom"));
    const auto send = reinterpret_cast<int (*)(void *, unsigned long, int, long, void *)>(
        dlsym(lib, "XSendEvent"));
    const auto flush = reinterpret_cast<int (*)(void *)>(dlsym(lib, "XFlush"));
    const auto closeDisplay = reinterpret_cast<int (*)(void *)>(dlsym(lib, "XCloseDisplay"));
    bool sent = false;
    void *dpy = openDisplay ? openDisplay(display.toLatin1().constData()) : nullptr;
    if (dpy && atom && send && flush && closeDisplay) {
        ClientMessageEvent event = {};
        event.type = 33; // ClientMessage
        event.window = window;
        event.messageType = atom(dpy, "WM_PROTOCOLS", 0);
        event.format = 32;
        event.data[0] = long(atom(dpy, "WM_DELETE_WINDOW", 0)); // data[1] 0: CurrentTime
        sent = send(dpy, window, 0, 0, &event) != 0;
        flush(dpy);
        closeDisplay(dpy);
    }
    dlclose(lib);
    return sent;
}

// The id of the top-level window named title, or 0 while there is none. Qt's 1 x 1 leader window
// is named after the program whatever the language, so only a window of some size counts.
unsigned long windowNamed(const QString &display, const QString &title)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    p.setProcessEnvironment(env);
    p.start("xwininfo", {"-root", "-children"});
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return 0;
    QRegularExpressionMatchIterator windows =
        QRegularExpression("(0x[0-9a-f]+) \"(.*)\": \\(.*\\)  (\\d+)x(\\d+)")
            .globalMatch(QString::fromUtf8(p.readAllStandardOutput()));
    while (windows.hasNext()) {
        const QRegularExpressionMatch m = windows.next();
        if (m.captured(2) == title && m.captured(3).toInt() > 1 && m.captured(4).toInt() > 1)
            return m.captured(1).toULong(nullptr, 16);
    }
    return 0;
}

} // namespace

class TestSmoke : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void startShowOpenClose_data();
    void startShowOpenClose();

private:
    QProcess xvfb;
    QString display;
};

void TestSmoke::initTestCase()
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("xwininfo").isEmpty())
        QSKIP("Xvfb or xwininfo is not installed (scripts/setup.sh installs them)");
    // The server picks a free display itself and writes its number on the
    // given descriptor once it accepts connections.
    xvfb.start("Xvfb", words("-displayfd 1 -nolisten tcp -screen 0 1280x1024x24"));
    QVERIFY(xvfb.waitForStarted());
    while (!xvfb.canReadLine() && xvfb.waitForReadyRead(30000)) {
    }
    const QString number = QString::fromLatin1(xvfb.readLine()).trimmed();
    QVERIFY2(!number.isEmpty(), qPrintable(QString::fromLocal8Bit(xvfb.readAllStandardError())));
    display = QLatin1Char(':') + number;
}

void TestSmoke::cleanupTestCase()
{
    if (xvfb.state() != QProcess::NotRunning) {
        xvfb.terminate();
        xvfb.waitForFinished();
    }
}

void TestSmoke::startShowOpenClose_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("opened");

    QTest::newRow("English, two files")
        << words("-e -d Cu_foil_K_001.dat -d CuO_K_002.dat") << "yml generator" << 2;
    QTest::newRow("translated, a missing file among three")
        << words("-d Cu2O_K_003.dat -d absent.dat -d CuSO4_sol_004.dat") << "korvane" << 2;
}

void TestSmoke::startShowOpenClose()
{
    QFETCH(QStringList, args);
    QFETCH(QString, title);
    QFETCH(int, opened);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(!copyFiles(sourcePath("examples"), tmp.path()).isEmpty());
    // A from_data key no data file has: every file opened says so once on
    // the debug log, which is how the test sees the -d files open.
    const QString tpl = tmp.filePath("korvane-template.yml");
    QVERIFY(writeTextFile(tpl, readTextFile(tpl) + "probe: ZZZ_999 from_data\n"));

    QProcess korvane;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    // korvane paints with the raster engine only. Otherwise Qt's X11 plugin loads the machine's GL
    // driver just to choose the window's visual and unloads it when the display closes, before the
    // sanitizer's exit check, so whatever the driver keeps is reported from a module that is gone.
    env.insert("QT_XCB_GL_INTEGRATION", "none");
    korvane.setProcessEnvironment(env);
    korvane.setWorkingDirectory(tmp.path());
    korvane.start(KORVANE_EXECUTABLE, args);
    QVERIFY(korvane.waitForStarted());

    unsigned long window = 0;
    for (int tries = 0; tries < 300 && !window && korvane.state() == QProcess::Running; ++tries) {
        QTest::qWait(100);
        window = windowNamed(display, title);
    }
    QVERIFY2(window && sendCloseRequest(display, window), "no window to close");
    if (!korvane.waitForFinished(60000))
        korvane.kill();
    const QString err = QString::fromLocal8Bit(korvane.readAllStandardError());
    QVERIFY2(korvane.exitStatus() == QProcess::NormalExit && korvane.exitCode() == 0,
             qPrintable(err.right(3000)));
    QCOMPARE(err.count("No Replacement in Template \"ZZZ_999\""), opened);
}

QTEST_GUILESS_MAIN(TestSmoke)
#include "TestSmoke.moc"
