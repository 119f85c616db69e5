// The window's commands, apart from the window: browse, Replace and About.
// Everything they show or ask goes through UiSeams, so a test can answer the
// dialogs and read every message.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

#include "vantorel/engine.h"
#include "vantorel/version.h"

namespace vantorel::app {

struct UiSeams {
  // A modal message box: text, caption and MB_* type; returns the button pressed.
  std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)> message_box;
  // The open-file dialog: OpenDlg's contract.
  std::function<std::wstring(HWND owner, std::wstring& filter)> open_dialog;
  // Tells the shell that a program file changed, so it shows the new icon.
  std::function<void(const std::filesystem::path& file)> file_changed;
};

// The real message box, dialog and shell notification.
UiSeams SystemSeams();

// The application's title: the caption of every message box but About's.
inline constexpr wchar_t kAppTitle[] = L"Vantorel";
inline constexpr wchar_t kTargetFilter[] = L"Application (.exe)|*.exe";
inline constexpr wchar_t kIconFilter[] = L"Icon (.ico)|*.ico";
inline constexpr wchar_t kSucceeded[] = L"Change Icon Succesfully";
inline constexpr wchar_t kFailed[] = L"Error: Change Icon Failed.";
// Follows the signed program's name in the failure box.
inline constexpr wchar_t kSignedRefusal[] =
    L" is signed: changing it would invalidate its signature. The program was not changed. To change it "
    L"anyway, use vantorel-cli with --allow-signed, then sign the program again.";
inline constexpr wchar_t kAboutTitle[] = L"About Vantorel";
// The project's one address and web site (CMakeLists.txt).
inline constexpr wchar_t kAuthorEmail[] = L"" VANTOREL_EMAIL;
inline constexpr wchar_t kWebSite[] = L"" VANTOREL_HOMEPAGE;

// The five lines of the About box, joined by a lone carriage return.
std::wstring AboutText();

// Browse: asks the dialog with a fresh copy of `filter`; a non-blank answer
// becomes the text of `field` (raising its change notification), anything
// else leaves the field as it was.
void Browse(HWND owner, HWND field, const wchar_t* filter, const UiSeams& ui);

// Replace may be pressed exactly when both paths hold at least one character.
bool ReplaceAllowed(const std::wstring& target, const std::wstring& icon);

struct ReplaceRequest {
  std::wstring target;  // tFile1, as it stands
  std::wstring icon;    // tFile2, as it stands
  bool backup = false;  // Check1 not unticked
};

// The Replace command: the backup copy when asked for, the engine, the outcome
// in a message box. Returns the engine's result, engine::kSignedRefused for a
// signed program, or engine::kBackupFailed when the backup was asked for and
// could not be made (the target is untouched in both).
int Replace(HWND owner, const ReplaceRequest& request, const UiSeams& ui);

// The engine's warnings, shown as message boxes (OK, exclamation, their title).
engine::WarningSink WarningBoxes(HWND owner, const UiSeams& ui);

void ShowAbout(HWND owner, const UiSeams& ui);

}  // namespace vantorel::app
