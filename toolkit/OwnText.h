#pragma once

// The program's own texts (captions, titles, the filter names of its dialogs) are byte
// strings read by one rule: valid UTF-8 is UTF-8, anything else is Windows-1251, the code page
// of its captions. The Linux layer's ...A functions follow that rule. Windows would read them
// in the system's ANSI code page, so there the texts that are not plain ASCII travel through
// the wide functions. File names are not own texts: they stay in the system's ANSI bytes.

#include <string>

#include "platform/win32.h"

// Sets a window's text.
void SetOwnWindowText(HWND window, const std::string& text);

// After a window was created with 'caption': stores the caption again where the system read it
// by another rule.
void StoreOwnCaption(HWND window, const std::string& caption);

// A window's text, as bytes that SetOwnWindowText turns back into the same text: 'lastSet',
// the text last given to the window, while the window still holds it.
std::string OwnWindowText(HWND window, const std::string& lastSet);

// MessageBoxA with own texts.
int ShowOwnMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// GetOpenFileNameA or GetSaveFileNameA, reading the record's title and filter as own texts.
BOOL RunOwnFileDialog(OPENFILENAMEA& record, bool open);
