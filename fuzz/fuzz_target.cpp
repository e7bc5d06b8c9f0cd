// A libFuzzer target for the check of FuzzChecks.h named KORVANE_FUZZ_TARGET; a
// broken property aborts, so that the fuzzer records the input.
#include "FuzzChecks.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Millions of runs would otherwise spend their time writing diagnostics.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // The configuration check writes a.cfg into the current folder.
    static QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        std::abort();
    // Fonts and painting need an application object.
    if (qstrcmp(KORVANE_FUZZ_TARGET, "pipeline") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz", *argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    QString why;
    if (!fuzz::check(QStringLiteral(KORVANE_FUZZ_TARGET), bytes, &why)) {
        std::fprintf(stderr, "property failed: %s\n", qPrintable(why));
        std::abort();
    }
    return 0;
}
