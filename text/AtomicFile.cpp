#include "text/AtomicFile.h"

#include "text/Why.h"

#include <QFileInfo>
#include <QTextStream>
#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(KORVANE_PORTABLE)
#define KORVANE_POSIX_WRITE 1
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace korvane {

namespace {

// Links passed before a chain counts as a loop; the system gives up after 40
// too.
constexpr int maxLinks = 40;

// The file at the end of path's chain of symbolic links (path itself when it
// is none), whether or not that file exists.
bool chainEnd(const QString &path, QString &end, QString *why)
{
    QFileInfo info(path);
    for (int links = 0; info.isSymLink(); ++links) {
        if (links == maxLinks) {
            setWhy(why, reason("%1 leads round a loop of symbolic links").arg(path));
            return false;
        }
        info.setFile(info.symLinkTarget());
    }
    end = info.filePath();
    return true;
}

#ifdef KORVANE_POSIX_WRITE

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A new file beside finalPath, renamed over it: rename(2) replaces the
// target in one step, where QFile::rename refuses an existing one.
bool replaceFile(const QString &finalPath, const QByteArray &bytes, Durability durability,
                 QString *why)
{
    const QFileInfo finalInfo(finalPath);
    // A new name in the same folder, so that the rename never crosses file
    // systems; NewOnly never reuses another writer's file.
    QFile temp;
    for (int attempt = 0; attempt < 16 && !temp.isOpen(); ++attempt) {
        temp.setFileName(
            QStringLiteral("%1.%2.tmp")
                .arg(finalPath, QString::number(QRandomGenerator::global()->generate(), 36)));
        // Unbuffered: the bytes go to the file in one write, not through a
        // buffer first.
        if (!temp.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) &&
            !QFileInfo::exists(temp.fileName()))
            break; // not a clash of names: another name would fail alike
    }
    if (!temp.isOpen()) {
        setWhy(why, temp.errorString());
        return false;
    }
    const auto discard = [&temp, why](const QString &reason) {
        setWhy(why, reason);
        // Closed first: QFile::remove keeps a file whose close fails.
        temp.close();
        QFile::remove(temp.fileName());
        return false;
    };
    if (temp.write(bytes) != bytes.size())
        return discard(temp.errorString());
    if (durability == Durability::Synced && ::fsync(temp.handle()) != 0)
        return discard(errnoText());
    temp.close();
    if (temp.error() != QFileDevice::NoError)
        return discard(temp.errorString());
    if (finalInfo.exists())
        temp.setPermissions(finalInfo.permissions());
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(finalPath).constData()) != 0)
        return discard(
            reason("cannot rename %1 to %2: %3").arg(temp.fileName(), finalPath, errnoText()));
    return true;
}

#else

// QSaveFile does the same where rename(2) is not at hand. It forces every
// file to disk, so work files cost more time here than on the path above,
// but are no less safe.
bool replaceFile(const QString &finalPath, const QByteArray &bytes, Durability, QString *why)
{
    QSaveFile file(finalPath);
    // Unbuffered: a failed write is seen by the write itself, so that commit
    // discards the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        setWhy(why, file.errorString());
        return false;
    }
    return true;
}

#endif

} // namespace

// Why work files are not forced to disk: a work's files are all made again
// from the scans by the next pass, and forcing each to disk cost more than
// drawing the work's picture. What must hold is that a failed or interrupted
// write never leaves a truncated file in place of the earlier one, and the
// rename gives that: after a crash of the program the target is the old file
// or the whole new one. Only a crash of the machine itself within the
// kernel's writeback delay could leave the new name with missing bytes, and
// then the pass is simply run again. Settings and properties, which nothing
// regenerates, are synced.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, Durability durability,
                         QString *why)
{
    QString finalPath;
    if (!chainEnd(path, finalPath, why))
        return false;
    const QFileInfo finalInfo(finalPath);
    if (finalInfo.isDir()) {
        setWhy(why, reason("%1 is a folder").arg(path));
        return false;
    }
    if (finalInfo.exists() && !finalInfo.isWritable()) {
        setWhy(why, reason("%1 is not writable").arg(path));
        return false;
    }
    return replaceFile(finalPath, bytes, durability, why);
}

QByteArray textFileBytes(const QString &text)
{
    QByteArray bytes;
    QTextStream out(&bytes, QIODevice::WriteOnly | QIODevice::Text);
    out << text;
    out.flush();
    return bytes;
}

} // namespace korvane
