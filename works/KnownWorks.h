#pragma once
// The works a works folder already holds, read once at the start of a pass:
// which folders hold a data copy and under which name, so that a scan's
// earlier work is found again and no folder ever receives a second scan.

#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class QDir;

namespace korvane {

// The name of a scan's copy in its work: the work's file base and the data
// file's own last suffix (Cu_foil_quick_007.qd stays a .qd).
QString dataCopyName(const QString &fileBase, const QString &dataPath);

class KnownWorks
{
public:
    // Lists the folders of worksDirectory. A data copy is a file whose suffix
    // is dat or qd in any case, one of copySuffixes, or whose name is one of
    // copyNames (a data file without a suffix).
    void read(const QDir &worksDirectory, const QSet<QString> &copySuffixes,
              const QSet<QString> &copyNames);
    // The folder, not yet claimed, holding a copy named copyName with the
    // bytes of the file at dataPath; "" when there is none. The folder is
    // claimed by the caller's work from then on.
    QString claimWork(const QString &copyName, const QString &dataPath);
    // Whether a new work must pass over folderName: it holds a data copy (its
    // scan's or another's), or a work of this pass has it.
    bool isTaken(const QString &folderName) const;
    void claim(const QString &folderName);
    // Every folder holding a data copy, by name, with its copies' names in
    // order.
    QMap<QString, QStringList> copiesByFolder() const;

private:
    struct Copy
    {
        QString folder;
        qint64 size = 0;
    };
    QHash<QString, QVector<Copy>> m_copies; // by copy name
    QSet<QString> m_holdingCopy;            // folder names
    QSet<QString> m_claimed;
    QString m_root;
};

} // namespace korvane
