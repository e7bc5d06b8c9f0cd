#include "works/Xdi.h"

#include "data/DataSet.h"
#include "data/Edges.h"
#include "text/AtomicFile.h"
#include "text/Why.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace korvane {

namespace {

// What one column of the table holds.
struct Column
{
    enum Kind
    {
        Energy,
        Angle,
        AngleCommand,
        CountTime,
        Channel,
        FluorescenceSum,
        Mu
    } kind;
    QString label;
    QString unit;
    int channel = -1;
};

// The channels of a fluorescence scan that the curve adds up.
QVector<int> summedChannels(const AbsorbanceChannels &ch, int count)
{
    if (!ch.summed.isEmpty())
        return ch.summed;
    QVector<int> all;
    for (int k = 0; k < count; ++k)
        if (k != ch.i0)
            all << k;
    return all;
}

QString channelName(int k)
{
    return QStringLiteral("ch%1").arg(k + 1); // the file's heads count from "Ch 1"
}

// The columns: the scan's axes, I0, the transmitted or summed fluorescence
// (and each fluorescence channel, so that a bad element can be dropped), the
// other channels, and the curve the thumbnail draws.
QVector<Column> columnsOf(const AbsorbanceChannels &ch, int count, const QVector<int> &modes)
{
    QVector<Column> cols{
        {Column::Energy, QStringLiteral("energy"), QStringLiteral("eV")},
        {Column::Angle, QStringLiteral("angle"), QStringLiteral("degrees")},
        {Column::AngleCommand, QStringLiteral("angle_command"), QStringLiteral("degrees")},
        {Column::CountTime, QStringLiteral("count_time"), QStringLiteral("seconds")}};
    QVector<int> used;
    if (ch.i0 < count) {
        cols.append({Column::Channel, QStringLiteral("i0"), QString(), ch.i0});
        used << ch.i0;
    }
    if (ch.fluorescence) {
        const QVector<int> summed = summedChannels(ch, count);
        cols.append({Column::FluorescenceSum, QStringLiteral("ifluor"), QString()});
        for (int k : summed)
            if (k < count && summed.size() > 1)
                cols.append(
                    {Column::Channel, QStringLiteral("ifluor_") + channelName(k), QString(), k});
        used += summed;
    } else if (ch.it < count) {
        cols.append({Column::Channel, QStringLiteral("itrans"), QString(), ch.it});
        used << ch.it;
    }
    // The reference is the chamber after the sample's: the first other
    // ionisation chamber (mode 1) of a transmission scan.
    bool reference = !ch.fluorescence;
    for (int k = 0; k < count; ++k) {
        if (used.contains(k))
            continue;
        const bool isReference = reference && modes.value(k) == 1;
        cols.append({Column::Channel, isReference ? QStringLiteral("irefer") : channelName(k),
                     QString(), k});
        reference = reference && !isReference;
    }
    cols.append({Column::Mu,
                 ch.fluorescence ? QStringLiteral("mufluor") : QStringLiteral("mutrans"),
                 QString()});
    return cols;
}

// The shortest text that reads back as the same double, in C locale.
QString number(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

double valueOf(const Column &c, const DataPoint &p, const AbsorbanceChannels &ch)
{
    switch (c.kind) {
    case Column::Energy:
        return p.energy;
    case Column::Angle:
        return p.obsAngle;
    case Column::AngleCommand:
        return p.angle;
    case Column::CountTime:
        return p.dwell;
    case Column::Channel:
        return c.channel < p.counts.size() ? p.counts[c.channel] : std::nan("");
    case Column::FluorescenceSum:
        return fluorescenceSum(ch, p.counts);
    case Column::Mu:
        return absorbance(ch, p.counts);
    }
    return std::nan("");
}

// The table as text, rows in increasing energy, and what that took.
struct Table
{
    QVector<QStringList> rows;
    QVector<double> energies, mu; // of the rows, for the edge
    int leftOut = 0;              // rows with a value that is no number
    int stepsBack = 0;            // where the file's energy fell
    double largestStepBack = 0;
};

Table tableOf(const DataSet &ds, const QVector<Column> &cols, const AbsorbanceChannels &ch)
{
    Table t;
    QVector<int> order;
    for (int i = 0; i < ds.points.size(); ++i) {
        if (i > 0 && ds.points[i].energy < ds.points[i - 1].energy) {
            ++t.stepsBack;
            t.largestStepBack =
                std::max(t.largestStepBack, ds.points[i - 1].energy - ds.points[i].energy);
        }
        order << i;
    }
    // Background removal needs rising energy; equal energies keep their order.
    std::stable_sort(order.begin(), order.end(),
                     [&ds](int a, int b) { return ds.points[a].energy < ds.points[b].energy; });
    for (int i : order) {
        const DataPoint &p = ds.points[i];
        QStringList row;
        bool finite = true;
        for (const Column &c : cols) {
            const double v = valueOf(c, p, ch);
            finite = finite && std::isfinite(v);
            row << number(v);
        }
        if (!finite) {
            ++t.leftOut;
            continue;
        }
        t.rows << row;
        t.energies << p.energy;
        t.mu << absorbance(ch, p.counts);
    }
    return t;
}

// One blank-free width per column, so that every row has one length.
QStringList tableLines(const Table &t, int columns)
{
    QVector<int> width(columns, 0);
    for (const QStringList &row : t.rows)
        for (int c = 0; c < columns; ++c)
            width[c] = std::max(width[c], int(row[c].size()));
    QStringList lines;
    for (const QStringList &row : t.rows) {
        QString line;
        for (int c = 0; c < columns; ++c)
            line += QLatin1Char(' ') + row[c].rightJustified(width[c] + 1);
        lines << line;
    }
    return lines;
}

} // namespace

namespace {

// A header value on one line: control characters become blanks, and the
// line stays within the bytes the reader takes (a Japanese character is 3).
QString oneLine(const QString &text, int room)
{
    QString s = text.left(room);
    for (QChar &c : s)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    s = s.simplified();
    while (s.toUtf8().size() > room)
        s.chop(s.size() > 1 && s.at(s.size() - 1).isLowSurrogate() ? 2 : 1);
    return s;
}

bool isAscii(const QString &s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 128; });
}

