// The data set record's own lookups.

#include "data/DataSet.h"
#include "template/Markers.h"

#include <QDebug>

#include <algorithm>

namespace korvane {

QString DataSet::metaValue(const QString &key) const
{
    const auto it = meta.constFind(key);
    if (it == meta.constEnd()) {
        qDebug() << "no key :: " << key;
        return noValueMarker;
    }
    if (it.value() == emptyValueMarker)
        return QString();
    return it.value();
}

bool DataSet::flaggedForWork() const
{
    return metaValue(QStringLiteral("SYS_001")).toInt(nullptr, 10) == 1;
}

void DataSet::setFlaggedForWork(bool flagged)
{
    meta.insert(QStringLiteral("SYS_001"), flagged ? QStringLiteral("1") : QStringLiteral("0"));
}

AbsorbanceChannels absorbanceChannels(const Header9809 &header)
{
    AbsorbanceChannels channels;
    const QVector<int> &modes = header.modes;
    channels.i0 = std::max(0, int(modes.indexOf(1)));
    // I0 may itself carry mode 2 or 3 when no channel has mode 1: its mode
    // then says nothing about the other channels.
    int firstTransmission = -1;
    for (int k = 0; k < modes.size(); ++k) {
        if (k == channels.i0)
            continue;
        if (modes.at(k) == 3)
            channels.summed.append(k);
        if (modes.at(k) == 2 && firstTransmission < 0)
            firstTransmission = k;
    }
    channels.fluorescence =
        header.scanLine.contains(QLatin1String("Fluorescence"), Qt::CaseInsensitive) ||
        (!channels.summed.isEmpty() && firstTransmission < 0);
    if (firstTransmission >= 0)
        channels.it = firstTransmission;
    else
        channels.it = channels.i0 == 0 ? 1 : 0;
    channels.count = modes.size();
    return channels;
}

ChannelRole channelRole(const AbsorbanceChannels &channels, const QVector<int> &modes, int k)
{
    if (k < 0 || k >= modes.size())
        return ChannelRole::Missing;
    if (k == channels.i0)
        return ChannelRole::I0;
    if (modes.at(k) == 3 || (channels.fluorescence && channels.summed.isEmpty()))
        return ChannelRole::Fluorescence;
    if (!channels.fluorescence && k == channels.it)
        return ChannelRole::Transmitted;
    return ChannelRole::Other;
}

} // namespace korvane
