#include "app/NativeDisplay.h"

#include "platform/posix/display.h"

bool SwitchToNativeDisplay() {
    return posix::UseNativeDisplay();
}
