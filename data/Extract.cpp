// The catalogue of metadata values a data file supplies by itself: header
// values, fixed descriptions of the 9809 columns and the thumbnail, info-file
// values, detector-range powers and the per-block keys of the scan table.

#include "data/DataSet.h"
#include "text/DateTime.h"

#include <QHash>

#include <cmath>

namespace {

const QString noValue = QStringLiteral("--");
const QString unknownDateTime = QStringLiteral("--/--/-- --:--:--.---");

// Keys whose value is the same for every 9809 file.
const QHash<QString, QString> &fixedValues()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t{
            {"FILE_005", "deg"},
            {"FILE_006", "deg"},
            {"FILE_007", "raw"},
            {"FILE_008", "Uncalibrated"},
            {"FILE_009", "obs_deg"},
            {"FILE_010", "deg"},
            {"FILE_011", "raw"},
            {"FILE_012", "Uncalibrated"},
            {"FILE_013", "dwell"},
            {"FILE_014", "sec"},
            {"FILE_015", "raw"},
            {"FILE_016", "Uncalibrated"},
            {"FILE_017", "I0"},
            {"FILE_018", "count"},
            {"FILE_019", "processed"},
            {"FILE_0191", "Offset subtracted"},
            {"FILE_0192", "transmission"},
            {"FILE_0193", "I0"},
            {"FILE_020", "I1"},
            {"FILE_021", "count"},
            {"FILE_022", "processed"},
            {"FILE_0221", "Offset subtracted"},
            {"FILE_0222", "transmission"},
            {"FILE_0223", "I1"},
            {"FILE_023", "I2(Ref)"},
            {"FILE_024", "count"},
            {"FILE_025", "processed"},
            {"FILE_0251", "Offset subtracted"},
            {"FILE_0252", "transmission"},
            {"FILE_0253", "I2"},
            {"FILE_0261", "thumbnail"},
            {"FILE_027", "png"},
            {"FILE_028", "image/png"},
            {"INST_501", "0"},
            {"INST_502", "deg"},
            {"INST_503", "1200"},
            {"INST_504", "lines/mm"},
            {"INST_505", "20"},
            {"INST_506", "um"},
        };
        for (const char *key :
             {"INST_016", "INST_025", "INST_034", "INST_042", "INST_044", "INST_050", "INST_052",
              "INST_058", "INST_060", "INST_066", "INST_068", "MEAS_037", "MEAS_038", "MEAS_039",
              "MEAS_040", "MEAS_041", "MEAS_070", "MEAS_071", "MEAS_072", "MEAS_073", "MEAS_074"})
            t.insert(QString::fromLatin1(key), noValue);
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
QString detectorPower(const ArgList &info, const QString &detector, int offset)
{
    return QString::number(std::pow(10.0, offset - detectorRange(info, detector)), 'g', 6);
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
        value = QStringLiteral("--NO_VALUE--");
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

namespace {

// The text split at every run of ASCII blanks (what "\\s+" matches without
// Unicode properties), an empty first part when it starts with one; a
// character beyond ASCII is never a blank here.
QStringList splitAtBlanks(const QString &text)
{
    const ushort *chars = text.utf16();
    const int size = text.size();
    const auto blank = [](ushort c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    QStringList parts;
    int start = 0;
    for (int i = 0; i < size;) {
        if (!blank(chars[i])) {
            ++i;
            continue;
        }
        parts << text.mid(start, i - start);
        while (i < size && blank(chars[i]))
            ++i;
        start = i;
    }
    parts << text.mid(start);
    return parts;
}

} // namespace

double detectorRange(const ArgList &info, const QString &detector)
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

QString startDateTime(const DataSet &dataSet)
{
    const Header9809 &h = dataSet.header;
    DateTimeFields f;
    f.year = h.startYear;
    f.month = h.startMonth;
    f.day = h.startDay;
    f.hour = h.startHour;
    f.minute = h.startMinute;
    f.second = h.startSecond;
    f.msec = h.startMsec;
    return normalDateTime(f);
}

QString DataSet::extractValue(const QString &key) const
{
    const QHash<QString, QString> &fixed = fixedValues();
    const auto it = fixed.constFind(key);
    if (it != fixed.constEnd())
        return it.value();

    if (key == QLatin1String("INFO_011") || key == QLatin1String("INFO_012"))
        return startDateTime(*this);
    if (key == QLatin1String("FACI_002"))
        return beamlineName(header.beamline);
    if (key == QLatin1String("FACI_007"))
        return header.ringItem2;
    if (key == QLatin1String("FACI_009"))
        return header.ringItem5;
    if (key == QLatin1String("FILE_001") || key == QLatin1String("FILE_026"))
        return baseName;
    if (key == QLatin1String("FILE_002"))
        return suffix;
    if (key == QLatin1String("FILE_003"))
        return header.format;
    if (key == QLatin1String("FILE_004"))
        return QString::number(header.lineCount);
    if (key == QLatin1String("INST_006"))
        return info.textOf(QStringLiteral("Measurement Type"), QStringLiteral("Step XAFS"));
    if (key == QLatin1String("INST_007"))
        return header.crystalName;
    if (key == QLatin1String("INST_008"))
        return header.crystalIndex;
    if (key == QLatin1String("INST_009"))
        return header.dSpacing;
    if (key == QLatin1String("INST_010"))
        return header.dSpacingUnit;
    if (key == QLatin1String("MEAS_003"))
        return detectorPower(info, QStringLiteral("I0"), 8);
    if (key == QLatin1String("MEAS_017"))
        return detectorPower(info, QStringLiteral("I0"), 1);
    if (key == QLatin1String("MEAS_044"))
        return detectorPower(info, QStringLiteral("I1"), 8);
    if (key == QLatin1String("MEAS_050"))
        return detectorPower(info, QStringLiteral("I1"), 1);
    if (key == QLatin1String("MEAS_077"))
        return detectorPower(info, QStringLiteral("I2"), 8);
    if (key == QLatin1String("MEAS_083"))
        return detectorPower(info, QStringLiteral("I2"), 1);
    if (key == QLatin1String("MEAS_099"))
        return normaliseDateTime(info.textOf(QStringLiteral("Start Date Time"), unknownDateTime));
    if (key == QLatin1String("MEAS_100"))
        return normaliseDateTime(info.textOf(QStringLiteral("End Date"), unknownDateTime));
    if (key == QLatin1String("MEAS_112"))
        return header.blockCount;
    if (key == QLatin1String("MEAS_200"))
        return header.pointCount;

    QString value;
    if (blockValue(header, key, value))
        return value;
    return QString();
}
