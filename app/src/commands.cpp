#include "commands.h"

#include <shlobj.h>

#include "mod_opendlg.h"
#include "text.h"

namespace vantorel::app {

UiSeams SystemSeams() {
  UiSeams ui;
  ui.message_box = [](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
  };
  ui.open_dialog = [](HWND owner, std::wstring& filter) { return OpenDlg(owner, filter); };
  ui.file_changed = [](const std::filesystem::path& file) {
    SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, file.c_str(), nullptr);
  };
  return ui;
}

std::wstring AboutText() {
  return std::wstring(L"Author        :     Orlevy") + L"\r" +
         L"E-mail         :    " + kAuthorEmail + L"\r" +
         L"Web Site    :    " + kWebSite + L"\r" +
         L"\r" +
         L"      Thank you for using this program";
}

void Browse(HWND owner, HWND field, const wchar_t* filter, const UiSeams& ui) {
  std::wstring filter_copy = filter;
  std::wstring chosen = ui.open_dialog(owner, filter_copy);
  if (TrimBlanks(chosen).empty()) return;
  SetWindowTextW(field, chosen.c_str());
}

bool ReplaceAllowed(const std::wstring& target, const std::wstring& icon) {
  return !icon.empty() && !target.empty();
}

engine::WarningSink WarningBoxes(HWND owner, const UiSeams& ui) {
  return [owner, &ui](const std::string& title, const std::string& text) {
    ui.message_box(owner, Wide(text), Wide(title), MB_OK | MB_ICONEXCLAMATION);
  };
}

int Replace(HWND owner, const ReplaceRequest& request, const UiSeams& ui) {
  const std::filesystem::path target(request.target);
  const std::filesystem::path icon(request.icon);
  // Any change invalidates a signature, and the window asks no consent: a
  // signed program is refused before anything is copied or written, with the
  // way to change it all the same.
  if (engine::IsSignedProgram(target)) {
    ui.message_box(owner,
                   std::wstring(kFailed) + L"\r\n" + target.wstring() + kSignedRefusal, kAppTitle,
                   MB_OK | MB_ICONERROR);
    return engine::kSignedRefused;
  }
  if (request.backup) {
    // One step that fails when the backup exists, so an older backup is never
    // overwritten; a failed copy stops the replacement, since the user asked
    // for a way back before the target is touched. The system's reason
    // follows the fixed sentence.
    std::filesystem::path backup = engine::BackupPath(target);
    std::string why;
    if (engine::MakeBackup(target, backup, why) == engine::BackupResult::Failed) {
      ui.message_box(owner,
                     std::wstring(kFailed) + L"\r\nCould not create the backup file " + backup.wstring() +
                         L". The target was not changed.\r\n" + Wide(why),
                     kAppTitle, MB_OK | MB_ICONERROR);
      return engine::kBackupFailed;
    }
  }
  std::string failure_text;
  int32_t result = engine::Change_Icon(icon, target, failure_text, WarningBoxes(owner, ui));
  if (result == engine::kSuccess) {
    if (ui.file_changed) ui.file_changed(target);
    ui.message_box(owner, kSucceeded, kAppTitle, MB_OK | MB_ICONINFORMATION);
  } else {
    ui.message_box(owner, std::wstring(kFailed) + L"\r\n" + Wide(failure_text), kAppTitle, MB_OK | MB_ICONERROR);
  }
  return result;
}

void ShowAbout(HWND owner, const UiSeams& ui) {
  ui.message_box(owner, AboutText(), kAboutTitle, MB_OK | MB_ICONINFORMATION);
}

}  // namespace vantorel::app
