#include "VisionBackend.h"

#include <atomic>

namespace {
std::atomic<VisionBackend*> installed{nullptr};
}

void VisionBackend::install(VisionBackend* backend) {
    installed.store(backend, std::memory_order_release);
}

VisionBackend* VisionBackend::current() {
    return installed.load(std::memory_order_acquire);
}
