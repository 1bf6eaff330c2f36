// Both MES answers (in-station and out-station) as they come over HTTP.
#include "FuzzSupport.h"
#include "production/MesReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString body = QString::fromUtf8(fuzz::bytes(data, size));
    // One reading per input, the answer chosen by the length, so that a run costs
    // one parse and every body still meets both readings.
    if (size % 2 == 0) {
        const MesReply in = MesReply::parse(body, "success", "timestamp");
        fuzz::require(in.object || (!in.success && in.message.isEmpty() && in.timestamp.isEmpty()),
                      "no success without a JSON object");
    } else {
        const MesReply out = MesReply::parse(body, "bSuccess");
        fuzz::require(out.object || !out.success, "no success without a JSON object");
        fuzz::require(out.timestamp.isEmpty(), "no time stamp where none is asked for");
    }
    return 0;
}
