#include "works/Catalogue.h"

#include "data/DataSet.h"
#include "works/IndexPage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>

namespace korvane {

void xdiElementEdge(const QByteArray &xdi, QString &element, QString &edge)
{
    element.clear();
    edge.clear();
    for (const QByteArray &raw : xdi.split('\n')) {
        const QByteArray line = raw.trimmed();
        // The header is the comment block at the top; the first line of data
        // (or the field-end line) closes it.
        if (!line.startsWith('#') || line.startsWith("# ///") || line.startsWith("#---"))
            break;
        const int colon = line.indexOf(':');
        if (colon < 0)
            continue;
        // XDI field names ignore letter case.
        const QByteArray name = line.mid(1, colon - 1).trimmed().toLower();
        const QString value = QString::fromUtf8(line.mid(colon + 1).trimmed());
        if (name == "element.symbol")
            element = value;
        else if (name == "element.edge")
            edge = value;
    }
}

namespace {

QString tr(const char *text, const char *disambiguation = nullptr)
{
    return QCoreApplication::translate("Body", text, disambiguation);
}

qint64 startMsecs(const Header9809 &h)
{
    const QDate date(h.startYear.toInt(), h.startMonth.toInt(), h.startDay.toInt());
    const QTime time(h.startHour.toInt(), h.startMinute.toInt(), h.startSecond.toInt(),
                     h.startMsec.toInt());
    if (!date.isValid() || !time.isValid())
        return 0;
    return QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
}

// The XDI file's header, which is all that is read of it, fits well within
// this.
constexpr qint64 xdiHeaderBytes = 64 * 1024;

void readEntry(const QString &worksPath, CatalogueEntry &entry)
{
    const QString folder = worksPath + QLatin1Char('/') + entry.folder + QLatin1Char('/');
    // The copy is the file base and the data file's suffix; a name such as
    // ".scan" is all suffix.
    entry.fileBase = QFileInfo(entry.copyName).completeBaseName();
    if (entry.fileBase.isEmpty())
        entry.fileBase = entry.copyName;
    entry.hasPicture = QFileInfo::exists(folder + entry.fileBase + QLatin1String(".png"));
    QFile xdi(folder + entry.fileBase + QLatin1String(".xdi"));
    entry.hasXdi = xdi.open(QIODevice::ReadOnly);
    if (entry.hasXdi)
        xdiElementEdge(xdi.read(xdiHeaderBytes), entry.element, entry.edge);

    DataSet dataSet;
    entry.read = dataSet.read9809(folder + entry.copyName);
    if (!entry.read)
        return;
    const Header9809 &h = dataSet.header;
    entry.sample = h.sampleName.trimmed();
    entry.start = h.startYear.isEmpty() ? QString() : startDateTime(dataSet);
    entry.startSortKey = startMsecs(h);
    entry.beamline = dataSet.extractValue(QStringLiteral("FACI_002"));
    entry.fluorescence = absorbanceChannels(h).fluorescence;
    entry.points = dataSet.points.size();
    if (entry.points > 0) {
        entry.energyMin = dataSet.xMin;
        entry.energyMax = dataSet.xMax;
    }
}

} // namespace

QVector<CatalogueEntry> readCatalogue(const QString &worksPath,
                                      const QMap<QString, QStringList> &copiesByFolder)
{
    QVector<CatalogueEntry> entries;
    entries.reserve(copiesByFolder.size());
    for (auto it = copiesByFolder.constBegin(); it != copiesByFolder.constEnd(); ++it) {
        CatalogueEntry entry;
        entry.folder = it.key();
        // Of several, the first by name, as a pass would find the work again.
        entry.copyName = it.value().value(0);
        entries << entry;
    }
    QtConcurrent::blockingMap(entries,
                              [&worksPath](CatalogueEntry &entry) { readEntry(worksPath, entry); });
    return entries;
}

namespace {

const char *const pageStyle = R"(<style>
body { font-family: sans-serif; margin: 1em; }
table { border-collapse: collapse; }
th, td { border-bottom: 1px solid #ccc; padding: 4px 8px; text-align: left; vertical-align: middle; }
th { cursor: pointer; user-select: none; background: #eee; position: sticky; top: 0; }
th.nosort { cursor: default; }
th[aria-sort=ascending]::after { content: " \25B2"; }
th[aria-sort=descending]::after { content: " \25BC"; }
td.num { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
img { width: 160px; height: auto; display: block; }
#filter { font-size: 1em; padding: 4px; width: 20em; margin-bottom: 0.5em; }
</style>
)";

// Sorts on a click on a head (again: the other way), by each cell's
// data-sort number where it has one, else by its text; the filter hides the
// rows none of whose text cells hold what was typed.
const char *const pageScript = R"(<script>
(function () {
  var table = document.getElementById('works');
  var body = table.tBodies[0];
  var heads = table.tHead.rows[0].cells;
  var sorted = -1, ascending = true;
  function key(row, i, numeric) {
    var cell = row.cells[i];
    if (numeric) {
      var n = parseFloat(cell.getAttribute('data-sort'));
      return isNaN(n) ? -Infinity : n;
    }
    return cell.textContent.trim().toLowerCase();
  }
  function sortBy(i) {
    ascending = sorted === i ? !ascending : true;
    sorted = i;
    var numeric = heads[i].getAttribute('data-type') === 'number';
    var rows = Array.prototype.slice.call(body.rows);
    rows.sort(function (a, b) {
      var x = key(a, i, numeric), y = key(b, i, numeric);
      var order = numeric ? (x < y ? -1 : x > y ? 1 : 0) : x.localeCompare(y);
      return ascending ? order : -order;
    });
    rows.forEach(function (row) { body.appendChild(row); });
    for (var h = 0; h < heads.length; ++h)
      heads[h].removeAttribute('aria-sort');
    heads[i].setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
  }
  Array.prototype.forEach.call(heads, function (head, i) {
    if (head.getAttribute('data-type') !== 'none')
      head.addEventListener('click', function () { sortBy(i); });
  });
  var filter = document.getElementById('filter');
  var shown = document.getElementById('shown');
  filter.addEventListener('input', function () {
    var words = filter.value.trim().toLowerCase();
    var count = 0;
    Array.prototype.forEach.call(body.rows, function (row) {
      var text = Array.prototype.filter.call(row.cells, function (cell) {
        return cell.classList.contains('text');
      }).map(function (cell) { return cell.textContent; }).join(' ').toLowerCase();
      row.hidden = words !== '' && text.indexOf(words) < 0;
      if (!row.hidden)
        ++count;
    });
    shown.textContent = count;
  });
})();
</script>
)";

struct Column
{
    const char *id;
    // Told apart from the same words elsewhere in the window and on the
    // index page, whose translations must not change with these.
    struct
    {
        const char *source, *comment;
    } title;
    const char *type; // how it sorts: text, number, or none
};

// The heads' texts are translated where they are written; the list only
// names them for the translation tools.
const Column columns[] = {
    {"picture", QT_TRANSLATE_NOOP3("Body", "picture", "catalogue column"), "none"},
    {"work", QT_TRANSLATE_NOOP3("Body", "work", "catalogue column"), "text"},
    {"sample", QT_TRANSLATE_NOOP3("Body", "sample", "catalogue column"), "text"},
    {"start", QT_TRANSLATE_NOOP3("Body", "start", "catalogue column"), "number"},
    {"beamline", QT_TRANSLATE_NOOP3("Body", "beamline", "catalogue column"), "text"},
    {"kind", QT_TRANSLATE_NOOP3("Body", "kind", "catalogue column"), "text"},
    {"points", QT_TRANSLATE_NOOP3("Body", "points", "catalogue column"), "number"},
    {"energy", QT_TRANSLATE_NOOP3("Body", "energy (eV)", "catalogue column"), "number"},
    {"element", QT_TRANSLATE_NOOP3("Body", "element", "catalogue column"), "text"},
    {"edge", QT_TRANSLATE_NOOP3("Body", "edge", "catalogue column"), "text"},
    {"files", QT_TRANSLATE_NOOP3("Body", "files", "catalogue column"), "none"},
};

QString textCell(const QString &text)
{
    return QStringLiteral("<td class=\"text\">%1</td>").arg(htmlEscaped(text));
}

QString numberCell(const QString &text, double sortKey, bool known)
{
    return QStringLiteral("<td class=\"num\" data-sort=\"%1\">%2</td>")
        .arg(known ? QString::number(sortKey, 'f', 3) : QString(), htmlEscaped(text));
}

QString link(const CatalogueEntry &e, const QString &file, const QString &text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(htmlLink(e.folder + QLatin1Char('/') + file), htmlEscaped(text));
}

// Apart from the index page's link texts, whose translations stay as they are.
const char *const linkText = "catalogue link";

QString filesCell(const CatalogueEntry &e)
{
    QStringList links{link(e, QStringLiteral("metadata.yml"), tr("meta", linkText)),
                      link(e, e.copyName, tr("data", linkText))};
    if (e.hasPicture)
        links << link(e, e.fileBase + QLatin1String(".png"), tr("picture", linkText));
    if (e.hasXdi)
        links << link(e, e.fileBase + QLatin1String(".xdi"), tr("XDI", linkText));
    return QStringLiteral("<td>%1</td>").arg(links.join(QLatin1Char(' ')));
}

QString pictureCell(const CatalogueEntry &e)
{
    if (!e.hasPicture)
        return QStringLiteral("<td></td>");
    const QString picture = htmlLink(e.folder + QLatin1Char('/') + e.fileBase + ".png");
    return QStringLiteral("<td><a href=\"%1\"><img src=\"%1\" alt=\"\" loading=\"lazy\"></a></td>")
        .arg(picture);
}

QString row(const CatalogueEntry &e)
{
    const QString kind = !e.read          ? QString()
                         : e.fluorescence ? tr("fluorescence")
                                          : tr("transmission");
    const QString energy =
        e.points > 0
            ? QStringLiteral("%1 – %2").arg(e.energyMin, 0, 'f', 1).arg(e.energyMax, 0, 'f', 1)
            : QString();
    return QStringLiteral("<tr>") + pictureCell(e) + textCell(e.folder) + textCell(e.sample) +
           numberCell(e.start, double(e.startSortKey), e.startSortKey != 0) + textCell(e.beamline) +
           textCell(kind) +
           numberCell(e.read ? QString::number(e.points) : QString(), e.points, e.read) +
           numberCell(energy, e.energyMin, e.points > 0) + textCell(e.element) + textCell(e.edge) +
           filesCell(e) + QStringLiteral("</tr>\n");
}

void writeHead(QString &page, const QString &worksPath, int works, const QDateTime &when)
{
    const QString title = tr("Works in %1").arg(worksPath);
    page += QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n");
    page += QStringLiteral("<title>%1</title>\n").arg(htmlEscaped(title));
    page += QLatin1String(pageStyle);
    page += QStringLiteral("</head>\n<body>\n<h1>%1</h1>\n").arg(htmlEscaped(title));
    page += QStringLiteral("<p id=\"summary\">%1</p>\n")
                .arg(htmlEscaped(tr("%1 works; made %2")
                                     .arg(works)
                                     .arg(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))));
    page += QStringLiteral("<p><input id=\"filter\" type=\"search\" placeholder=\"%1\"> "
                           "<span id=\"shown\">%2</span> / %2</p>\n")
                .arg(htmlEscaped(tr("filter")))
                .arg(works);
    page += QStringLiteral("<table id=\"works\">\n<thead><tr>");
    for (const Column &c : columns)
        page += QStringLiteral("<th data-column=\"%1\" data-type=\"%2\"%3>%4</th>")
                    .arg(QLatin1String(c.id), QLatin1String(c.type),
                         QLatin1String(qstrcmp(c.type, "none") ? "" : " class=\"nosort\""),
                         htmlEscaped(tr(c.title.source, c.title.comment)));
    page += QStringLiteral("</tr></thead>\n<tbody>\n");
}

} // namespace

QString cataloguePage(const QString &worksPath, const QVector<CatalogueEntry> &entries,
                      const QDateTime &when)
{
    QString page;
    writeHead(page, worksPath, entries.size(), when);
    for (const CatalogueEntry &e : entries)
        page += row(e);
    page += QStringLiteral("</tbody>\n</table>\n");
    page += QLatin1String(pageScript);
    page += QStringLiteral("</body>\n</html>\n");
    return page;
}

} // namespace korvane
