// MOD_OPENDLG: the system's open-file dialog, asked for one file.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

namespace vantorel::app {

// The call that shows the dialog; tests put a stand-in here to see the record
// and to answer for the user.
using OpenFileNameCall = BOOL(WINAPI*)(OPENFILENAMEW*);

// Characters of the file buffer, its terminating NUL included: paths of up to
// 254 characters come back whole, longer ones make the dialog fail.
constexpr size_t kOpenDlgBuffer = 255;

// Shows the open-file dialog titled "Open File", modal to `owner`, with the
// filter list `filter` ("description|pattern", more pairs joined by "|").
// Every bar of `filter` is turned into a NUL in place, as the dialog's list
// format wants it. Returns the chosen path without leading or trailing blanks,
// or an empty text when the user cancelled or the dialog failed.
std::wstring OpenDlg(HWND owner, std::wstring& filter, OpenFileNameCall call = GetOpenFileNameW);

}  // namespace vantorel::app
