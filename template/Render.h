#pragma once
// Rendering of metadata.yml for one data set from the template, the common
// properties and the data set's own values.

#include <QMap>
#include <QString>
#include <QVector>

namespace korvane {

class MetaTemplate;

// One row of the common-properties sheet as the renderer sees it.
struct CommonValue
{
    QString id;
    QString value;
};
using CommonValues = QVector<CommonValue>;
// A data set's own values by metadata key.
using MetaValues = QMap<QString, QString>;

// The value of id for the data set: its own value wins over the first common
// row whose value is not "--"; "--" anywhere sets nothing.
bool lookupValue(const CommonValues &common, const MetaValues &own, const QString &id,
                 QString &value);
// The whole text of metadata.yml.
QString renderMetadata(const MetaTemplate &tpl, const CommonValues &common, const MetaValues &own);
// Writes renderMetadata() to path, whole or not at all; false (and why) on failure.
bool writeMetadataFile(const QString &path, const MetaTemplate &tpl, const CommonValues &common,
                       const MetaValues &own, QString *why = nullptr);
// A value as it stands in a YAML line: bare when a YAML reader reads it back
// unchanged, else double-quoted with backslash escapes. literal forces quotes.
QString yamlValue(const QString &value, bool literal);

} // namespace korvane
