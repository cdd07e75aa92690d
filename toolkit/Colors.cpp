#include "toolkit/Colors.h"

COLORREF ResolveColor(TColor color) {
    if ((color & SystemColorFlag) == 0) {
        return color;
    }
    return GetSysColor(static_cast<int>(color & 0xFFu));
}
