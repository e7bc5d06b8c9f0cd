#include "data/InfoEntries.h"

namespace korvane {

void InfoEntries::add(const QString &name, const QString &value, const QString &text)
{
    m_last.insert(name, m_entries.size());
    m_entries.append({name, value, text});
}

bool InfoEntries::has(const QString &name) const
{
    return m_last.contains(name);
}

QString InfoEntries::textOf(const QString &name, const QString &def) const
{
    const auto found = m_last.constFind(name);
    return found == m_last.constEnd() ? def : m_entries.at(*found).text;
}

QStringList InfoEntries::textsOf(const QString &name) const
{
    QStringList texts;
    for (const InfoEntry &entry : m_entries)
        if (entry.name == name)
            texts << entry.text;
    return texts;
}

} // namespace korvane
