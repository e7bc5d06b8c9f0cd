#pragma once
// Fields of the two property files and the key alignment of metadata.yml.

#include <QString>

// Takes the next field from the front of line into field and returns the rest
// after the field's comma.
QString takeCsvField(const QString &line, QString &field);
QString csvEscape(const QString &value);
QString csvQuote(const QString &value);
QString csvNext(const QString &value);
QString padRight(const QString &text, int width);