// The header's "# Family.key: value" lines; an empty value leaves its line
// out, since the reference reader refuses a file with one.
struct Fields
{
    QStringList lines;
    void add(const QString &name, const QString &value)
    {
        const QString head = QStringLiteral("# %1: ").arg(name);
        const QString v = oneLine(value, xdiMaxLineLength - head.size());
        if (!v.isEmpty())
            lines << head + v;
    }
};

// The first common row of id with a value, else fallback.
QString commonOr(const CommonValues &common, const QString &id, const QString &fallback)
{
    for (const CommonValue &c : common)
        if (c.id == id && !c.value.trimmed().isEmpty() && c.value != QLatin1String("--"))
            return c.value;
    return fallback;
}

QString ownValue(const DataSet &ds, const CommonValues &common, const char *id)
{
    QString value;
    if (!lookupValue(common, ds.meta, QLatin1String(id), value))
        return QString();
    return value.trimmed();
}

// "2026-11-30 21:14:03.000" as ISO 8601 to the second; "" for a placeholder.
QString isoTime(const QString &normal)
{
    static const QRegularExpression shape(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2}) (\\d{1,2}):(\\d{1,2}):(\\d{1,2})"));
    const QRegularExpressionMatch m = shape.match(normal);
    if (!m.hasMatch())
        return QString();
    const QDateTime t(QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()),
                      QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()));
    return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

// A number and its unit from line 4 ("2.50 GeV"); "" when the number is not one.
QString ringValue(const QString &value, const QString &unit)
{
    bool ok = false;
    value.toDouble(&ok);
    return ok ? QStringLiteral("%1 %2").arg(value, unit) : QString();
}

