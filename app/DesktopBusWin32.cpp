#include "app/DesktopBus.h"

// Windows has no session bus.
std::unique_ptr<DesktopBus> DesktopBus::Connect() {
    return nullptr;
}
