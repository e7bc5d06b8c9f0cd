#pragma once
// The frame of every fuzz target: quiet logging, an application object
// when one is needed, and a broken property turned into a crash that the
// fuzzer records.

#include "FuzzChecks.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Millions of runs would otherwise spend their time writing diagnostics.
inline void fuzzQuiet()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

// Fonts and painting need an application object, made once.
inline void fuzzGuiApp()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

inline int fuzzVerdict(bool held, const QString &why)
{
    if (!held) {
        std::fprintf(stderr, "property failed: %s\n", qPrintable(why));
        std::abort();
    }
    return 0;
}
