// The data set record's own lookups.

#include "data/DataSet.h"

#include <QDebug>

QString DataSet::metaValue(const QString &key) const
{
    const auto it = meta.constFind(key);
    if (it == meta.constEnd()) {
        qDebug() << "no key :: " << key;
        return QStringLiteral("--");
    }
    if (it.value() == QLatin1String("--NO_VALUE--"))
        return QString();
    return it.value();
}
