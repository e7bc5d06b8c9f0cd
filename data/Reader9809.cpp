// The "9809" data file: a fixed sequence of header lines, checked by their
// leading tags, then one measured point per line.

#include "data/DataSet.h"
#include "text/DateTime.h"
#include "text/FastNumber.h"
#include "text/LineItems.h"
#include "text/TextFile.h"
#include "text/Why.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>
#include <QTextStream>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace korvane {

namespace {

const QString tagFormat = QStringLiteral("9809");
const QString tagRing = QStringLiteral(" Ring :");
const QString tagMono = QStringLiteral(" Mono :");
const QString tagMode = QStringLiteral("      Mode");
const QString tagOffset = QStringLiteral("    Offset");

// The number of characters at the front of line 2 that hold the sample name.
const int sampleNameWidth = 17;

// Reads the next header line, counting it; false when the file has ended
// before the data section.
bool readHeaderLine(QTextStream &in, Header9809 &header, QString &line, QString *why)
{
    if (in.atEnd()) {
        setWhy(why,
               reason("the file ends at line %1 before the data section").arg(header.lineCount));
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
    setWhy(why, reason("line %1: does not start with \"%2\"").arg(lineNo).arg(tag));
    return false;
}

bool checkItem(const QStringList &items, int index, const QString &expected, int lineNo,
               QString *why)
{
    if (index >= items.size() || items.at(index) == expected)
        return true;
    setWhy(why, reason("line %1: item %2 is \"%3\", not \"%4\"")
                    .arg(lineNo)
                    .arg(index)
                    .arg(items.at(index), expected));
    return false;
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
        while (i < size && text[i] != '\n' && isAsciiBlank(text[i]))
            ++i;
        if (i >= size || text[i] == '\n')
            return i;
        const int start = i;
        for (; i < size && !isAsciiBlank(text[i]); ++i)
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
    // One allocation of the exact size: the range constructor appends one by
    // one, and resize() would round the capacity up (16 bytes more a point).
    if (n > 3) {
        p.counts = QVector<double>(n - 3);
        std::copy(values.begin() + 3, values.end(), p.counts.data());
    }
}

// The general reading of a data line, for the lines splitPlainLine refuses.
// False for a line with no items.
bool readQuotedLine(const QString &line, DataPoint &p)
{
    const QString data = line.simplified();
    if (data.isEmpty())
        return false;
    // The same items as taking them one by one from the front, but without
    // copying the rest of the line after each: a long line stays linear.
    const QStringList items = itemsAfter(data, QString());
    p.angle = items.value(0).toDouble();
    p.obsAngle = items.value(1).toDouble();
    p.dwell = items.value(2).toDouble();
    for (int i = 3; i < items.size(); ++i)
        p.counts.append(items.at(i).toDouble());
    return true;
}

// Where the items after the "9809" of line 1 start, or -1 when the line is no
// 9809 line: after any blanks or tabs, "9809" must stand as an item of its
// own. Acquisition programs have written none, one, two or three blanks
// before it; a carriage return ends a line of a Windows file.
int afterFormatTag(const QString &line)
{
    const int n = line.size();
    int i = 0;
    while (i < n && (line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t')))
        ++i;
    if (line.midRef(i, tagFormat.size()) != tagFormat)
        return -1;
    i += tagFormat.size();
    if (i == n || line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t') ||
        (line.at(i) == QLatin1Char('\r') && i + 1 == n))
        return i;
    return -1;
}

// Two or three groups of ASCII digits joined by ".", "/" or "-", as the
// dates of line 2 are written: 13.05.29, 2019/11/21, 19-3-5.
bool isDateShaped(const QString &item)
{
    int groups = 0;
    int digits = 0;
    for (const QChar c : item) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
        } else if (digits > 0 &&
                   (c == QLatin1Char('.') || c == QLatin1Char('/') || c == QLatin1Char('-'))) {
            ++groups;
            digits = 0;
        } else {
            return false;
        }
    }
    return digits > 0 && (groups == 1 || groups == 2);
}

// A date and time of line 2; no fields at all when the date is missing or is
// not written as one (an aborted scan's end is still the writer's "%001%").
DateTimeFields line2DateTime(const QString &date, const QString &time)
{
    return isDateShaped(date) ? splitDateAndTime(date, time) : DateTimeFields();
}

// Digits joined by ":" or ".", as the times of line 2 are written: 19:07,
// 10.53, 09:41:07.5.
bool isTimeShaped(const QString &item)
{
    bool digitBefore = false;
    for (const QChar c : item) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digitBefore = true;
        else if (digitBefore && (c == QLatin1Char(':') || c == QLatin1Char('.')))
            digitBefore = false;
        else
            return false;
    }
    return digitBefore;
}

// Where the dates of line 2 start. The sample name owns the first 17
// characters, but one acquisition program wrote whole paths there: when the
// item at column 17 is no date, the name runs up to the first later item that
// is a date followed by a time (a "2.5 um" in the name is no date).
int line2DatesAt(const QString &line)
{
    QString item;
    int pos = takeItemAt(line, sampleNameWidth, item);
    if (isDateShaped(item))
        return sampleNameWidth;
    while (pos < line.size()) {
        int start = pos;
        while (start < line.size() && isAsciiBlank(line.at(start).unicode()))
            ++start;
        pos = takeItemAt(line, pos, item);
        if (!isDateShaped(item))
            continue;
        QString time;
        takeItemAt(line, pos, time);
        if (isTimeShaped(time))
            return start;
    }
    return sampleNameWidth;
}

// A data line holding only the DOS end-of-file byte 0x1A, blanks around it
// allowed: the data section ends there. Such a line splits into one item,
// so only lines of one item need asking.
template <typename Char> bool isEndOfFileMark(const Char *p, const Char *end)
{
    while (p < end && isAsciiBlank(*p))
        ++p;
    if (p == end || *p != 0x1a)
        return false;
    ++p;
    while (p < end && isAsciiBlank(*p))
        ++p;
    return p == end;
}

// Whether text matches \S; a printable ASCII character settles it without
// building the expression, which costs more than the rest of the line.
bool hasNonBlank(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > ' ' && c.unicode() < 0x7f)
            return true;
    return text.contains(QRegularExpression(QStringLiteral("\\S")));
}

