#include "app/NativeDisplay.h"

bool SwitchToNativeDisplay() {
    return true;
}
