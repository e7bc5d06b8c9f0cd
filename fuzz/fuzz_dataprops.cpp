// The data-properties reader on any bytes, applied to the example records. The property checked is
// in FuzzChecks.h.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzQuiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString why;
    return fuzzVerdict(fuzz::dataProps(fuzzBytes(data, size), &why), why);
}
