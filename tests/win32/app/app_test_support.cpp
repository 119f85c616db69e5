#include "app_test_support.h"

#include <gtest/gtest.h>

#include "button/button.h"
#include "text.h"

namespace vantorel::app::test {

UiSeams RecordingUi::Seams() {
  UiSeams seams;
  seams.message_box = [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    shown.push_back({owner, text, caption, type});
    return IDOK;
  };
  seams.open_dialog = [this](HWND, std::wstring& filter) {
    filters.push_back(filter);
    // The real dialog converts the caller's filter in place.
    for (wchar_t& c : filter) {
      if (c == L'|') c = L'\0';
    }
    if (answers.empty()) return std::wstring();
    std::wstring answer = answers.front();
    answers.pop_front();
    return answer;
  };
  seams.file_changed = [this](const std::filesystem::path& file) { changed.push_back(file); };
  return seams;
}

void Drain(Form1& form) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (form.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

OpenForm::OpenForm() : form(std::make_unique<Form1>(ui.Seams())) {
  if (!form->Create(GetModuleHandleW(nullptr))) {
    ADD_FAILURE() << "Form1 was not created";
    return;
  }
  ShowWindow(form->hwnd(), SW_SHOW);
  SetForegroundWindow(form->hwnd());
  UpdateWindow(form->hwnd());
  Drain(*form);
}

void FormFixture::BackToStart() {
  ASSERT_NE(form().hwnd(), nullptr) << "a test closed the shared window";
  ReleaseCapture();
  SetText(kTFile1, L"");
  SetText(kTFile2, L"");
  // Emptying the fields ran the enable rule; at start it has not run yet.
  controls::Button::FromHwnd(Control(kCmdReplace))->SetEnabled(true);
  SendMessageW(Control(kCheck1), BM_SETCHECK, BST_CHECKED, 0);
  SetForegroundWindow(form().hwnd());
  SetFocus(Control(kTFile1));
  Drain();
  ui.shown.clear();
  ui.answers.clear();
  ui.filters.clear();
  ui.changed.clear();
}

std::wstring FormFixture::Text(Form1Control id) { return HwndText(Control(id)); }

void FormFixture::SetText(Form1Control id, const std::wstring& text) {
  SetWindowTextW(Control(id), text.c_str());
  Drain();
}

void FormFixture::Click(Form1Control id) {
  HWND control = Control(id);
  RECT r{};
  GetClientRect(control, &r);
  LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(control, WM_MOUSEMOVE, 0, at);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
  Drain();
}

std::string Narrow(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace vantorel::app::test
