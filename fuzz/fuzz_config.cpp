// The configuration reader, INCLUDE lines included, on any bytes. The property checked is in
// FuzzChecks.h.
#include "FuzzSupport.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzQuiet();
    // a.cfg is written there for every input.
    static QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString why;
    return fuzzVerdict(fuzz::config(fuzzBytes(data, size), QDir::currentPath(), &why), why);
}
