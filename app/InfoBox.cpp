#include "app/InfoBox.h"

#include "toolkit/OwnText.h"

namespace {

// "Сделано в Zubrel." in the Windows-1251 code page of the program's captions.
constexpr char InfoText[] = "\xD1\xE4\xE5\xEB\xE0\xED\xEE \xE2 Zubrel.";
constexpr char InfoCaption[] = "Zubrel Info";

} // namespace

bool ShowInfoBox() {
    return ShowOwnMessageBox(nullptr, InfoText, InfoCaption, 0) != 0;
}
