#pragma once

// The player on the desktop's session bus (Linux): the MPRIS2 interfaces through which media
// keys, panels and tools control it, and one player at a time. Every action goes through the
// element inputs the buttons and the list use. Where there is no session bus (and on Windows)
// Connect answers nothing and every start is independent.

#include <memory>
#include <string>
#include <vector>

class TClassMainForm_8B54EB0;

class DesktopBus {
public:
    // The session bus, or nothing without one.
    static std::unique_ptr<DesktopBus> Connect();
    virtual ~DesktopBus() = default;

    // Takes the player's bus name. When another player holds it, hands the arguments over to
    // that one (its files added and the first played as the command line does; with none, its
    // window raised) and answers true: this process has nothing more to do. 'rejected' then
    // receives the arguments the running player could not use.
    virtual bool HandOver(const std::vector<std::string>& arguments,
                          std::vector<std::string>& rejected) = 0;

    // Serves the MPRIS2 object for the player until this is destroyed, which must happen
    // before the player is.
    virtual void Publish(TClassMainForm_8B54EB0& player) = 0;
};
