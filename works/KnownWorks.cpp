#include "works/KnownWorks.h"

#include "text/TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace korvane {

QString dataCopyName(const QString &fileBase, const QString &dataPath)
{
    const QString suffix = QFileInfo(dataPath).suffix();
    return suffix.isEmpty() ? fileBase : fileBase + QLatin1Char('.') + suffix;
}

void KnownWorks::read(const QDir &worksDirectory, const QSet<QString> &copySuffixes,
                      const QSet<QString> &copyNames)
{
    m_copies.clear();
    m_holdingCopy.clear();
    m_claimed.clear();
    m_root = worksDirectory.absolutePath();
    const QDir::Filters files = QDir::Files | QDir::Hidden | QDir::System;
    for (QDirIterator folders(m_root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
         folders.hasNext();) {
        folders.next();
        const QString folder = folders.fileName();
        // Only names are read here; a size is asked for a copy's file alone.
        for (QDirIterator it(folders.filePath(), files); it.hasNext();) {
            it.next();
            const QString name = it.fileName();
            const QString suffix = QFileInfo(name).suffix().toLower();
            if (suffix != QLatin1String("dat") && suffix != QLatin1String("qd") &&
                !copySuffixes.contains(suffix) && !copyNames.contains(name))
                continue;
            m_holdingCopy.insert(folder);
            m_copies[name].append({folder, it.fileInfo().size()});
        }
    }
    // The first of several earlier works of one scan by name, whatever order
    // the file system lists them in.
    for (QVector<Copy> &copies : m_copies)
        std::sort(copies.begin(), copies.end(),
                  [](const Copy &a, const Copy &b) { return a.folder < b.folder; });
}

QString KnownWorks::claimWork(const QString &copyName, const QString &dataPath)
{
    const auto found = m_copies.constFind(copyName);
    if (found == m_copies.constEnd())
        return QString();
    const qint64 size = QFileInfo(dataPath).size();
    QByteArray bytes;
    bool read = false;
    for (const Copy &copy : *found) {
        if (copy.size != size || m_claimed.contains(copy.folder))
            continue;
        // The data file is read only when some copy has its size.
        if (!read && !readFileBytes(dataPath, bytes))
            return QString();
        read = true;
        QByteArray old;
        const QString path = QStringLiteral("%1/%2/%3").arg(m_root, copy.folder, copyName);
        if (readFileBytes(path, old) && old == bytes) {
            m_claimed.insert(copy.folder);
            return copy.folder;
        }
    }
    return QString();
}

bool KnownWorks::isTaken(const QString &folderName) const
{
    return m_holdingCopy.contains(folderName) || m_claimed.contains(folderName);
}

void KnownWorks::claim(const QString &folderName)
{
    m_claimed.insert(folderName);
}

QMap<QString, QStringList> KnownWorks::copiesByFolder() const
{
    QMap<QString, QStringList> folders;
    for (auto it = m_copies.constBegin(); it != m_copies.constEnd(); ++it) {
        for (const Copy &copy : it.value())
            folders[copy.folder] << it.key();
    }
    for (QStringList &names : folders)
        names.sort();
    return folders;
}

} // namespace korvane
