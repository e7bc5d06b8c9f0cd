#pragma once
// Small helpers and fixtures shared by the tests, and the headers every test uses.

#include "data/DataSet.h"
#include "settings/ArgList.h"
#include "template/MetaTemplate.h"
#include "ui/Body.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <memory>

using namespace korvane;

// Qt's file dialogs keep their history in the user's configuration folder.
// A test's dialogs, and every korvane a test starts, keep it in a folder of
// the test's own instead, which goes when the test ends.
inline const struct TestConfigHome
{
    QTemporaryDir dir;
    TestConfigHome() { qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }
} testConfigHome;

inline QString testDataPath(const QString &name)
{
    return QStringLiteral(KORVANE_TEST_DATA "/") + name;
}

inline QString sourcePath(const QString &name)
{
    return QStringLiteral(KORVANE_SOURCE_DIR "/") + name;
}

inline bool writeTextFile(const QString &path, const QString &text)
{
    QFile f(path);
    const QByteArray bytes = text.toUtf8();
    return f.open(QIODevice::WriteOnly | QIODevice::Text) && f.write(bytes) == bytes.size();
}

inline QString readTextFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(f.readAll()) : "";
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every entry of the store in arrival order, as "name|value|text".
inline QStringList argEntries(const ArgList &args)
{
    QStringList out;
    QHash<QString, int> seen;
    for (const QString &name : args.arrivalNames()) {
        const int n = seen[name]++;
        out << name + '|' + args.valuesOf(name).at(n) + '|' + args.textsOf(name).at(n);
    }
    return out;
}

// Numbers as text, joined by commas.
template <typename T> QString joined(const QVector<T> &numbers)
{
    QStringList texts;
    for (const T n : numbers)
        texts << QString::number(n);
    return texts.join(',');
}

// A valid 9809 file, line by line: `blocks` scan-block rows, then the Mode and
// Offset lines at 12 + blocks and 13 + blocks, then two data lines (15 and 30
// degrees). Tests replace or drop single lines of it.
inline QStringList lines9809(int blocks = 3)
{
    QStringList lines{
        QStringLiteral("   9809     LAB7        BLC2"),
        QStringLiteral("Cu foil          98.10.10 11:50:00 - 98.10.10 12:30:15.250"),
        QStringLiteral("  room temperature, transmission"),
        QStringLiteral(" Ring :  2.50 GeV  450.2 mA -  441.0 mA"),
        QStringLiteral(" Mono :  Si(111)  D=  3.13551 A  Initial angle=  16.50000 deg"),
        QStringLiteral(" Repetition=    2     Points=   4"),
        QStringLiteral(" Block =    %1").arg(blocks),
        QStringLiteral(" Block      Init-Eng   Final-Eng  Step/eV   Time/s  Num"),
        QStringLiteral(" Axis       Angle-ENG  Time/s"),
    };
    for (int b = 1; b <= blocks; ++b)
        lines << QString::asprintf("    %d   %d  %d  -0.005   1.00   300", b, 17 - b, 16 - b);
    lines << QStringLiteral(" Column   Angle(c)  Angle(o)  Time/s  I0  I1  I2")
          << QStringLiteral(" ------") << QStringLiteral("      Mode     CH  :     1     2     3")
          << QStringLiteral("    Offset     CH  :   12.5   10.25   8.0")
          << QStringLiteral("  15.00000  15.00000   1.00  120000  80000  50000")
          << QStringLiteral("  30.00000  30.00000   1.00  1000  100  50");
    return lines;
}

inline QString text9809(const QStringList &lines)
{
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

inline bool read9809Lines(DataSet &ds, const QStringList &lines, QString *why = nullptr)
{
    QString text = text9809(lines);
    QTextStream in(&text, QIODevice::ReadOnly);
    return ds.read9809(in, why);
}

inline void loadTemplateText(MetaTemplate &tpl, QString text)
{
    QTextStream in(&text, QIODevice::ReadOnly);
    tpl.load(in);
}

// appArgs as a command line of these words would fill it.
inline void setAppArgs(const QStringList &words)
{
    appArgs = ArgList();
    QList<QByteArray> bytes{QByteArrayLiteral("korvane")};
    for (const QString &w : words)
        bytes << w.toUtf8();
    QVector<char *> argv;
    for (QByteArray &b : bytes)
        argv << b.data();
    appArgs.parse(argv.size(), argv.data());
}

// A window built from these command-line words (settings read at construction).
inline std::unique_ptr<Body> makeBody(const QStringList &words = {})
{
    setAppArgs(words);
    return std::make_unique<Body>();
}

// Collects every debug line written while it lives.
struct DebugCapture
{
    static inline QStringList lines;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &line) { lines << line; });
    DebugCapture() { lines.clear(); }
    ~DebugCapture() { qInstallMessageHandler(previous); }
};

// A command line written as one string of words split at spaces.
inline QStringList words(const QString &line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Copies every file of the folder from into the folder to; their names in
// order, or none when a copy failed.
inline QStringList copyFiles(const QString &from, const QString &to)
{
    const QStringList names = QDir(from).entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (!QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)))
            return {};
    }
    return names;
}

struct KorvaneRun
{
    int exitCode = -1; // -2: killed by a signal
    QString out, err;
};

// The korvane executable run in dir with neither a display, a platform nor a login session's
// runtime folder, as a script or cron job runs it. A file-size limit in KiB makes every write past
// it fail with EFBIG, as a full disk would; the trap keeps SIGXFSZ from killing korvane first (an
// ignored signal stays ignored across exec).
inline KorvaneRun runKorvane(const QString &dir, const QStringList &args,
                             const QString &limitKiB = QString())
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    // A temporary folder nobody can write in, root included: korvane writes each file beside its
    // target, since a rename from another file system would fail.
    env.insert("TMPDIR", "/proc");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    const QString limit = QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"");
    if (limitKiB.isEmpty())
        p.start(QStringLiteral(KORVANE_EXECUTABLE), args);
    else
        p.start(QStringLiteral("bash"), QStringList{QStringLiteral("-c"), limit.arg(limitKiB),
                                                    QStringLiteral(KORVANE_EXECUTABLE)} +
                                            args);
    KorvaneRun r;
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// How far the spectrum curve (the pixels of its colour) rises from its left
// tenth to its right tenth, in pixels: the mean row of the one less that of
// the other. Negative for a falling curve; 0 without one.
inline double curveRise(const QImage &picture)
{
    const QRgb curve = qRgb(128, 128, 232);
    QRect box;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == curve)
                box |= QRect(x, y, 1, 1);
    double sum[2] = {0, 0};
    int count[2] = {0, 0};
    const int tenth = box.width() / 10;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const int side = x <= box.left() + tenth ? 0 : x >= box.right() - tenth ? 1 : -1;
            if (side >= 0 && picture.pixel(x, y) == curve) {
                sum[side] += y;
                ++count[side];
            }
        }
    }
    return count[0] && count[1] ? sum[0] / count[0] - sum[1] / count[1] : 0;
}
