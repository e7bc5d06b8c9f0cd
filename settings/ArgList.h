#pragma once
// A store of named text entries: the command line and the configuration file
// (the global appArgs).

#include <QHash>
#include <QString>
#include <QStringList>

class QTextStream;

namespace korvane {

class ArgList
{
public:
    // Adds one entry per option of the argument vector; words that follow
    // no option, and argv[0], add nothing.
    void parse(int argc, char **argv);
    void add(const QString &name, const QString &value, const QString &text);

    bool has(const QString &name) const;                                        // exact name
    QString valueOf(const QString &name, const QString &def = QString()) const; // any case
    QString textOf(const QString &name, const QString &def = QString()) const;  // exact name
    // The option beats the configuration key, which beats the default.
    QString setting(const QString &def, const QString &key, const QString &option) const;
    QStringList valuesOf(const QString &name) const; // every entry of exactly this name
    QStringList textsOf(const QString &name) const;

    // Every entry of other, in its order, after those already here: where
    // names are the same, other's values win.
    void append(const ArgList &other);

    // Reads a configuration file into the store. Returns false, and why,
    // when the file (not an included one) could not be opened.
    bool readConfig(const QString &path, QString *why = nullptr);
    // Reads configuration lines from a stream; INCLUDE lines still name files.
    void readConfig(QTextStream &in);

    int size() const { return names.size(); }
    const QStringList &arrivalNames() const { return names; }

private:
    // Arrival list: every entry in order.
    QStringList names, values, texts;
    // Exact and letter-case-folded indexes: name -> slot in the parallel lists.
    QHash<QString, int> exactSlot, foldedSlot;
    QStringList exactValues, exactTexts, foldedValues, foldedTexts;
    // Files being read, innermost last, so that a cyclic INCLUDE ends.
    QStringList configStack;
};

extern ArgList appArgs;

} // namespace korvane
