// Both MES answers (in-station and out-station) as they come over HTTP.
#include "FuzzSupport.h"
#include "production/MesReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString body = QString::fromUtf8(fuzz::bytes(data, size));
    const MesReply in = MesReply::parse(body, "success", "timestamp");
    const MesReply out = MesReply::parse(body, "bSuccess");
    fuzz::require(in.object == out.object, "both read the same body alike");
    fuzz::require(in.object || (!in.success && in.message.isEmpty()), "no success without a JSON object");
    fuzz::require(out.object || !out.success, "no success without a JSON object");
    return 0;
}
