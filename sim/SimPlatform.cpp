#include "platform/Platform.h"

namespace Platform {
void start() {}
void stop() {}
QWidget* companionWindow() { return nullptr; }
} // namespace Platform
