// Loading the metadata template: each kept line becomes one TplLine, classed
// by its kind into the index lists.

#include "template/MetaTemplate.h"
#include "text/LineItems.h"
#include "text/TextFile.h"

#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

namespace korvane {

namespace {

const QRegularExpression &nonBlank()
{
    static const QRegularExpression re(QStringLiteral("\\S"));
    return re;
}

const QRegularExpression &blank()
{
    static const QRegularExpression re(QStringLiteral("\\s"));
    return re;
}

// Words of the type item are matched exactly: "Input" is not a kind.
QVector<int> parseTypes(const QString &item)
{
    QVector<int> types;
    const QStringList words = item.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    for (const QString &word : words) {
        if (word == QLatin1String("input"))
            types.append(Input);
        else if (word == QLatin1String("semi_fix"))
            types.append(SemiFix);
        else if (word == QLatin1String("from_data"))
            types.append(FromData);
        else if (word == QLatin1String("na"))
            types.append(Na);
        else
            types.append(Other);
    }
    return types;
}

// LITERAL and PID= words after the items, in any letter case.
void parseTrailingWords(const QString &rest, TplLine &line)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = rest.split(blanks, Qt::KeepEmptyParts);
    for (const QString &word : words) {
        if (word.toUpper() == QLatin1String("LITERAL"))
            line.literal = true;
        if (word.left(4).toUpper() == QLatin1String("PID="))
            line.pids.append(word.mid(4).remove(QLatin1Char('"')));
    }
}

// A line whose first non-blank character is "#" holds nothing but a comment.
bool isCommentLine(const QString &line)
{
    const int first = line.indexOf(nonBlank());
    return first >= 0 && line.at(first) == QLatin1Char('#');
}

} // namespace

void TplLine::parseLine(const QString &line)
{
    QString typeItem, flagItem;
    QString rest;

    if (line.startsWith(QLatin1String("::"))) {
        rest = takeItem(line.mid(2), ymlKey);
        rest = takeItem(rest, blockName);
        rest = takeItem(rest, id);
        rest = takeItem(rest, typeItem);
        rest = takeItem(rest, defValue);
        rest = takeItem(rest, flagItem);
        rest = takeItem(rest, comm);
        types = parseTypes(typeItem);
        flag = !flagItem.isEmpty();
        parseTrailingWords(rest, *this);
        isMeta = true;
        dump(QStringLiteral("META"));
        return;
    }

    // The YAML key runs to the first blank after it; a list entry's "- " and
    // the indentation belong to it.
    int keyStart = line.indexOf(nonBlank());
    if (keyStart >= 0 && line.at(keyStart) == QLatin1Char('-'))
        keyStart = line.indexOf(nonBlank(), keyStart + 1);
    const int keyEnd = keyStart < 0 ? -1 : line.indexOf(blank(), keyStart);
    if (keyEnd < 0) {
        ymlKey = line;
    } else {
        ymlKey = line.left(keyEnd);
        rest = takeItem(line.mid(keyEnd), id);
        rest = takeItem(rest, typeItem);
        rest = takeItem(rest, defValue);
        rest = takeItem(rest, flagItem);
        rest = takeItem(rest, comm);
        flag = !flagItem.isEmpty();
        parseTrailingWords(rest, *this);
    }
    types = parseTypes(typeItem);
    // A plain YAML value where the key item belongs, or an unknown type word.
    if (types.size() == 1 && types.at(0) == Other && !id.isEmpty())
        dump(line);
}

void TplLine::dump(const QString &tag) const
{
    qDebug() << "TplLine" << ymlKey << id << defValue << (flag ? "true" : "false") << comm << tag
             << "Types" << types;
}

QString TplLine::typesText() const
{
    QStringList words;
    for (int type : types) {
        switch (type) {
        case Input:
            words.append(QStringLiteral("input"));
            break;
        case SemiFix:
            words.append(QStringLiteral("semi_fix"));
            break;
        case FromData:
            words.append(QStringLiteral("from_data"));
            break;
        case Na:
            words.append(QStringLiteral("na"));
            break;
        default:
            words.append(QStringLiteral("other"));
            break;
        }
    }
    return words.join(QLatin1Char('/'));
}

bool MetaTemplate::load(const QString &path)
{
    TextFileReader file;
    if (!file.open(path))
        return false;
    load(file.stream());
    return true;
}

void MetaTemplate::load(QTextStream &in)
{
    while (!in.atEnd()) {
        // Carriage returns go as a template file read in text mode loses
        // them: one left in a key would end its metadata.yml line early for
        // a YAML reader.
        QString line = in.readLine().remove(QLatin1Char('\r'));
        // A directive may be hidden from YAML readers as a comment, but only
        // when it starts the line.
        if (line.startsWith(QLatin1String("#::")))
            line.remove(0, 1);
        if (isCommentLine(line))
            continue;
        line = stripComment(line);
        if (line.isEmpty())
            continue;

        TplLine record;
        record.parseLine(line);
        if (!record.id.isEmpty()) {
            for (int i = 0; i < lines.size(); ++i) {
                if (lines.at(i).id == record.id) {
                    qDebug() << "same ids" << i;
                    lines.at(i).dump(QString());
                    record.dump(QString());
                }
            }
        }
        lines.append(record);
        const int index = lines.size() - 1;

        const auto has = [&record](TplType type) { return record.types.contains(type); };
        if (has(Input))
            inputIdx.append(index);
        else if (has(SemiFix))
            semiFixIdx.append(index);
        else if (has(FromData))
            fromDataIdx.append(index);
        else if (has(Na))
            naIdx.append(index);
        else
            otherIdx.append(index);
    }
}

} // namespace korvane
