// The laser height sensor's reply on the network.
#include "FuzzSupport.h"
#include "vision/TcpBase.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double raw = -12345.0;
    if (TcpBase::parseReply(fuzz::bytes(data, size), &raw))
        fuzz::require(std::isfinite(raw) && std::fabs(raw) < 10000.0, "a parsed height is a finite number");
    else
        fuzz::require(raw == -12345.0, "a refused reply leaves the value");
    return 0;
}
