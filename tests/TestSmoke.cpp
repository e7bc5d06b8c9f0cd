// The real executable on a real (virtual) X display: it starts, shows its
// window under the right title, opens the -d files, and ends with exit code 0
// when the window is closed the way a window manager closes it.

#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

namespace {

// The ICCCM close request (a ClientMessage of type WM_PROTOCOLS carrying
// WM_DELETE_WINDOW) is what a window manager sends when the user clicks the
// window's close button; the program then closes as it would for a person.
// There is no window manager on the virtual display, and the usual command
// line tools either destroy the window instead (which the program sees as a
// lost connection, not a close) or ask a window manager to do it, so the
// test sends the message itself. libX11 is opened at run time so that the
// test links nothing beyond Qt; the event is the ABI's XClientMessageEvent.
struct ClientMessageEvent
{
    int type;
    unsigned long serial;
    int sendEvent;
    void *display;
    unsigned long window;
    unsigned long messageType;
    int format;
    long data[5];
};
union XEventBuffer {
    ClientMessageEvent message;
    long pad[24];
};

bool sendCloseRequest(const QString &display, unsigned long window, QString *why)
{
    void *lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        *why = QString::fromLocal8Bit(dlerror());
        return false;
    }
    using OpenDisplay = void *(*)(const char *);
    using InternAtom = unsigned long (*)(void *, const char *, int);
    using SendEvent = int (*)(void *, unsigned long, int, long, XEventBuffer *);
    using Flush = int (*)(void *);
    using CloseDisplay = int (*)(void *);
    const auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(lib, "XOpenDisplay"));
    const auto internAtom = reinterpret_cast<InternAtom>(dlsym(lib, "XInternAtom"));
    const auto sendEvent = reinterpret_cast<SendEvent>(dlsym(lib, "XSendEvent"));
    const auto flush = reinterpret_cast<Flush>(dlsym(lib, "XFlush"));
    const auto closeDisplay = reinterpret_cast<CloseDisplay>(dlsym(lib, "XCloseDisplay"));
    bool sent = false;
    if (openDisplay && internAtom && sendEvent && flush && closeDisplay) {
        if (void *dpy = openDisplay(display.toLatin1().constData())) {
            XEventBuffer event = {};
            event.message.type = 33; // ClientMessage
            event.message.window = window;
            event.message.messageType = internAtom(dpy, "WM_PROTOCOLS", 0);
            event.message.format = 32;
            event.message.data[0] = long(internAtom(dpy, "WM_DELETE_WINDOW", 0));
            event.message.data[1] = 0; // CurrentTime
            sent = sendEvent(dpy, window, 0, 0, &event) != 0;
            flush(dpy);
            closeDisplay(dpy);
        }
    }
    dlclose(lib);
    if (!sent)
        *why = QStringLiteral("the close request could not be sent to %1").arg(display);
    return sent;
}

// The id of the top-level window named title, or 0 while there is none.
unsigned long windowNamed(const QString &display, const QString &title)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xwininfo"), {QStringLiteral("-name"), title});
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return 0;
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Window id: (0x[0-9a-f]+) \"(.*)\""))
            .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() && m.captured(2) == title ? m.captured(1).toULong(nullptr, 16) : 0;
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
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
        QSKIP("Xvfb or xwininfo is not installed (scripts/setup.sh installs them)");
    // The server picks a free display itself and writes its number on the
    // given descriptor once it accepts connections.
    xvfb.start(QStringLiteral("Xvfb"),
               {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("1280x1024x24")});
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
        << QStringList{"-e", "-d", "Cu_foil_K_001.dat", "-d", "CuO_K_002.dat"}
        << QStringLiteral("yml generator") << 2;
    QTest::newRow("translated, a missing file among three")
        << QStringList{"-d", "Cu2O_K_003.dat", "-d", "absent.dat", "-d", "CuSO4_sol_004.dat"}
        << QStringLiteral("korvane") << 2;
}

void TestSmoke::startShowOpenClose()
{
    QFETCH(QStringList, args);
    QFETCH(QString, title);
    QFETCH(int, opened);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QDir examples(sourcePath(QStringLiteral("examples")));
    for (const QString &f : examples.entryList(QDir::Files))
        QVERIFY(QFile::copy(examples.filePath(f), QDir(tmp.path()).filePath(f)));
    // A from_data key no data file has: every file opened says so once on
    // the debug log, which is how the test sees the -d files open.
    QString tpl = readTextFile(QDir(tmp.path()).filePath(QStringLiteral("korvane-template.yml")));
    QVERIFY(writeTextFile(QDir(tmp.path()).filePath(QStringLiteral("korvane-template.yml")),
                          tpl + QStringLiteral("probe: ZZZ_999 from_data\n")));

    QProcess korvane;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    korvane.setProcessEnvironment(env);
    korvane.setWorkingDirectory(tmp.path());
    korvane.start(QStringLiteral(KORVANE_EXECUTABLE), args);
    QVERIFY(korvane.waitForStarted());

    unsigned long window = 0;
    for (int tries = 0; tries < 300 && !window && korvane.state() == QProcess::Running; ++tries) {
        QTest::qWait(100);
        window = windowNamed(display, title);
    }
    if (!window) {
        korvane.kill();
        korvane.waitForFinished();
        QFAIL(qPrintable(QString::fromLocal8Bit(korvane.readAllStandardError())));
    }

    QString why;
    QVERIFY2(sendCloseRequest(display, window, &why), qPrintable(why));
    if (!korvane.waitForFinished(60000))
        korvane.kill();
    const QString err = QString::fromLocal8Bit(korvane.readAllStandardError());
    QVERIFY2(korvane.exitStatus() == QProcess::NormalExit && korvane.exitCode() == 0,
             qPrintable(err.right(3000)));
    QCOMPARE(err.count(QStringLiteral("No Replacement in Template \"ZZZ_999\"")), opened);
}

QTEST_GUILESS_MAIN(TestSmoke)
#include "TestSmoke.moc"
