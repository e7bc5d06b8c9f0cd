// The catalogue of metadata values a data file supplies by itself: header
// values, fixed descriptions of the 9809 columns and the thumbnail, info-file
// values, detector-range powers and the per-block keys of the scan table.

#include "data/DataSet.h"
#include "template/Markers.h"
#include "text/DateTime.h"
#include "text/LineItems.h"

#include <QHash>

#include <cmath>
#include <utility>

namespace korvane {

namespace {

const QString &noValue = noValueMarker;

// Where the value of a key comes from.
enum class Source
{
    Fixed, // the same for every 9809 file: the entry's text
    StartDateTime,
    Beamline,
    RingItem2,
    RingItem5,
    BaseName,
    Suffix,
    Format,
    LineCount,
    MeasurementType,
    CrystalName,
    CrystalIndex,
    DSpacing,
    DSpacingUnit,
    I0Range8,
    I0Range1,
    I1Range8,
    I1Range1,
    I2Range8,
    I2Range1,
    InfoStart,
    InfoEnd,
    BlockCount,
    PointCount,
    Column // one field of a detector channel's column
};

struct Entry
{
    Source source = Source::Fixed;
    QString text;
    int channel = 0; // of a Column: the channel, in Mode-line order ...
    int field = 0;   // ... and which of its six keys
};

// Every key but the block keys, found with one lookup: a record asks for
// each of a template's from_data keys once per file.
const QHash<QString, Entry> &catalogue()
{
    static const QHash<QString, Entry> table = [] {
        const std::pair<const char *, const char *> fixed[] = {
            {"FILE_005", "deg"},        {"FILE_006", "deg"},
            {"FILE_007", "raw"},        {"FILE_008", "Uncalibrated"},
            {"FILE_009", "obs_deg"},    {"FILE_010", "deg"},
            {"FILE_011", "raw"},        {"FILE_012", "Uncalibrated"},
            {"FILE_013", "dwell"},      {"FILE_014", "sec"},
            {"FILE_015", "raw"},        {"FILE_016", "Uncalibrated"},
            {"FILE_0261", "thumbnail"}, {"FILE_027", "png"},
            {"FILE_028", "image/png"},  {"INST_501", "0"},
            {"INST_502", "deg"},        {"INST_503", "1200"},
            {"INST_504", "lines/mm"},   {"INST_505", "20"},
            {"INST_506", "um"},
        };
        QHash<QString, Entry> t;
        for (const auto &key : fixed)
            t.insert(QString::fromLatin1(key.first),
                     {Source::Fixed, QString::fromLatin1(key.second)});
        const std::pair<const char *, Source> computed[] = {
            {"INFO_011", Source::StartDateTime},   {"INFO_012", Source::StartDateTime},
            {"FACI_002", Source::Beamline},        {"FACI_007", Source::RingItem2},
            {"FACI_009", Source::RingItem5},       {"FILE_001", Source::BaseName},
            {"FILE_026", Source::BaseName},        {"FILE_002", Source::Suffix},
            {"FILE_003", Source::Format},          {"FILE_004", Source::LineCount},
            {"INST_006", Source::MeasurementType}, {"INST_007", Source::CrystalName},
            {"INST_008", Source::CrystalIndex},    {"INST_009", Source::DSpacing},
            {"INST_010", Source::DSpacingUnit},    {"MEAS_003", Source::I0Range8},
            {"MEAS_017", Source::I0Range1},        {"MEAS_044", Source::I1Range8},
            {"MEAS_050", Source::I1Range1},        {"MEAS_077", Source::I2Range8},
            {"MEAS_083", Source::I2Range1},        {"MEAS_099", Source::InfoStart},
            {"MEAS_100", Source::InfoEnd},         {"MEAS_112", Source::BlockCount},
            {"MEAS_200", Source::PointCount}};
        for (const auto &key : computed)
            t.insert(QString::fromLatin1(key.first), {key.second, QString()});
        // Data columns 4 to 6 are channels 0 to 2: name, unit, kind,
        // processing, mode and label of each.
        const char *columns[3][6] = {
            {"FILE_017", "FILE_018", "FILE_019", "FILE_0191", "FILE_0192", "FILE_0193"},
            {"FILE_020", "FILE_021", "FILE_022", "FILE_0221", "FILE_0222", "FILE_0223"},
            {"FILE_023", "FILE_024", "FILE_025", "FILE_0251", "FILE_0252", "FILE_0253"}};
        for (int channel = 0; channel < 3; ++channel)
            for (int field = 0; field < 6; ++field)
                t.insert(QString::fromLatin1(columns[channel][field]),
                         {Source::Column, QString(), channel, field});
        for (const char *key :
             {"INST_016", "INST_025", "INST_034", "INST_042", "INST_044", "INST_050", "INST_052",
              "INST_058", "INST_060", "INST_066", "INST_068", "MEAS_037", "MEAS_038", "MEAS_039",
              "MEAS_040", "MEAS_041", "MEAS_070", "MEAS_071", "MEAS_072", "MEAS_073", "MEAS_074"})
            t.insert(QString::fromLatin1(key), {Source::Fixed, noValue});
        return t;
    }();
    return table;
}

// Some beamlines are known in the metadata under a longer name.
QString beamlineName(const QString &beamline)
{
    if (beamline == QLatin1String("BLC2"))
        return QStringLiteral("BLC2B");
    return beamline;
}

// 10^(offset - range) of a detector; its range scales the recorded counts.
QString detectorPower(const InfoEntries &info, const QString &detector, int offset)
{
    return QString::number(std::pow(10.0, offset - detectorRange(info, detector)), 'g', 6);
}

// One of the six keys describing a channel's column. The names follow the
// channel's part in the absorbance; a channel the file lacks has none.
QString columnValue(const Header9809 &header, int channel, int field)
{
    const AbsorbanceChannels channels = absorbanceChannels(header);
    const ChannelRole role = channelRole(channels, header.modes, channel);
    switch (role == ChannelRole::Missing ? -1 : field) {
    case -1:
        return noValue;
    case 1:
        return QStringLiteral("count");
    case 2:
        return QStringLiteral("processed");
    case 3:
        return QStringLiteral("Offset subtracted");
    case 4:
        return role == ChannelRole::Fluorescence || channels.fluorescence
                   ? QStringLiteral("fluorescence")
                   : QStringLiteral("transmission");
    default: // 0 the name, 5 the label
        switch (role) {
        case ChannelRole::I0:
            return QStringLiteral("I0");
        case ChannelRole::Transmitted:
            return QStringLiteral("I1");
        case ChannelRole::Fluorescence:
            return QStringLiteral("If");
        default:
            return field == 0 ? QStringLiteral("I2(Ref)") : QStringLiteral("I2");
        }
    }
}

// A value the acquisition program never filled in: its placeholder "%",
// digits, "%" (an aborted scan's end current "%002%").
bool isWriterPlaceholder(const QString &value)
{
    if (value.size() < 3 || !value.startsWith(QLatin1Char('%')) ||
        !value.endsWith(QLatin1Char('%')))
        return false;
    for (int i = 1; i + 1 < value.size(); ++i)
        if (value.at(i) < QLatin1Char('0') || value.at(i) > QLatin1Char('9'))
            return false;
    return true;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The block keys MEAS_120_nn ... MEAS_129_nn for blocks nn = 01 ... 10: the
// column and the block written with exactly these ASCII digits, nothing else.
bool blockValue(const Header9809 &header, const QString &key, QString &value)
{
    if (key.size() != 11 || !key.startsWith(QLatin1String("MEAS_12")) || !isAsciiDigit(key.at(7)) ||
        key.at(8) != QLatin1Char('_') || !isAsciiDigit(key.at(9)) || !isAsciiDigit(key.at(10)))
        return false;
    const int column = key.at(7).unicode() - '0';
    const int block = (key.at(9).unicode() - '0') * 10 + (key.at(10).unicode() - '0');
    if (block < 1 || block > 10)
        return false;
    if (block > header.blockCount.toInt()) {
        value = noValue;
        return true;
    }
    static const BlockRow noRow;
    const BlockRow &row = block <= header.blocks.size() ? header.blocks.at(block - 1) : noRow;
    switch (column) {
    case 0:
        value = emptyValueMarker;
        break;
    case 1:
        value = row.item[1];
        break;
    case 3:
        value = row.item[2];
        break;
    case 5:
        value = row.item[3];
        break;
    case 7:
        value = row.item[4];
        break;
    case 8:
        value = QStringLiteral("s");
        break;
    case 9:
        value = row.item[5];
        break;
    default: // 2, 4, 6: the unit of the scan axis
        value = header.xUnit;
        break;
    }
    return true;
}

} // namespace

double detectorRange(const InfoEntries &info, const QString &detector)
{
    double range = 1.0;
    const QStringList texts = info.textsOf(QStringLiteral("Detector Range"));
    for (const QString &text : texts) {
        // The detector's name leads some lines as a label; only a mention
        // further in counts.
        if (text.indexOf(detector) > 0) {
            const QStringList parts = splitAtBlanks(text);
            range = parts.size() > 2 ? parts.at(2).toDouble() : 1.0;
        }
    }
    return range;
}

// "--" for a line 2 without the date: the reader left its fields empty.
QString startDateTime(const DataSet &dataSet)
{
    const Header9809 &h = dataSet.header;
    if (h.startYear.isEmpty())
        return noValue;
    return normalDateTime({h.startYear, h.startMonth, h.startDay, h.startHour, h.startMinute,
                           h.startSecond, h.startMsec});
}

QString endDateTime(const DataSet &dataSet)
{
    const Header9809 &h = dataSet.header;
    if (h.endYear.isEmpty())
        return noValue;
    return normalDateTime(
        {h.endYear, h.endMonth, h.endDay, h.endHour, h.endMinute, h.endSecond, h.endMsec});
}

namespace {

// The value of key as its source holds it.
QString sourceValue(const DataSet &ds, const QString &key)
{
    QString value;
    if (blockValue(ds.header, key, value))
        return value;
    const QHash<QString, Entry> &table = catalogue();
    const auto it = table.constFind(key);
    if (it == table.constEnd())
        return QString();
    switch (it->source) {
    case Source::Fixed:
        return it->text;
    case Source::StartDateTime:
        return startDateTime(ds);
    case Source::Beamline:
        return beamlineName(ds.header.beamline);
    case Source::RingItem2:
        return ds.header.ringItem2;
    case Source::RingItem5:
        return ds.header.ringItem5;
    case Source::BaseName:
        return ds.baseName;
    case Source::Suffix:
        return ds.suffix;
    case Source::Format:
        return ds.header.format;
    case Source::LineCount:
        return QString::number(ds.header.lineCount);
    case Source::MeasurementType:
        return ds.info.textOf(QStringLiteral("Measurement Type"), QStringLiteral("Step XAFS"));
    case Source::CrystalName:
        return ds.header.crystalName;
    case Source::CrystalIndex:
        return ds.header.crystalIndex;
    case Source::DSpacing:
        return ds.header.dSpacing;
    case Source::DSpacingUnit:
        return ds.header.dSpacingUnit;
    case Source::I0Range8:
        return detectorPower(ds.info, QStringLiteral("I0"), 8);
    case Source::I0Range1:
        return detectorPower(ds.info, QStringLiteral("I0"), 1);
    case Source::I1Range8:
        return detectorPower(ds.info, QStringLiteral("I1"), 8);
    case Source::I1Range1:
        return detectorPower(ds.info, QStringLiteral("I1"), 1);
    case Source::I2Range8:
        return detectorPower(ds.info, QStringLiteral("I2"), 8);
    case Source::I2Range1:
        return detectorPower(ds.info, QStringLiteral("I2"), 1);
    // Files from most beamlines come without an info file; their header's
    // line 2 holds the start and end as well.
    case Source::InfoStart:
        if (!ds.info.has(QStringLiteral("Start Date Time")))
            return startDateTime(ds);
        return normaliseDateTime(ds.info.textOf(QStringLiteral("Start Date Time")));
    case Source::InfoEnd:
        if (!ds.info.has(QStringLiteral("End Date")))
            return endDateTime(ds);
        return normaliseDateTime(ds.info.textOf(QStringLiteral("End Date")));
    case Source::BlockCount:
        return ds.header.blockCount;
    case Source::PointCount:
        return ds.header.pointCount;
    case Source::Column:
        return columnValue(ds.header, it->channel, it->field);
    }
    return QString();
}

} // namespace

QString DataSet::extractValue(const QString &key) const
{
    const QString value = sourceValue(*this, key);
    return isWriterPlaceholder(value) ? noValue : value;
}

} // namespace korvane
