#pragma once
// Small helpers shared by the tests.

#include <QFile>
#include <QString>
#include <QTextStream>

inline QString testDataPath(const QString &name)
{
    return QStringLiteral(KORVANE_TEST_DATA "/") + name;
}

inline QString sourcePath(const QString &name)
{
    return QStringLiteral(KORVANE_SOURCE_DIR "/") + name;
}

inline bool writeTextFile(const QString &path, const QString &text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate))
        return false;
    QTextStream out(&f);
    out << text;
    return true;
}

inline QString readTextFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&f);
    return in.readAll();
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}