// Line 1: identification, then the first item and the beamline.
bool takeIdentification(Header9809 &header, const QString &line, QString *why)
{
    const int afterTag = afterFormatTag(line);
    if (afterTag < 0) {
        setWhy(why, reason("line 1: its first item is not \"%1\"").arg(tagFormat));
        return false;
    }
    header.format = tagFormat;
    const QStringList items = itemsAfter(line.mid(afterTag), QString());
    if (items.size() > 0)
        header.firstItem = items.at(0);
    if (items.size() > 1)
        header.beamline = items.at(1);
    return true;
}

// The seven fields of a date and time into the header members at targets,
// in the order year, month, day, hour, minute, second, millisecond.
void storeDateTime(const DateTimeFields &f, const std::array<QString *, 7> &targets)
{
    const QString *fields[] = {&f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second, &f.msec};
    for (int i = 0; i < 7; ++i)
        *targets[size_t(i)] = *fields[i];
}

// Line 2: the sample name, then start and end date and time.
void takeSampleAndDates(Header9809 &header, const QString &line)
{
    const int datesAt = line2DatesAt(line);
    header.sampleName = trimmedItem(line.left(datesAt));
    // trimmedItem leaves a text of blanks as it is; a blank field is no name.
    if (!hasNonBlank(header.sampleName))
        header.sampleName.clear();
    QString times[5];
    QString rest = line.mid(datesAt);
    for (QString &t : times)
        rest = takeItem(rest, t);
    storeDateTime(line2DateTime(times[0], times[1]),
                  {&header.startYear, &header.startMonth, &header.startDay, &header.startHour,
                   &header.startMinute, &header.startSecond, &header.startMsec});
    storeDateTime(line2DateTime(times[3], times[4]),
                  {&header.endYear, &header.endMonth, &header.endDay, &header.endHour,
                   &header.endMinute, &header.endSecond, &header.endMsec});
}

