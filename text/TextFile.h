#pragma once
// Whole text files read at once, as a text-mode QFile would deliver them.

#include <QByteArray>
#include <QString>

// The file's bytes with every carriage return dropped, which is what reading
// it in text mode gives; false (and why) when it cannot be opened or read,
// or is not a regular file.
bool readTextFileBytes(const QString &path, QByteArray &bytes, QString *why = nullptr);
