// The data set record's own lookups.

#include "data/DataSet.h"

#include <QDebug>

#include <algorithm>

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

AbsorbanceChannels absorbanceChannels(const Header9809 &header)
{
    AbsorbanceChannels channels;
    const QVector<int> &modes = header.modes;
    channels.i0 = std::max(0, int(modes.indexOf(1)));
    for (int k = 0; k < modes.size(); ++k)
        if (modes.at(k) == 3)
            channels.summed.append(k);
    const int firstTransmission = int(modes.indexOf(2));
    channels.fluorescence =
        header.scanLine.contains(QLatin1String("Fluorescence"), Qt::CaseInsensitive) ||
        (!channels.summed.isEmpty() && firstTransmission < 0);
    if (firstTransmission >= 0)
        channels.it = firstTransmission;
    else
        channels.it = channels.i0 == 0 ? 1 : 0;
    return channels;
}