// Line 4: storage ring values; item 4 is not kept.
void takeRing(Header9809 &header, const QString &line)
{
    const QStringList items = itemsAfter(line, tagRing);
    QString *targets[] = {&header.ringItem0, &header.ringItem1, &header.ringItem2,
                          &header.ringItem3, nullptr,           &header.ringItem5};
    for (int i = 0; i < 6 && i < items.size(); ++i)
        if (targets[i])
            *targets[i] = items.at(i);
}

// Line 5: crystal, "D=" spacing unit, "Initial" "angle=" angle unit.
bool takeMono(Header9809 &header, Units &units, const QString &line, QString *why)
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
    return true;
}

// Line 6: "Points=" counts only after the repetition value. Without a
// "Repetition=" (one program wrote "Repitition="), valueAfterKey hands back
// the whole line, and the point count is still found.
void takeScanLine(Header9809 &header, const QString &line)
{
    header.scanLine = line;
    const QString rest =
        valueAfterKey(line, QStringLiteral("Repetition="), header.repetition, QStringLiteral(" "));
    valueAfterKey(rest, QStringLiteral("Points="), header.pointCount, QStringLiteral(" "));
}

// Line 9: the scan axis code follows the "-" of the second item.
void takeScanAxis(Header9809 &header, const QString &line)
{
    QString first, second;
    takeItem(takeItem(line, first), second);
    const int dash = second.indexOf(QLatin1Char('-'));
    const QString code = (dash >= 0 ? second.mid(dash + 1) : second).toUpper();
    header.xUnit = code == QLatin1String("ENG") ? QStringLiteral("eV") : QStringLiteral("deg");
}

BlockRow blockRow(const QString &line)
{
    BlockRow row;
    QString rest = line;
    for (QString &cell : row.item)
        rest = takeItem(rest, cell);
    return row;
}

// The items of the Mode or Offset line from item 2 on.
template <typename T> QVector<T> numbersAfter(const QString &line, const QString &tag)
{
    QVector<T> numbers;
    const QStringList items = itemsAfter(line, tag);
    for (int i = 2; i < items.size(); ++i)
        numbers.append(std::is_same_v<T, int> ? T(items.at(i).toInt()) : T(items.at(i).toDouble()));
    return numbers;
}

// The header's lines one after the other, counted, with the reason of the
// first that is missing or lacks its tag.
struct HeaderLines
{
    QTextStream &in;
    Header9809 &header;
    QString *why;
    QString line;

    bool next() { return readHeaderLine(in, header, line, why); }
    bool next(const QString &tag) { return next() && checkTag(line, tag, header.lineCount, why); }
};

// The header up to its "Offset" line, with the text semantics of the stream.
bool readHeader(QTextStream &in, Header9809 &header, Units &units, QString *why)
{
    header.lineCount = 0;
    HeaderLines h{in, header, why, QString()};
    if (!h.next() || !takeIdentification(header, h.line, why) || !h.next())
        return false;
    takeSampleAndDates(header, h.line);
    if (!h.next())
        return false;
    header.comment = h.line; // line 3, whole
    if (!h.next(tagRing))
        return false;
    takeRing(header, h.line);
    if (!h.next(tagMono) || !takeMono(header, units, h.line, why) || !h.next())
        return false;
    takeScanLine(header, h.line);
    if (!h.next())
        return false;
    valueAfterKey(h.line, QStringLiteral("Block ="), header.blockCount, QStringLiteral(" "));
    // Line 8 names the parameter file, a hint to the scan's element.
    if (!h.next())
        return false;
    header.paramLine = h.line;
    if (!h.next())
        return false;
    takeScanAxis(header, h.line);
    header.blocks.clear();
    for (int i = header.blockCount.toInt(); i > 0; --i) {
        if (!h.next())
            return false;
        header.blocks.append(blockRow(h.line));
    }
    // Two lines of column titles that nothing reads, then modes and offsets.
    if (!h.next() || !h.next() || !h.next(tagMode))
        return false;
    header.modes = numbersAfter<int>(h.line, tagMode);
    if (!h.next(tagOffset))
        return false;
    header.offsets = numbersAfter<double>(h.line, tagOffset);
    return true;
}

