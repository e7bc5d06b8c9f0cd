#pragma once
// The entries of a data file's companion info file, one per line, in file
// order: a name, the first item of what follows its colon, and all of it.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace korvane {

struct InfoEntry
{
    QString name, value, text;
};

class InfoEntries
{
public:
    void add(const QString &name, const QString &value, const QString &text);
    bool has(const QString &name) const;
    // The text of the last entry of exactly this name; def when there is none.
    QString textOf(const QString &name, const QString &def = QString()) const;
    // The texts of every entry of exactly this name, in file order.
    QStringList textsOf(const QString &name) const;
    const QVector<InfoEntry> &entries() const { return m_entries; }
    int size() const { return m_entries.size(); }

private:
    QVector<InfoEntry> m_entries;
    QHash<QString, int> m_last; // name -> its last entry
};

} // namespace korvane
