#include "template/Render.h"

#include "template/Markers.h"
#include "template/MetaTemplate.h"
#include "text/AtomicFile.h"
#include "text/Csv.h"

namespace korvane {

namespace {

const QString &noValue = noValueMarker;
const int keyWidth = 20;

bool isSectionHeader(const TplLine &line)
{
    return line.types.size() == 1 && line.types.first() == Other;
}

// The index after the "block_end" that closes the block opened at start, or
// the end of the template when the block is never closed.
int afterBlockEnd(const MetaTemplate &tpl, int start)
{
    const QString &name = tpl.lines.at(start).blockName;
    for (int i = start + 1; i < tpl.lines.size(); ++i) {
        const TplLine &line = tpl.lines.at(i);
        if (line.isMeta && line.ymlKey == QLatin1String("block_end") && line.blockName == name)
            return i + 1;
    }
    return tpl.lines.size();
}

int indentOf(const QString &key)
{
    int i = 0;
    while (i < key.size() && key.at(i) == QLatin1Char(' '))
        ++i;
    return i;
}

// The index of the first line after next that is no deeper than the dash of a
// list item at column dash: where the item ends.
int afterListItem(const MetaTemplate &tpl, int next, int dash)
{
    while (next < tpl.lines.size() && !tpl.lines.at(next).isMeta &&
           indentOf(tpl.lines.at(next).ymlKey) > dash)
        ++next;
    return next;
}

// Whether a key starts an item of a YAML list ("  - name:").
bool startsListItem(const QString &key)
{
    const int dash = indentOf(key);
    return key.midRef(dash, 2) == QLatin1String("- ");
}

QString doubleQuoted(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    // A line break would end the line of its key: written as YAML escapes.
    escaped.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// Whether a YAML reader would take the bare value for something else: a word
// it reads as a boolean or a null, an indicator at its start, a comment or
// mapping separator inside it, or blanks it would trim.
bool needsQuotes(const QString &value)
{
    // A YAML 1.1 reader takes these for booleans and nulls: a sample called
    // NO (nitric oxide) would come back as false.
    static const QStringList otherTypes =
        QStringLiteral("y Y n N yes Yes YES no No NO true True TRUE false False FALSE "
                       "on On ON off Off OFF ~ null Null NULL")
            .split(QLatin1Char(' '));
    if (otherTypes.contains(value))
        return true;
    const QChar first = value.front();
    const QChar last = value.back();
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    if (isBlank(first) || isBlank(last) || value.contains(QLatin1Char('\t')))
        return true;
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
        return true;
    if (value.contains(QLatin1String(": ")) || value.contains(QLatin1String(" #")) ||
        last == QLatin1Char(':'))
        return true;
    if (QStringLiteral("[]{},#&*!|>'\"%@`").contains(first))
        return true;
    for (const char *indicator : {"-", "?", ":"}) {
        const QString bare = QLatin1String(indicator);
        if (value == bare || value.startsWith(bare + QLatin1Char(' ')))
            return true;
    }
    return false;
}

} // namespace

bool lookupValue(const CommonValues &common, const MetaValues &own, const QString &id,
                 QString &value)
{
    bool found = false;
    for (const CommonValue &row : common) {
        if (row.id == id && row.value != noValue) {
            value = row.value;
            found = true;
            break;
        }
    }
    const auto it = own.constFind(id);
    if (it == own.constEnd())
        return found;
    if (it.value() == noValue)
        return found; // the common value, if any, stands
    value = it.value() == emptyValueMarker ? QString() : it.value();
    return true;
}

QString renderMetadata(const MetaTemplate &tpl, const CommonValues &common, const MetaValues &own)
{
    QString text;
    int i = 0;
    while (i < tpl.lines.size()) {
        const TplLine &line = tpl.lines.at(i);
        QString value;
        if (!line.isMeta) {
            ++i;
            if (isSectionHeader(line)) {
                text += line.ymlKey + QLatin1Char('\n');
                continue;
            }
            bool parentsSet = true;
            for (const QString &pid : line.pids) {
                QString parentValue;
                if (!lookupValue(common, own, pid, parentValue)) {
                    parentsSet = false;
                    break;
                }
            }
            if (!parentsSet || !lookupValue(common, own, line.id, value)) {
                // The rest of a list item without its first line would join
                // the item before it: the whole item is left out.
                if (startsListItem(line.ymlKey))
                    i = afterListItem(tpl, i, indentOf(line.ymlKey));
                continue;
            }
            text += padRight(line.ymlKey, keyWidth) + QLatin1Char(' ') +
                    yamlValue(value, line.literal) + QLatin1Char('\n');
            continue;
        }
        // A directive without a value counts as switched off.
        lookupValue(common, own, line.id, value);
        if (line.ymlKey == QLatin1String("block_start") && value.toInt(nullptr, 10) == 0)
            i = afterBlockEnd(tpl, i);
        else
            ++i;
    }
    return text;
}

bool writeMetadataFile(const QString &path, const MetaTemplate &tpl, const CommonValues &common,
                       const MetaValues &own, QString *why)
{
    // A work file, made again by every pass, so not forced to disk.
    return writeFileAtomically(path, textFileBytes(renderMetadata(tpl, common, own)),
                               Durability::Cached, why);
}

QString yamlValue(const QString &value, bool literal)
{
    if (value.isEmpty())
        return literal ? QStringLiteral("\"\"") : QString();
    if (literal || needsQuotes(value))
        return doubleQuoted(value);
    return value;
}

} // namespace korvane