// Energy and the ranges of the plot; an empty line would be a point at angle
// 0, whose energy is infinite, and is never added.
void measurePoint(DataSet &set, DataPoint &p, const AbsorbanceChannels &channels)
{
    const double theta = p.obsAngle / 180.0 * set.units.pi;
    p.energy = set.units.hc / (2 * std::sin(theta) * set.units.d);
    set.xMin = std::min(set.xMin, p.energy);
    set.xMax = std::max(set.xMax, p.energy);
    const double mu = absorbance(channels, p.counts);
    set.yMin = std::min(set.yMin, mu);
    set.yMax = std::max(set.yMax, mu);
}

void startData(DataSet &set)
{
    set.xMin = set.yMin = 1e300;
    set.xMax = set.yMax = -1e300;
    set.points.clear();
}

// Whether the record may take one more point: false, with the points
// dropped, once it holds the most a record may. Asked only for a line that
// is a point, so that blank lines after the last one never count.
bool roomForPoint(DataSet &set, QString *why)
{
    if (set.points.size() < maxDataPoints)
        return true;
    setWhy(why, reason("the file has more than %1 data points").arg(maxDataPoints));
    startData(set);
    return false;
}

// A reservation for the section's lines, never more than a record may hold:
// lines that are not points (a file of blank lines) must not make it huge.
void reservePoints(DataSet &set, qint64 lines)
{
    set.points.reserve(int(std::min<qint64>(lines, maxDataPoints)));
}

// The data section as text, for streams whose bytes we cannot reach.
bool readDataText(DataSet &set, const QString &rest, QString *why)
{
    const ushort *text = rest.utf16();
    const int size = rest.size();
    reservePoints(set, qint64(std::count(text, text + size, ushort('\n'))) + 1);
    const AbsorbanceChannels channels = absorbanceChannels(set.header);
    QVarLengthArray<double, 16> values;
    for (int begin = 0; begin < size;) {
        DataPoint p;
        values.clear();
        bool plain = true;
        const int end = splitPlainLine(text, begin, size, values, plain);
        bool hasPoint = false;
        if (plain && values.size() == 1 && isEndOfFileMark(text + begin, text + end))
            break;
        if (plain) {
            hasPoint = !values.isEmpty();
            fillPoint(p, values);
        } else {
            hasPoint = readQuotedLine(rest.mid(begin, end - begin), p);
        }
        begin = end + 1;
        if (hasPoint) {
            if (!roomForPoint(set, why))
                return false;
            measurePoint(set, p, channels);
            set.points.append(std::move(p));
        }
    }
    return true;
}

// The bytes of one line split as splitPlainLine splits its characters; false
// for a line with a double quote or a byte beyond ASCII.
bool splitPlainBytes(const char *p, const char *end, QVarLengthArray<double, 16> &values)
{
    for (;;) {
        while (p < end && isAsciiBlank(*p))
            ++p;
        if (p == end)
            return true;
        double value;
        p = takeNumberAsQt(p, end, value);
        if (!p)
            return false;
        values.append(value);
    }
}

// Codecs in which every byte below 0x80 is that character and a byte never
// belongs to a character beyond it: their ASCII lines can be read as bytes.
bool isAsciiCompatible(const QTextCodec *codec)
{
    const int mib = codec ? codec->mibEnum() : 0;
    return mib == 106 || mib == 4 || mib == 3; // UTF-8, ISO 8859-1, US-ASCII
}

