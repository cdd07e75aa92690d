// The player's main routine: the info box when asked for, otherwise the player, given the files
// the arguments name, until its window closes. Either ends with a failure code when its window
// cannot be made (no display to show it on).

#include "app/CommandArgument.h"
#include "app/InfoBox.h"
#include "app/PlayerRun.h"

int main() {
    if (CommandArgument(1) == InfoSwitch) {
        return ShowInfoBox() ? 0 : 1;
    }
    return RunPlayer(CommandArguments());
}