void addScanFields(Fields &f, const DataSet &ds, const CommonValues &common)
{
    const Header9809 &h = ds.header;
    f.add(QStringLiteral("Mono.name"), h.crystal);
    f.add(QStringLiteral("Mono.d_spacing"), number(ds.units.d));
    const QString facility = commonOr(common, QStringLiteral("FACI_001"), h.firstItem);
    if (isAscii(facility))
        f.add(QStringLiteral("Facility.name"), facility);
    f.add(QStringLiteral("Facility.energy"), ringValue(h.ringItem0, h.ringItem1));
    f.add(QStringLiteral("Facility.current"), ringValue(h.ringItem2, h.ringItem3));
    f.add(QStringLiteral("Beamline.name"), commonOr(common, QStringLiteral("FACI_002"),
                                                    ds.extractValue(QStringLiteral("FACI_002"))));
    f.add(QStringLiteral("Scan.start_time"), isoTime(ds.extractValue(QStringLiteral("MEAS_099"))));
    f.add(QStringLiteral("Scan.end_time"), isoTime(ds.extractValue(QStringLiteral("MEAS_100"))));
    const QString sample = ownValue(ds, common, "SMPL_001");
    f.add(QStringLiteral("Sample.name"), sample.isEmpty() ? h.sampleName : sample);
}

void addKorvaneFields(Fields &f, const DataSet &ds, const Table &t)
{
    const Header9809 &h = ds.header;
    QStringList modes, offsets;
    for (int m : h.modes)
        modes << QString::number(m);
    for (double o : h.offsets)
        offsets << number(o);
    f.add(QStringLiteral("korvane.modes"), modes.join(QLatin1Char(' ')));
    f.add(QStringLiteral("korvane.offsets"), offsets.join(QLatin1Char(' ')));
    f.add(QStringLiteral("korvane.scan_line"), h.scanLine);
    for (int b = 0; b < h.blocks.size(); ++b) {
        QStringList items;
        for (const QString &item : h.blocks[b].item)
            items << item;
        f.add(QStringLiteral("korvane.block_%1").arg(b + 1), items.join(QLatin1Char(' ')));
    }
    f.add(QStringLiteral("korvane.hc"), number(ds.units.hc) + QStringLiteral(" eV*A"));
    if (t.stepsBack == 0)
        f.add(QStringLiteral("korvane.row_order"), QStringLiteral("as measured"));
    else
        f.add(QStringLiteral("korvane.row_order"),
              QStringLiteral("sorted by increasing energy; the file's energy fell %1 times, "
                             "by at most %2 eV")
                  .arg(t.stepsBack)
                  .arg(t.largestStepBack, 0, 'f', 3));
    if (t.leftOut > 0)
        f.add(QStringLiteral("korvane.rows_left_out"),
              QStringLiteral("%1 (a value that is no number)").arg(t.leftOut));
}