// The data section straight from the file's bytes: decoding a million lines to
// UTF-16 first costs more than converting their numbers. Lines that are not
// plain ASCII are decoded with the stream's codec and read as text; each is
// decoded with its line end, so that a sequence cut short by it becomes a
// replacement character as in the stream, and with IgnoreHeader, so that a
// byte order mark inside the data stays a character.
bool readDataBytes(DataSet &set, const char *p, const char *end, QTextCodec *codec, QString *why)
{
    qint64 lines = 1;
    for (const char *q = p; (q = static_cast<const char *>(std::memchr(q, '\n', size_t(end - q))));
         ++q)
        ++lines;
    reservePoints(set, lines);
    const AbsorbanceChannels channels = absorbanceChannels(set.header);
    QVarLengthArray<double, 16> values;
    while (p < end) {
        const char *eol = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!eol)
            eol = end;
        values.clear();
        DataPoint quoted;
        const bool plain = splitPlainBytes(p, eol, values);
        bool hasPoint = false;
        if (plain) {
            if (values.size() == 1 && isEndOfFileMark(p, eol))
                break;
            hasPoint = !values.isEmpty();
        } else {
            QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
            const int length = int(eol - p) + (eol < end ? 1 : 0);
            hasPoint = readQuotedLine(codec->toUnicode(p, length, &state), quoted);
        }
        p = eol + 1;
        if (!hasPoint)
            continue;
        if (!roomForPoint(set, why))
            return false;
        // A plain line's point is filled in place at the end of the vector,
        // not built aside and moved.
        set.points.append(plain ? DataPoint() : std::move(quoted));
        DataPoint &point = set.points.last();
        if (plain)
            fillPoint(point, values);
        measurePoint(set, point, channels);
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

// The header through a stream over the file's first lines only, when the
// header lies within them and the data section can be read as bytes: a text
// stream decodes 16 KiB at a time, which for a scan is mostly data that the
// byte reading then reads again. false leaves header and units untouched;
// true gives the codec the stream chose too.
bool readShortHeader(const QByteArray &bytes, Header9809 &header, Units &units, QTextCodec *&codec)
{
    const int cut = bytes.indexOf('\n', 2048);
    if (cut < 0 || cut + 1 >= bytes.size())
        return false;
    QByteArray head = QByteArray::fromRawData(bytes.constData(), cut + 1);
    QBuffer buffer(&head);
    buffer.open(QIODevice::ReadOnly);
    QTextStream in(&buffer);
    Header9809 h;
    const double d = units.d; // the one unit a header sets
    if (!readHeader(in, h, units, nullptr) || !isAsciiCompatible(in.codec())) {
        units.d = d;
        return false;
    }
    header = h;
    codec = in.codec();
    return true;
}

bool DataSet::read9809(const QString &path, QString *why)
{
    units.d = units.dDefault;
    // Read as text mode would, every carriage return dropped, so that the
    // data section's bytes can be read in place after the stream has read
    // the header.
    TextFileReader file;
    QString error;
    if (!file.open(path, &error)) {
        setWhy(why, reason("cannot open the file: %1").arg(error));
        return false;
    }
    QTextStream &in = file.stream();
    QTextCodec *codec = nullptr;
    if (!readShortHeader(file.bytes(), header, units, codec)) {
        if (!readHeader(in, header, units, why))
            return false;
        codec = in.codec();
        if (!isAsciiCompatible(codec)) {
            startData(*this);
            return readDataText(*this, in.readAll(), why);
        }
    }
    startData(*this);
    // The stream reads lines up to "\n" only; in these codecs that is the
    // header's last "\n" byte.
    const char *data = file.bytes().constData();
    const char *end = data + file.bytes().size();
    for (int i = 0; i < header.lineCount && data < end; ++i) {
        const char *eol = static_cast<const char *>(std::memchr(data, '\n', size_t(end - data)));
        data = eol ? eol + 1 : end;
    }
    return readDataBytes(*this, data, end, codec, why);
}

bool DataSet::read9809(QTextStream &in, QString *why)
{
    units.d = units.dDefault;
    if (!readHeader(in, header, units, why))
        return false;
    startData(*this);
    QIODevice *device = in.device();
    if (device && !device->isSequential() && !(device->openMode() & QIODevice::Text) &&
        isAsciiCompatible(in.codec())) {
        const qint64 at = in.pos(); // slow, but once per file
        if (at >= 0 && device->seek(at)) {
            const QByteArray bytes = device->readAll();
            return readDataBytes(*this, bytes.constData(), bytes.constData() + bytes.size(),
                                 in.codec(), why);
        }
    }
    return readDataText(*this, in.readAll(), why);
}

} // namespace korvane
