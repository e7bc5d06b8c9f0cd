// The 9809 reader on any bytes. The property checked is in FuzzChecks.h.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzQuiet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString why;
    return fuzzVerdict(fuzz::read9809(fuzzBytes(data, size), &why), why);
}
