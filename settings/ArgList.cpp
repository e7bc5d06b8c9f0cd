#include "settings/ArgList.h"
#include "text/TextFile.h"

#include "text/LineItems.h"
#include "text/Why.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace korvane {

ArgList appArgs;

namespace {

bool isOption(const QString &arg)
{
    return arg.startsWith(QLatin1Char('-'));
}

// Writes value and text into the slot of key, appending a slot for a new key.
void store(QHash<QString, int> &slotOf, QStringList &values, QStringList &texts, const QString &key,
           const QString &value, const QString &text)
{
    const auto found = slotOf.constFind(key);
    if (found != slotOf.constEnd()) {
        values[*found] = value;
        texts[*found] = text;
        return;
    }
    slotOf.insert(key, values.size());
    values << value;
    texts << text;
}

} // namespace

void ArgList::parse(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromUtf8(argv[i]);

    int i = 0;
    while (i < args.size()) {
        if (!isOption(args.at(i))) {
            ++i;
            continue;
        }
        const QString name = args.at(i);
        QStringList words;
        int j = i + 1;
        while (j < args.size() && !isOption(args.at(j)))
            words << args.at(j++);
        add(name, words.value(0), words.join(QLatin1Char(' ')));
        i = j;
    }
}

void ArgList::add(const QString &name, const QString &value, const QString &text)
{
    store(exactSlot, exactValues, exactTexts, name, value, text);
    store(foldedSlot, foldedValues, foldedTexts, name.toUpper(), value, text);
    names << name;
    values << value;
    texts << text;
}

void ArgList::append(const ArgList &other)
{
    for (int i = 0; i < other.names.size(); ++i)
        add(other.names.at(i), other.values.at(i), other.texts.at(i));
}

bool ArgList::has(const QString &name) const
{
    return exactSlot.contains(name);
}

QString ArgList::valueOf(const QString &name, const QString &def) const
{
    const auto found = foldedSlot.constFind(name.toUpper());
    return found == foldedSlot.constEnd() ? def : foldedValues.at(*found);
}

QString ArgList::textOf(const QString &name, const QString &def) const
{
    const auto found = exactSlot.constFind(name);
    return found == exactSlot.constEnd() ? def : exactTexts.at(*found);
}

QString ArgList::setting(const QString &def, const QString &key, const QString &option) const
{
    return valueOf(option, valueOf(key, def));
}

QStringList ArgList::valuesOf(const QString &name) const
{
    QStringList result;
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i) == name)
            result << values.at(i);
    return result;
}

QStringList ArgList::textsOf(const QString &name) const
{
    QStringList result;
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i) == name)
            result << texts.at(i);
    return result;
}

bool ArgList::readConfig(const QString &path, QString *why)
{
    // The system ends a name at a NUL where Qt's own checks do not, so such a
    // name could open a file the cycle check below does not recognise.
    if (path.contains(QChar(0))) {
        qDebug() << "Can't open config file : " << path;
        if (why)
            *why = reason("its name holds a NUL character");
        return false;
    }
    // A file already being read is included again only through a cycle;
    // reading it once more would never end.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty() && configStack.contains(canonical)) {
        qDebug() << "Skipping cyclic INCLUDE of" << path;
        return true;
    }
    TextFileReader file;
    if (!file.open(path, why)) {
        qDebug() << "Can't open config file : " << path;
        return false;
    }
    configStack << canonical;
    readConfig(file.stream());
    configStack.removeLast();
    return true;
}

void ArgList::readConfig(QTextStream &in)
{
    while (!in.atEnd()) {
        const QString line = stripComment(in.readLine());
        if (isBlankLine(line))
            continue;
        QString key, value;
        // The entry's text is everything behind the key, quotes and further
        // items included; only the value is a single item.
        const QString text = takeItem(line, key);
        takeItem(text, value);
        if (key.toUpper() == QLatin1String("INCLUDE"))
            readConfig(value);
        else
            add(key, value, text);
    }
}

} // namespace korvane
