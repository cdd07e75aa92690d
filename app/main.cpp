// The player's main routine: the info box when asked for, otherwise the player until its
// window closes.

#include "app/CommandArgument.h"
#include "app/InfoBox.h"
#include "app/NativeDisplay.h"
#include "app/PlayerRun.h"

int main() {
    if (!SwitchToNativeDisplay()) {
        return 1;
    }
    if (CommandArgument(1) == InfoSwitch) {
        ShowInfoBox();
        return 0;
    }
    return RunPlayer();
}
