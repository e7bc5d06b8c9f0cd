// The "9809" data file: a fixed sequence of header lines, checked by their
// leading tags, then one measured point per line.

#include "data/DataSet.h"
#include "text/DateTime.h"
#include "text/FastNumber.h"
#include "text/LineItems.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

namespace {

const QString tagFormat = QStringLiteral("   9809");
const QString tagRing = QStringLiteral(" Ring :");
const QString tagMono = QStringLiteral(" Mono :");
const QString tagMode = QStringLiteral("      Mode");
const QString tagOffset = QStringLiteral("    Offset");

// The number of characters at the front of line 2 that hold the sample name.
const int sampleNameWidth = 17;

void setWhy(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

// Reads the next header line, counting it; false when the file has ended
// before the data section.
bool readHeaderLine(QTextStream &in, Header9809 &header, QString &line, QString *why)
{
    if (in.atEnd()) {
        setWhy(why, QStringLiteral("the file ends at line %1 before the data section")
                        .arg(header.lineCount));
        return false;
    }
    line = in.readLine();
    ++header.lineCount;
    return true;
}

bool checkTag(const QString &line, const QString &tag, int lineNo, QString *why)
{
    if (startsWithPrefix(line, tag))
        return true;
    setWhy(why, QStringLiteral("line %1: does not start with \"%2\"").arg(lineNo).arg(tag));
    return false;
}

bool checkItem(const QStringList &items, int index, const QString &expected, int lineNo,
               QString *why)
{
    if (index >= items.size() || items.at(index) == expected)
        return true;
    setWhy(why, QStringLiteral("line %1: item %2 is \"%3\", not \"%4\"")
                    .arg(lineNo)
                    .arg(index)
                    .arg(items.at(index), expected));
    return false;
}

bool isAsciiSpace(ushort c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Splits the data line at begin into the numbers of its blank-separated
// items, as takeItem would split the simplified line, and converts them as
// QString::toDouble would; returns where the line ends. plain is false, and
// values incomplete, for a line this cannot split alike: double quotes group
// items, and characters beyond ASCII may be blanks to simplified().
int splitPlainLine(const ushort *text, int begin, int size, QVarLengthArray<double, 16> &values,
                   bool &plain)
{
    plain = true;
    int i = begin;
    for (;;) {
        while (i < size && text[i] != '\n' && isAsciiSpace(text[i]))
            ++i;
        if (i >= size || text[i] == '\n')
            return i;
        const int start = i;
        for (; i < size && !isAsciiSpace(text[i]); ++i)
            if (text[i] >= 0x80 || text[i] == '"')
                plain = false;
        if (plain)
            values.append(toDoubleAsQt(reinterpret_cast<const QChar *>(text) + start, i - start));
    }
}

// The first three items are the angles and the dwell time, missing ones 0;
// the counts follow.
void fillPoint(DataPoint &p, const QVarLengthArray<double, 16> &values)
{
    const int n = values.size();
    p.angle = n > 0 ? values[0] : 0.0;
    p.obsAngle = n > 1 ? values[1] : 0.0;
    p.dwell = n > 2 ? values[2] : 0.0;
    if (n > 3)
        p.counts = QVector<double>(values.begin() + 3, values.end());
}

// The general reading of a data line, for the lines splitPlainLine refuses.
// False for a line with no items.
bool readQuotedLine(const QString &line, DataPoint &p)
{
    const QString data = line.simplified();
    if (data.isEmpty())
        return false;
    QString col1, col2, col3, item;
    QString rest = takeItem(data, col1);
    rest = takeItem(rest, col2);
    rest = takeItem(rest, col3);
    p.angle = col1.toDouble();
    p.obsAngle = col2.toDouble();
    p.dwell = col3.toDouble();
    while (!rest.isEmpty()) {
        rest = takeItem(rest, item);
        p.counts.append(item.toDouble());
    }
    return true;
}

} // namespace

QString valueAfterKey(const QString &line, const QString &key, QString &value, const QString &pad)
{
    const int at = line.indexOf(key);
    if (at < 0) {
        value.clear();
        return line;
    }
    // Only a one-character pad separates values; a longer one never matches.
    const bool padded = pad.size() == 1;
    const QChar padChar = padded ? pad.at(0) : QChar();
    int pos = at + key.size();
    while (padded && pos < line.size() && line.at(pos) == padChar)
        ++pos;
    const int start = pos;
    while (pos < line.size() && !(padded && line.at(pos) == padChar))
        ++pos;
    value = line.mid(start, pos - start);
    return line.mid(pos);
}

void Header9809::setCrystal(const QString &text)
{
    crystal = text;
    const int open = text.indexOf(QLatin1Char('('));
    if (open > 0) {
        crystalName = text.left(open);
        crystalIndex = text.mid(open);
        crystalIndex.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    } else {
        crystalName = text;
        crystalIndex.clear();
    }
}

bool DataSet::read9809(const QString &path, QString *why)
{
    units.d = units.dDefault;
    if (path.isEmpty()) { // QFile would warn about the empty name
        setWhy(why, QStringLiteral("cannot open the file: no file name"));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        setWhy(why, QStringLiteral("cannot open the file: %1").arg(file.errorString()));
        return false;
    }
    QTextStream in(&file);
    return read9809(in, why);
}

bool DataSet::read9809(QTextStream &in, QString *why)
{
    units.d = units.dDefault;
    header.lineCount = 0;
    QString line;

    // Line 1: identification, then the first item and the beamline.
    if (!readHeaderLine(in, header, line, why) || !checkTag(line, tagFormat, 1, why))
        return false;
    header.format = QStringLiteral("9809");
    {
        const QStringList items = itemsAfter(line, tagFormat);
        if (items.size() > 0)
            header.firstItem = items.at(0);
        if (items.size() > 1)
            header.beamline = items.at(1);
    }

    // Line 2: a fixed-width sample name, then start and end date and time.
    if (!readHeaderLine(in, header, line, why))
        return false;
    header.sampleName = trimmedItem(line.left(sampleNameWidth));
    // trimmedItem leaves a text of blanks as it is; a blank field is no name.
    if (!header.sampleName.contains(QRegularExpression(QStringLiteral("\\S"))))
        header.sampleName.clear();
    {
        QString times[5];
        QString rest = line.mid(sampleNameWidth);
        for (QString &t : times)
            rest = takeItem(rest, t);
        const DateTimeFields start = splitDateAndTime(times[0], times[1]);
        header.startYear = start.year;
        header.startMonth = start.month;
        header.startDay = start.day;
        header.startHour = start.hour;
        header.startMinute = start.minute;
        header.startSecond = start.second;
        header.startMsec = start.msec;
        const DateTimeFields end = splitDateAndTime(times[3], times[4]);
        header.endYear = end.year;
        header.endMonth = end.month;
        header.endDay = end.day;
        header.endHour = end.hour;
        header.endMinute = end.minute;
        header.endSecond = end.second;
        header.endMsec = end.msec;
    }

    // Line 3: free comment.
    if (!readHeaderLine(in, header, line, why))
        return false;
    header.comment = line;

    // Line 4: storage ring values; item 4 is not kept.
    if (!readHeaderLine(in, header, line, why) || !checkTag(line, tagRing, 4, why))
        return false;
    {
        const QStringList items = itemsAfter(line, tagRing);
        QString *targets[] = {&header.ringItem0, &header.ringItem1, &header.ringItem2,
                              &header.ringItem3, nullptr,           &header.ringItem5};
        for (int i = 0; i < 6 && i < items.size(); ++i)
            if (targets[i])
                *targets[i] = items.at(i);
    }

    // Line 5: crystal, "D=" spacing unit, "Initial" "angle=" angle unit.
    if (!readHeaderLine(in, header, line, why) || !checkTag(line, tagMono, 5, why))
        return false;
    {
        const QStringList items = itemsAfter(line, tagMono);
        const int n = items.size();
        if (n > 0)
            header.setCrystal(items.at(0));
        if (!checkItem(items, 1, QStringLiteral("D="), 5, why))
            return false;
        if (n > 2)
            header.dSpacing = items.at(2);
        if (n > 3)
            header.dSpacingUnit = items.at(3);
        if (!checkItem(items, 4, QStringLiteral("Initial"), 5, why) ||
            !checkItem(items, 5, QStringLiteral("angle="), 5, why))
            return false;
        if (n > 6)
            header.initialAngle = items.at(6);
        if (n > 7)
            header.initialAngleUnit = items.at(7);
        const double spacing = header.dSpacing.toDouble();
        if (spacing > 0)
            units.d = spacing;
    }

    // Line 6: "Points=" counts only after the repetition value.
    if (!readHeaderLine(in, header, line, why))
        return false;
    {
        const QString rest = valueAfterKey(line, QStringLiteral("Repetition="), header.repetition,
                                           QStringLiteral(" "));
        valueAfterKey(rest, QStringLiteral("Points="), header.pointCount, QStringLiteral(" "));
    }

    // Line 7: the number of scan blocks.
    if (!readHeaderLine(in, header, line, why))
        return false;
    valueAfterKey(line, QStringLiteral("Block ="), header.blockCount, QStringLiteral(" "));

    // Line 8 holds nothing we use.
    if (!readHeaderLine(in, header, line, why))
        return false;

    // Line 9: the scan axis code follows the "-" of the second item.
    if (!readHeaderLine(in, header, line, why))
        return false;
    {
        QString first, second;
        takeItem(takeItem(line, first), second);
        const int dash = second.indexOf(QLatin1Char('-'));
        const QString code = (dash >= 0 ? second.mid(dash + 1) : second).toUpper();
        header.xUnit = code == QLatin1String("ENG") ? QStringLiteral("eV") : QStringLiteral("deg");
    }

    // The scan-block table, one row per block.
    header.blocks.clear();
    const int blockRows = header.blockCount.toInt();
    for (int i = 0; i < blockRows; ++i) {
        if (!readHeaderLine(in, header, line, why))
            return false;
        BlockRow row;
        QString rest = line;
        for (QString &cell : row.item)
            rest = takeItem(rest, cell);
        header.blocks.append(row);
    }

    // Two lines of column titles that nothing reads.
    for (int i = 0; i < 2; ++i)
        if (!readHeaderLine(in, header, line, why))
            return false;

    if (!readHeaderLine(in, header, line, why) || !checkTag(line, tagMode, header.lineCount, why))
        return false;
    header.modes.clear();
    {
        const QStringList items = itemsAfter(line, tagMode);
        for (int i = 2; i < items.size(); ++i)
            header.modes.append(items.at(i).toInt());
    }

    if (!readHeaderLine(in, header, line, why) || !checkTag(line, tagOffset, header.lineCount, why))
        return false;
    header.offsets.clear();
    {
        const QStringList items = itemsAfter(line, tagOffset);
        for (int i = 2; i < items.size(); ++i)
            header.offsets.append(items.at(i).toDouble());
    }

    // Data section: every remaining line is a point.
    xMin = yMin = 1e300;
    xMax = yMax = -1e300;
    points.clear();
    const QString rest = in.readAll();
    const ushort *text = rest.utf16();
    const int size = rest.size();
    points.reserve(int(std::count(text, text + size, ushort('\n'))) + 1);
    QVarLengthArray<double, 16> values;
    for (int begin = 0; begin < size;) {
        DataPoint p;
        values.clear();
        bool plain = true;
        const int end = splitPlainLine(text, begin, size, values, plain);
        bool hasPoint = false;
        if (plain) {
            hasPoint = !values.isEmpty();
            fillPoint(p, values);
        } else {
            hasPoint = readQuotedLine(rest.mid(begin, end - begin), p);
        }
        begin = end + 1;
        // An empty line would be a point at angle 0, whose energy is infinite.
        if (!hasPoint)
            continue;
        const double theta = p.obsAngle / 180.0 * units.pi;
        p.energy = units.hc / (2 * std::sin(theta) * units.d);

        xMin = std::min(xMin, p.energy);
        xMax = std::max(xMax, p.energy);
        double absorbance = 1.0;
        if (p.counts.size() >= 2 && p.counts.at(0) * p.counts.at(1) > 0)
            absorbance = std::log(p.counts.at(0) / p.counts.at(1));
        yMin = std::min(yMin, absorbance);
        yMax = std::max(yMax, absorbance);
        points.append(std::move(p));
    }
    return true;
}
