#include "works/Copy.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const qint64 chunkSize = 64 * 1024;

} // namespace

bool sameContents(const QString &pathA, const QString &pathB)
{
    QFile a(pathA);
    QFile b(pathB);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    if (a.size() != b.size())
        return false;
    while (!a.atEnd()) {
        const QByteArray chunkA = a.read(chunkSize);
        const QByteArray chunkB = b.read(chunkSize);
        if (chunkA.isEmpty() || chunkA != chunkB)
            return false;
    }
    return b.atEnd();
}

CopyResult copyIfChanged(const QString &source, const QString &target, QString *why)
{
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists() || sourceInfo.isDir())
        return CopyResult::NoSource;
    if (QFileInfo::exists(target) && sameContents(source, target))
        return CopyResult::Kept;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (why)
            *why = in.errorString();
        return CopyResult::Failed;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        if (why)
            *why = out.errorString();
        return CopyResult::Failed;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty() && !in.atEnd()) {
            if (why)
                *why = in.errorString();
            return CopyResult::Failed; // out is discarded uncommitted
        }
        if (out.write(chunk) != chunk.size()) {
            if (why)
                *why = out.errorString();
            return CopyResult::Failed;
        }
    }
    if (!out.commit()) {
        if (why)
            *why = out.errorString();
        return CopyResult::Failed;
    }
    return CopyResult::Copied;
}
