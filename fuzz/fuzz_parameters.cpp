// Parameter and run-data files of a recipe: any text loads what it can and
// never writes outside the arrays.
#include "FuzzSupport.h"
#include "platform/kzct.h"
#include "platform/kzct_internal.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::scratchRoot();
    const QByteArray text = fuzz::bytes(data, size);
    // One file kind per input, chosen by the length, so that a run costs one parse
    // and every text still meets both kinds.
    const bool runData = size % 2 == 1;
    const kzct::LoadCheck c = kzct::applyFileText(text, runData ? "RunData.ini" : "Parameters.ini", runData);
    fuzz::require(c.entries >= 0 && c.entries <= c.expected, "entries applied within the sections");
    fuzz::require(c.unreadable == c.skipped.size(), "every unreadable line is named");
    fuzz::require(c.expected == (runData ? kGrSize : kGdSize + kGfSize), "the sections' sizes");
    return 0;
}