// The element and edge: the user's, else the table's edge at the data's step.
void addElement(Fields &f, XdiText &x, const DataSet &ds, const CommonValues &common,
                const Table &t)
{
    const QString userSymbol = ownValue(ds, common, "SMPL_011");
    const QString userEdge = ownValue(ds, common, "SMPL_012");
    QString symbol, edge;
    if (!userSymbol.isEmpty() && !userEdge.isEmpty() &&
        knownEdge(userSymbol, userEdge, &symbol, &edge)) {
        f.add(QStringLiteral("Element.symbol"), symbol);
        f.add(QStringLiteral("Element.edge"), edge);
        f.add(QStringLiteral("korvane.element_from"), QStringLiteral("given"));
    }
    const EdgeStep step = findEdgeStep(t.energies, t.mu);
    if (step.found)
        f.add(QStringLiteral("korvane.e0_estimate"), QString::number(step.e0, 'f', 2));
    if (!symbol.isEmpty())
        return;
    if (!step.found) {
        x.noElement = true;
        x.note = reason("no absorption edge found in the data: the XDI names no element");
        f.add(QStringLiteral("korvane.element_from"), QStringLiteral("none: no edge in the data"));
        return;
    }
    const QStringList hints{ds.header.sampleName, ownValue(ds, common, "SMPL_001"),
                            ds.header.paramLine, ds.baseName};
    const EdgeMatch m = matchEdge(step.e0, hints, userSymbol, userEdge);
    if (m.symbol.isEmpty()) {
        x.noElement = true;
        x.note = reason("no tabulated edge near the step at %1 eV: the XDI names no element")
                     .arg(step.e0, 0, 'f', 1);
        f.add(QStringLiteral("korvane.element_from"), QStringLiteral("none: no edge near E0"));
        return;
    }
    f.add(QStringLiteral("Element.symbol"), m.symbol);
    f.add(QStringLiteral("Element.edge"), m.edge);
    QString from = QStringLiteral("estimated from E0");
    if (m.byHint)
        from += QStringLiteral(", chosen by the sample or parameter file name");
    if (m.ambiguous) {
        x.ambiguous = true;
        from += QStringLiteral(", ambiguous with ") + m.rival;
        x.note = reason("the edge at %1 eV may be %2 %3 or %4; the XDI says %2 %3")
                     .arg(QString::number(step.e0, 'f', 1), m.symbol, m.edge, m.rival);
    }
    f.add(QStringLiteral("korvane.element_from"), from);
}

} // namespace

XdiText xdiText(const DataSet &ds, const CommonValues &common)
{
    XdiText x;
    const AbsorbanceChannels ch = absorbanceChannels(ds.header);
    const int count =
        ch.count > 0 ? ch.count : (ds.points.isEmpty() ? 0 : ds.points.first().counts.size());
    const QVector<Column> cols = columnsOf(ch, count, ds.header.modes);
    const Table table = tableOf(ds, cols, ch);

    Fields f;
    for (int c = 0; c < cols.size(); ++c)
        f.add(QStringLiteral("Column.%1").arg(c + 1),
              (cols[c].label + QLatin1Char(' ') + cols[c].unit).trimmed());
    addElement(f, x, ds, common, table);
    addScanFields(f, ds, common);
    addKorvaneFields(f, ds, table);

    QStringList lines{QStringLiteral("# XDI/1.0 korvane/%1").arg(QLatin1String(KORVANE_VERSION))};
    lines += f.lines;
    lines << QStringLiteral("# ///");
    const QString comment = oneLine(ds.header.comment, xdiMaxLineLength - 3);
    // A comment the reader would take for the end of the header is escaped.
    if (comment.startsWith(QLatin1String("---")) || comment.startsWith(QLatin1String("///")))
        lines << QStringLiteral("# \\") + comment.left(xdiMaxLineLength - 3);
    else if (!comment.isEmpty())
        lines << QStringLiteral("# ") + comment;
    lines << QStringLiteral("#----");
    QStringList labels;
    for (const Column &c : cols)
        labels << c.label;
    lines << QStringLiteral("# ") + labels.join(QLatin1Char(' '));
    const QStringList rows = tableLines(table, cols.size());
    // Rows are of one width; the labels of many channels may be longer still.
    const int widest = std::max(lines.last().size(), rows.isEmpty() ? 0 : rows.first().size());
    const int total = lines.size() + rows.size();
    if (total > xdiMaxLines || widest > xdiMaxLineLength) {
        x.tooLong = true;
        x.note = total > xdiMaxLines
                     ? reason("no XDI: it would have %1 lines, more than the %2 its readers take")
                           .arg(total)
                           .arg(xdiMaxLines)
                     : reason("no XDI: a line would be longer than the %1 characters its readers "
                              "take")
                           .arg(xdiMaxLineLength);
        return x;
    }
    lines += rows;
    x.bytes = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return x;
}

bool writeXdiFile(const QString &path, const DataSet &dataSet, const CommonValues &common,
                  XdiText *text, QString *why)
{
    *text = xdiText(dataSet, common);
    if (text->tooLong)
        return true;
    return writeFileAtomically(path, text->bytes, Durability::Cached, why);
}

} // namespace korvane
