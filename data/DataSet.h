#pragma once
// Everything korvane knows about one "9809" data file: its header, points,
// info-file values and the metadata map that metadata.yml is rendered from.

#include "data/InfoEntries.h"
#include "text/Units.h"

#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QVector>

#include <algorithm>
#include <cmath>

class QTextStream;

namespace korvane {

class MetaTemplate;

class BlockRow
{
public:
    QString item[6]; // the first six items of one scan-block line
};

// The most points one data file may give: about 1 GB of memory. A real scan
// has a few thousand; a file beyond this is rejected rather than left to
// exhaust memory.
constexpr int maxDataPoints = 10000000;

class DataPoint
{
public:
    double angle = 0;
    double obsAngle = 0;
    double energy = 0; // eV, from obsAngle
    double dwell = 0;
    QVector<double> counts; // I0, I1, ...
};

class Header9809
{
public:
    int lineCount = 0;
    QString format;
    QString firstItem, beamline;
    QString sampleName;
    QString startYear, startMonth, startDay, startHour, startMinute, startSecond, startMsec;
    QString endYear, endMonth, endDay, endHour, endMinute, endSecond, endMsec;
    QString comment;
    QString ringItem0, ringItem1, ringItem2, ringItem5, ringItem3;
    QString crystal, crystalName, crystalIndex;
    QString dSpacing, dSpacingUnit;
    QString initialAngle, initialAngleUnit;
    QString scanLine; // line 6, whole: the detection mode's word, repetition and points
    QString repetition, pointCount;
    QString paramLine; // line 8, whole: the scan's parameter file and gases
    QString blockCount;
    QVector<BlockRow> blocks;
    QString xUnit;
    QVector<int> modes;
    QVector<double> offsets;

    void setCrystal(const QString &text);
};

class DataSet
{
public:
    Units units;
    bool ok = false;
    QString path;
    QFileInfo fileInfo;
    QString dirPath;
    QString canonicalPath; // the file itself, whatever name and links led to it
    QString fileName;
    QString baseName;
    QString suffix;
    Header9809 header;
    InfoEntries info;
    QVector<DataPoint> points;
    double xMin = 1e300, xMax = -1e300;
    double yMin = 1e300, yMax = -1e300;
    MetaTemplate *tpl = nullptr;
    QMap<QString, QString> meta;

    // The 9809 reader. why, when given, receives the reason of a rejection
    // (which header line failed and how).
    bool read9809(const QString &path, QString *why = nullptr);
    bool read9809(QTextStream &in, QString *why = nullptr);
    // The companion info file: "key: value" lines into info.
    bool readInfo(const QString &path);
    bool readInfo(QTextStream &in);
    // The value a data file supplies for a from_data key; "" when none.
    QString extractValue(const QString &key) const;
    // Reads the file and fills the record; ok tells whether it stays.
    void openFile(bool createWork, const QString &path, MetaTemplate *tpl, QString *why = nullptr);
    // The same from streams, for a record that has no file: no name, and the
    // info lines (when given) from info.
    void openStream(bool createWork, QTextStream &data, QTextStream *info, MetaTemplate *tpl,
                    QString *why = nullptr);
    // The stored value of key: "" for "--NO_VALUE--", "--" when missing.
    QString metaValue(const QString &key) const;
    // The create-work flag (SYS_001), which the data-properties file, the
    // window's list and every pass share: a work is made when it is 1.
    bool flaggedForWork() const;
    void setFlaggedForWork(bool flagged);
};

// The detector channels a file's absorbance is made of, decided once per
// file from its Mode line (one mode per channel, in column order) and line 6.
// I0 is the first channel of mode 1, else channel 0. A fluorescence scan
// (line 6 says "Fluorescence" in any case, or some channel other than I0 has
// mode 3 and none other than I0 mode 2) adds up its mode-3 channels other
// than I0, or every channel but I0 when there are none; any other scan takes
// It, the first channel of mode 2 other than I0, else the first channel
// other than I0.
struct AbsorbanceChannels
{
    bool fluorescence = false;
    int i0 = 0;
    int it = 1;
    QVector<int> summed; // the mode-3 channels; empty: every channel but I0
    int count = 0;       // channels the Mode line declares; 0: every count of a row
};
AbsorbanceChannels absorbanceChannels(const Header9809 &header);
// What the curve of a fluorescence scan adds up: the mode-3 channels, or
// every channel but I0 when there are none; counts beyond the declared
// channels are not read. Inline: the reader asks it for every point.
inline double fluorescenceSum(const AbsorbanceChannels &channels, const QVector<double> &counts)
{
    const int n = counts.size();
    double sum = 0;
    if (channels.summed.isEmpty()) {
        const int declared = channels.count > 0 ? std::min(n, channels.count) : n;
        for (int k = 0; k < declared; ++k)
            if (k != channels.i0)
                sum += counts[k];
    } else {
        for (const int k : channels.summed)
            if (k < n)
                sum += counts[k];
    }
    return sum;
}
// What a point's counts are plotted at: the fluorescence channels over I0,
// or ln(I0 / It) for transmission; 1.0 where the counts allow neither (fewer
// than two, I0 not above 0, or I0 x It not above 0). Counts beyond the
// declared channels are not read. Inline: the reader asks it for every point.
inline double absorbance(const AbsorbanceChannels &channels, const QVector<double> &counts)
{
    const int n = counts.size();
    if (n < 2)
        return 1.0;
    const double i0 = channels.i0 < n ? counts[channels.i0] : 0.0;
    if (!channels.fluorescence) {
        const double it = channels.it < n ? counts[channels.it] : 0.0;
        return i0 * it > 0 ? std::log(i0 / it) : 1.0;
    }
    if (!(i0 > 0))
        return 1.0;
    return fluorescenceSum(channels, counts) / i0;
}

// What a channel of the file is, for the description of its data column.
enum class ChannelRole
{
    Missing,      // the Mode line declares no such channel
    I0,           // the incident intensity
    Transmitted,  // It of a transmission scan
    Fluorescence, // mode 3, or summed in a fluorescence scan
    Other         // a reference or any other channel
};
ChannelRole channelRole(const AbsorbanceChannels &channels, const QVector<int> &modes, int k);

QString valueAfterKey(const QString &line, const QString &key, QString &value, const QString &pad);
double detectorRange(const InfoEntries &info, const QString &detector);
QString startDateTime(const DataSet &dataSet);
QString endDateTime(const DataSet &dataSet);

} // namespace korvane
