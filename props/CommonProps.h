#pragma once
// The common-properties file: one line of four quoted fields per property
// (id, value, comment, YAML key), no header line.

#include <QString>
#include <QVector>

class QTextStream;

namespace korvane {

class MetaTemplate;

struct CommonPropLine
{
    QString id;
    QString value;
    QString comment;
    QString key;
};

// One line of the file; missing fields are empty, fields after the fourth
// are ignored.
CommonPropLine commonPropLine(const QString &text);
// Every line up to the end of the stream, an empty line included.
QVector<CommonPropLine> readCommonPropLines(QTextStream &in);
// The line without its line end.
QString commonPropLineText(const CommonPropLine &line);
// The lines, each ended by a line end.
QString commonPropsText(const QVector<CommonPropLine> &lines);
// The starting file the user fills in: the template's SemiFix lines, with
// the blanks of each YAML key written as "." so the indentation shows.
QVector<CommonPropLine> commonPropsTemplateLines(const MetaTemplate &tpl);
QString commonPropsTemplateText(const MetaTemplate &tpl);

// Writes text to path as a text-mode file, forced to disk, whole or not at
// all: a failed write leaves the earlier file as it was; false with the
// reason in why.
bool savePropsFile(const QString &path, const QString &text, QString *why = nullptr);

} // namespace korvane
