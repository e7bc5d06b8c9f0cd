#pragma once
// The metadata template: the pattern of every metadata.yml and the catalogue
// of keys korvane knows, one TplLine per kept line.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

class QTextStream;

namespace korvane {

enum TplType
{
    Input = 0,
    SemiFix = 1,
    FromData = 2,
    Na = 3,
    Other = 4
};

class TplLine
{
public:
    bool isMeta = false;
    QString ymlKey;
    QString id;
    QVector<int> types;
    QString defValue;
    bool flag = false;
    QString comm;
    QString blockName;
    bool literal = false;
    QStringList pids;

    void parseLine(const QString &line);
    void dump(const QString &tag) const;
    QString typesText() const;
};

class MetaTemplate
{
public:
    QVector<TplLine> lines;
    QList<int> inputIdx;
    QList<int> semiFixIdx;
    QList<int> fromDataIdx;
    QList<int> naIdx;
    QList<int> otherIdx;

    // Appends the lines of the file; false when it could not be opened.
    bool load(const QString &path);
    void load(QTextStream &in);
};

} // namespace korvane
