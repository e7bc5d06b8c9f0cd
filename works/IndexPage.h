#pragma once
// index.html of a generation pass: a table with one row per work linking its
// thumbnail, data copy and metadata.yml, relative to the works directory.

#include <QString>

class QTextStream;

namespace korvane {

// The seven lines before the first row.
void writeIndexHead(QTextStream &out, const QString &title, const QString &heading);
// One row, for the work folder workName whose files are named fileBase and
// whose data copy is copyName.
void writeIndexRow(QTextStream &out, const QString &workName, const QString &fileBase,
                   const QString &copyName);
// The three lines after the last row.
void writeIndexTail(QTextStream &out);

// text with & < > " written as character references.
QString htmlEscaped(const QString &text);
// A relative path as it goes into href or src: % # ? percent-encoded so the
// browser opens the file of that name, then HTML-escaped.
QString htmlLink(const QString &path);

} // namespace korvane
