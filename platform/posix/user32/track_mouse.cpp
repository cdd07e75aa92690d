// Mouse-leave tracking (_TrackMouseEvent). Hover tracking is not provided: nothing in the
// program asks for it, and a request for it fails rather than pretend.

#include "platform/posix/user32/input.h"
#include "platform/posix/user32/window_manager.h"

BOOL WINAPI _TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool nonClient = false;
    const HWND tracked = posix::MouseLeaveTracked(&nonClient);
    if ((track->dwFlags & TME_QUERY) != 0) {
        track->dwFlags = tracked != nullptr ? TME_LEAVE | (nonClient ? TME_NONCLIENT : 0) : 0;
        track->hwndTrack = tracked;
        track->dwHoverTime = 0;
        return TRUE;
    }
    if ((track->dwFlags & TME_HOVER) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((track->dwFlags & TME_LEAVE) == 0) {
        return TRUE;
    }
    if ((track->dwFlags & TME_CANCEL) != 0) {
        posix::CancelMouseLeave(track->hwndTrack);
        return TRUE;
    }
    if (posix::CheckedWindow(track->hwndTrack) == nullptr) {
        return FALSE;
    }
    // When the cursor is not over the window (or its part) already, it has left it.
    POINT cursor{};
    GetCursorPos(&cursor);
    const posix::HitResult hit = posix::HitTest(cursor);
    const bool wantNonClient = (track->dwFlags & TME_NONCLIENT) != 0;
    if (hit.Window != track->hwndTrack || (hit.Code != HTCLIENT) != wantNonClient) {
        PostMessageA(track->hwndTrack, wantNonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    posix::TrackMouseLeave(track->hwndTrack, wantNonClient);
    return TRUE;
}
