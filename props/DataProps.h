#pragma once
// The data-properties file: the per-file values (create-work flag, input and
// from_data keys) of every loaded data set, for editing in a spreadsheet.
// Four header lines (types, comments, YAML keys, ids), then one line per data
// set that starts with its file name.

#include <QList>
#include <QString>

class QTextStream;

namespace korvane {

class DataSet;
class MetaTemplate;

// Column 1 of a data line: the bare file name, quoted only when it holds a
// comma or a double quote, which would otherwise split or eat the field.
QString dataPropsFileNameField(const QString &fileName);
// The whole file. genWorkTitle heads the flag column on the comment line.
QString dataPropsText(const MetaTemplate &tpl, const QList<DataSet *> &dataSets,
                      const QString &genWorkTitle);
// Reads a file: the keys come from its fourth line alone, and each data line
// stores its values in the first data set of that file name, where they differ
// from what metaValue gives. Fields beyond the last key are ignored.
void applyDataProps(QTextStream &in, const QList<DataSet *> &dataSets);

} // namespace korvane
