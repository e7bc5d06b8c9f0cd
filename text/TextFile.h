#pragma once
// Whole text files read at once, as a text-mode QFile would deliver them.

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QTextStream>

namespace korvane {

// The largest file read: a line of a larger one could need a QString beyond
// what Qt can allocate (about 2^30 characters), and the readers' copies of
// it several times that in memory. Real scans and info files are far below.
constexpr qint64 maxTextFileBytes = qint64(256) << 20;

// The file's bytes as they are; false (and why) when it cannot be opened or
// read, is not a regular file or is larger than maxTextFileBytes. Opened
// without blocking, so that a named pipe nobody writes to cannot hang it.
bool readFileBytes(const QString &path, QByteArray &bytes, QString *why = nullptr);

// The file's bytes with every carriage return dropped, which is what reading
// it in text mode gives; false (and why) when it cannot be opened or read,
// is not a regular file or is larger than maxTextFileBytes.
bool readTextFileBytes(const QString &path, QByteArray &bytes, QString *why = nullptr);

// A text stream over a whole file read by readTextFileBytes: what every
// reader of an outside file opens, so that none of them can be held up by a
// pipe, fed for ever by a device or handed a line beyond Qt's limits.
class TextFileReader
{
public:
    bool open(const QString &path, QString *why = nullptr);
    QTextStream &stream() { return in; }
    // The bytes the stream reads, carriage returns dropped.
    const QByteArray &bytes() const { return data; }

private:
    QByteArray data;
    QBuffer buffer;
    QTextStream in;
};

} // namespace korvane
