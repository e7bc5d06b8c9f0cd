#include "works/Copy.h"

#include "text/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

void setWhy(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

} // namespace

// Why no fsync: a work's files (data and info copies, metadata.yml) are all
// made again from the scans by the next pass, and forcing each to disk cost
// more than drawing the work's picture. What must hold is that a
// failed or interrupted write never leaves a truncated file in place of the
// earlier one, and the rename gives that: after a crash of the program the
// target is the old file or the whole new one. Only a crash of the machine
// itself within the kernel's writeback delay could leave the new name with
// missing bytes, and then the pass is simply run again. Settings and
// properties, which nothing regenerates, keep QSaveFile and its fsync.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *why)
{
    const QFileInfo target(path);
    if (target.isDir()) {
        setWhy(why, QStringLiteral("%1 is a folder").arg(path));
        return false;
    }
    // A symbolic link is followed, as QSaveFile follows it, so the link stays.
    const QString finalPath = target.isSymLink() ? target.symLinkTarget() : path;
    const QFileInfo finalInfo(finalPath);
    const bool replacing = finalInfo.exists();
    if (replacing && !finalInfo.isWritable()) {
        setWhy(why, QStringLiteral("%1 is not writable").arg(path));
        return false;
    }
    // A new name in the same folder, so that the rename never crosses file
    // systems; NewOnly never reuses another writer's file.
    QFile temp;
    for (int attempt = 0; attempt < 16 && !temp.isOpen(); ++attempt) {
        temp.setFileName(
            QStringLiteral("%1.%2.tmp")
                .arg(finalPath, QString::number(QRandomGenerator::global()->generate(), 36)));
        if (!temp.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
            !QFileInfo::exists(temp.fileName()))
            break; // not a clash of names: another name would fail alike
    }
    if (!temp.isOpen()) {
        setWhy(why, temp.errorString());
        return false;
    }
    const auto discard = [&temp, why](const QString &reason) {
        setWhy(why, reason);
        temp.remove();
        return false;
    };
    if (temp.write(bytes) != bytes.size() || !temp.flush())
        return discard(temp.errorString());
    temp.close();
    if (temp.error() != QFileDevice::NoError)
        return discard(temp.errorString());
    if (replacing)
        temp.setPermissions(finalInfo.permissions());
    // rename(2) replaces the target in one step; QFile::rename refuses an
    // existing target.
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(finalPath).constData()) != 0)
        return discard(
            QStringLiteral("cannot rename %1 to %2: %3")
                .arg(temp.fileName(), finalPath, QString::fromLocal8Bit(std::strerror(errno))));
    return true;
}

CopyResult copyIfChanged(const QString &source, const QString &target, QString *why)
{
    // A pipe or a device beside a scan is no file to copy: the readers skip
    // it too, and reading a pipe nobody writes to would wait for ever.
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile())
        return CopyResult::NoSource;
    // The source is read once, for the comparison and the copy alike.
    QByteArray bytes;
    if (!readFileBytes(source, bytes, why))
        return CopyResult::Failed;
    const QFileInfo targetInfo(target);
    QByteArray old;
    if (targetInfo.isFile() && targetInfo.size() == bytes.size() && readFileBytes(target, old) &&
        old == bytes)
        return CopyResult::Kept;
    return writeFileAtomically(target, bytes, why) ? CopyResult::Copied : CopyResult::Failed;
}
