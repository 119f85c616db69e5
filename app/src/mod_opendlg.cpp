#include "mod_opendlg.h"

#include <algorithm>
#include <vector>

#include "text.h"

namespace vantorel::app {

std::wstring OpenDlg(HWND owner, std::wstring& filter, OpenFileNameCall call) {
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  // The list ends with an empty string: the extra NUL plus the terminator
  // that c_str() guarantees give the two NULs the dialog looks for.
  std::wstring list = filter;
  list.push_back(L'\0');

  // Both buffers start as blanks, which the dialog shows as the initial name
  // and the trim below removes again.
  std::vector<wchar_t> file(kOpenDlgBuffer, L' ');
  file.back() = L'\0';
  std::vector<wchar_t> title(kOpenDlgBuffer, L' ');
  title.back() = L'\0';
  static const wchar_t kNoFolder[] = L"";

  OPENFILENAMEW ofn{};
  // The record as it was before the three trailing fields were added: every
  // version of the dialog accepts it.
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.hwndOwner = owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = list.c_str();
  ofn.nFilterIndex = 0;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
  ofn.lpstrInitialDir = kNoFolder;
  ofn.lpstrTitle = L"Open File";
  ofn.Flags = 0;

  if (!call(&ofn)) return {};
  // Never read past the buffer, whatever the call left in it.
  auto end = std::find(file.begin(), file.end(), L'\0');
  return TrimBlanks(std::wstring_view(file.data(), static_cast<size_t>(end - file.begin())));
}

}  // namespace vantorel::app
