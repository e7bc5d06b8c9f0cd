// Bytes to a record, its metadata.yml and its spectrum picture. The property checked is in
// FuzzChecks.h.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzQuiet();
    fuzzGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString why;
    return fuzzVerdict(fuzz::pipeline(fuzzBytes(data, size), &why), why);
}
