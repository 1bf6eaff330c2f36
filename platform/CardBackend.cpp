#include "CardBackend.h"

std::atomic<CardBackend*> CardBackend::s_current{nullptr};

void CardBackend::install(CardBackend* backend) {
    s_current.store(backend, std::memory_order_release);
}
