#pragma once
// What must hold for every input of each reader, shared by the fuzz targets
// (which abort on a broken property) and TestFuzzRegressions (which replays
// every finding). Each check returns false with the broken property in why.

#include "data/DataSet.h"
#include "plot/Spectrum.h"
#include "props/CommonProps.h"
#include "props/DataProps.h"
#include "settings/ArgList.h"
#include "template/MetaTemplate.h"
#include "template/Render.h"
#include "text/Csv.h"
#include "text/LineItems.h"
#include "works/Xdi.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QSet>
#include <QString>
#include <QTextStream>

#include <cmath>

using namespace korvane;

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            if (why)                                                                               \
                *why = QStringLiteral("%1:%2: %3").arg(__FILE__).arg(__LINE__).arg(#cond);         \
            return false;                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

inline QString example(const QString &name)
{
    return QStringLiteral(KORVANE_SOURCE_DIR "/examples/") + name;
}

// The readers are used with the codec of a UTF-8 locale.
struct Utf8Stream : QTextStream
{
    explicit Utf8Stream(const QByteArray &bytes) : QTextStream(bytes) { setCodec("UTF-8"); }
};

// The lines a reader sees in bytes from line `from` on; with `toEndMark`, up to a line that holds
// only the end-of-file byte 0x1A between ASCII blanks, which ends a data section.
inline int lineCount(const QByteArray &bytes, int from = 0, bool toEndMark = false)
{
    Utf8Stream in(bytes);
    int count = 0;
    for (int i = 0; !in.atEnd(); ++i) {
        const QString line = in.readLine();
        int first = 0, last = line.size();
        while (first < last && isAsciiBlank(line.at(first).unicode()))
            ++first;
        while (last > first && isAsciiBlank(line.at(last - 1).unicode()))
            --last;
        if (i >= from && toEndMark && last == first + 1 && line.at(first) == QChar(0x1a))
            break;
        count += i >= from;
    }
    return count;
}

inline const MetaTemplate &exampleTemplate()
{
    static MetaTemplate tpl;
    static const bool loaded = tpl.load(example(QStringLiteral("korvane-template.yml")));
    Q_UNUSED(loaded);
    return tpl;
}

// The common values a user starts from: the template's own.
inline CommonValues templateCommons(const MetaTemplate &tpl)
{
    CommonValues commons;
    for (const CommonPropLine &line : commonPropsTemplateLines(tpl))
        commons.append({line.id, line.value});
    return commons;
}

// Every line of metadata.yml is a section header or a padded key and its value, on that line alone.
inline bool renderedShape(const MetaTemplate &tpl, const CommonValues &commons,
                          const DataSet &dataSet, QString *why)
{
    QSet<QString> headers;
    QStringList keys;
    for (const TplLine &line : tpl.lines) {
        if (line.isMeta)
            continue;
        if (line.types.size() == 1 && line.types.first() == Other)
            headers.insert(line.ymlKey);
        else
            keys.append(padRight(line.ymlKey, 20) + QLatin1Char(' '));
    }
    const QString text = renderMetadata(tpl, commons, dataSet.meta);
    FUZZ_CHECK(text.isEmpty() || text.endsWith(QLatin1Char('\n')));
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeLast();
    FUZZ_CHECK(lines.size() <= tpl.lines.size());
    for (const QString &line : qAsConst(lines)) {
        // A YAML reader ends a line at a carriage return as well.
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')));
        if (headers.contains(line))
            continue;
        bool keyed = false;
        for (const QString &key : qAsConst(keys))
            keyed = keyed || line.startsWith(key);
        FUZZ_CHECK(keyed);
    }
    return true;
}

// A rejected file says why and leaves no points; an accepted one has at most
// one point per line after its header, none after an end-of-file line.
inline bool read9809(const QByteArray &bytes, QString *why)
{
    Utf8Stream in(bytes);
    DataSet dataSet;
    QString reason;
    if (!dataSet.read9809(in, &reason)) {
        FUZZ_CHECK(dataSet.points.isEmpty());
        FUZZ_CHECK(!reason.isEmpty());
        return true;
    }
    FUZZ_CHECK(dataSet.points.size() <= lineCount(bytes, dataSet.header.lineCount, true));
    return true;
}

// At most one entry per line, each name without surrounding blanks; then
// every from_data key of the example template is looked up in them.
inline bool info(const QByteArray &bytes, QString *why)
{
    Utf8Stream in(bytes);
    DataSet dataSet;
    FUZZ_CHECK(dataSet.readInfo(in));
    FUZZ_CHECK(dataSet.info.size() <= lineCount(bytes));
    for (const InfoEntry &entry : dataSet.info.entries())
        FUZZ_CHECK(entry.name == entry.name.trimmed());
    const MetaTemplate &tpl = exampleTemplate();
    for (int index : tpl.fromDataIdx)
        dataSet.extractValue(tpl.lines.at(index).id);
    startDateTime(dataSet);
    return true;
}

// The bytes are the file a.cfg in the current folder, which holds nothing
// else, so an INCLUDE of the file itself (by any relative name) is a cycle:
// the read ends, and every line adds at most one entry. The lines are those
// of the file read as text mode gives it, without carriage returns, whose
// removal can shift UTF-16 text onto other characters and line ends.
inline bool config(const QByteArray &bytes, QString *why)
{
    QFile file(QStringLiteral("a.cfg"));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    file.close();
    ArgList args;
    FUZZ_CHECK(args.readConfig(QStringLiteral("a.cfg")));
    FUZZ_CHECK(args.size() <= lineCount(QByteArray(bytes).replace('\r', "")));
    return true;
}

// Every index list points at lines of its kind; the starting sheets are
// made; metadata.yml has its shape.
inline bool metaTemplate(const QByteArray &bytes, QString *why)
{
    Utf8Stream in(bytes);
    MetaTemplate tpl;
    tpl.load(in);
    const QList<int> *lists[] = {&tpl.inputIdx, &tpl.semiFixIdx, &tpl.fromDataIdx, &tpl.naIdx,
                                 &tpl.otherIdx};
    for (int type = Input; type <= Other; ++type) {
        for (int index : *lists[type]) {
            FUZZ_CHECK(index >= 0 && index < tpl.lines.size());
            FUZZ_CHECK(tpl.lines.at(index).types.contains(type));
        }
    }
    DataSet dataSet;
    dataSet.tpl = &tpl;
    for (int index : qAsConst(tpl.inputIdx))
        dataSet.meta.insert(tpl.lines.at(index).id, QStringLiteral("x"));
    dataPropsText(tpl, {&dataSet}, QStringLiteral("gen"));
    return renderedShape(tpl, templateCommons(tpl), dataSet, why);
}

// One record per line, and a record written back and read again is the same record.
inline bool commonProps(const QByteArray &bytes, QString *why)
{
    Utf8Stream in(bytes);
    const QVector<CommonPropLine> lines = readCommonPropLines(in);
    FUZZ_CHECK(lines.size() == lineCount(bytes));
    for (const CommonPropLine &line : lines) {
        const CommonPropLine again = commonPropLine(commonPropLineText(line));
        FUZZ_CHECK(again.id == line.id && again.value == line.value &&
                   again.comment == line.comment && again.key == line.key);
    }
    return true;
}

// Two sets of the example records, opened once; records are not copied, so
// their values are put back before each input.
struct ExampleRecords
{
    DataSet sets[2][3];
    QMap<QString, QString> loaded[3];
    bool ok = true;
    ExampleRecords()
    {
        const char *names[] = {"Cu_foil_K_001.dat", "CuO_K_002.dat", "Cu2O_K_003.dat"};
        auto *tpl = const_cast<MetaTemplate *>(&exampleTemplate());
        for (int i = 0; i < 6; ++i) {
            sets[i / 3][i % 3].openFile(true, example(QLatin1String(names[i % 3])), tpl);
            ok = ok && sets[i / 3][i % 3].ok;
            loaded[i % 3] = sets[0][i % 3].meta;
        }
    }
    QList<DataSet *> restored(int which)
    {
        QList<DataSet *> list;
        for (int i = 0; i < 3; ++i) {
            sets[which][i].meta = loaded[i];
            list.append(&sets[which][i]);
        }
        return list;
    }
};

// What the reader stores, written out and read into fresh records, gives
// the same values, so a saved sheet loads back as it was.
inline bool dataProps(const QByteArray &bytes, QString *why)
{
    static ExampleRecords fixture;
    FUZZ_CHECK(fixture.ok);
    const MetaTemplate &tpl = exampleTemplate();
    Utf8Stream in(bytes);
    const QList<DataSet *> edited = fixture.restored(0);
    applyDataProps(in, edited);

    Utf8Stream again(dataPropsText(tpl, edited, QStringLiteral("gen")).toUtf8());
    const QList<DataSet *> reloaded = fixture.restored(1);
    applyDataProps(again, reloaded);

    QStringList ids;
    for (const QList<int> *list : {&tpl.inputIdx, &tpl.fromDataIdx})
        for (int index : *list)
            ids.append(tpl.lines.at(index).id);
    const QString flag = QStringLiteral("SYS_001");
    for (int i = 0; i < 3; ++i) {
        const DataSet &a = *edited.at(i), &b = *reloaded.at(i);
        // The flag column holds 1 or 0, whatever the sheet said.
        FUZZ_CHECK((a.metaValue(flag).toInt() == 1) == (b.metaValue(flag).toInt() == 1));
        for (const QString &id : qAsConst(ids))
            FUZZ_CHECK(a.metaValue(id) == b.metaValue(id));
    }
    return true;
}

// Bytes to a record to metadata.yml to a picture, as korvane handles a data
// file. The bytes before the first NUL are the data file, those after it
// its info file. Needs an application object for the fonts.
// The XDI's lines within the reader's limits, LF only, one end of the header, and rows of one
// width holding numbers only.
inline bool xdiShape(const DataSet &dataSet, QString *why)
{
    const XdiText xdi = xdiText(dataSet, {});
    FUZZ_CHECK(xdi.tooLong == xdi.bytes.isEmpty());
    if (xdi.tooLong)
        return true;
    FUZZ_CHECK(xdi.bytes.startsWith("# XDI/1.0 korvane/") && xdi.bytes.endsWith('\n'));
    FUZZ_CHECK(!xdi.bytes.contains('\r'));
    const QList<QByteArray> lines = xdi.bytes.chopped(1).split('\n');
    FUZZ_CHECK(lines.count("#----") == 1);
    int width = -1;
    for (int i = lines.indexOf("#----") + 2; i < lines.size(); ++i) {
        FUZZ_CHECK(width < 0 || lines[i].size() == width);
        width = lines[i].size();
        for (const QByteArray &item : lines[i].simplified().split(' ')) {
            bool ok = false;
            FUZZ_CHECK(std::isfinite(item.toDouble(&ok)) && ok);
        }
    }
    for (const QByteArray &line : lines)
        FUZZ_CHECK(line.size() <= xdiMaxLineLength);
    return true;
}

inline bool pipeline(const QByteArray &bytes, QString *why)
{
    static const CommonValues commons = templateCommons(exampleTemplate());
    auto *tpl = const_cast<MetaTemplate *>(&exampleTemplate());
    const int nul = bytes.indexOf('\0');
    Utf8Stream in(nul < 0 ? bytes : bytes.left(nul));
    Utf8Stream infoIn(nul < 0 ? QByteArray() : bytes.mid(nul + 1));
    DataSet dataSet;
    dataSet.openStream(true, in, &infoIn, tpl);
    if (!dataSet.ok) {
        FUZZ_CHECK(dataSet.points.isEmpty());
        return true;
    }
    if (!renderedShape(*tpl, commons, dataSet, why) || !xdiShape(dataSet, why))
        return false;
    QImage image(160, 120, QImage::Format_RGB32);
    QPainter painter(&image);
    drawSpectrum(&painter, dataSet);
    return true;
}

// The check of the fuzz target fuzz_<target>.
inline bool check(const QString &target, const QByteArray &bytes, QString *why)
{
    using Check = bool (*)(const QByteArray &, QString *);
    static const QMap<QString, Check> checks{
        {QStringLiteral("read9809"), read9809},     {QStringLiteral("info"), info},
        {QStringLiteral("config"), config},         {QStringLiteral("template"), metaTemplate},
        {QStringLiteral("commprops"), commonProps}, {QStringLiteral("dataprops"), dataProps},
        {QStringLiteral("pipeline"), pipeline}};
    FUZZ_CHECK(checks.contains(target));
    return checks.value(target)(bytes, why);
}

} // namespace fuzz
