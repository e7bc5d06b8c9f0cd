#include "works/Copy.h"

#include "text/AtomicFile.h"
#include "text/TextFile.h"

#include <QFileInfo>

namespace korvane {

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
    return writeFileAtomically(target, bytes, Durability::Cached, why) ? CopyResult::Copied
                                                                       : CopyResult::Failed;
}

} // namespace korvane
