// Vantorel: gives a Windows program file a new icon.
#include <windows.h>

#include "commands.h"
#include "form1.h"

namespace app = vantorel::app;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  app::Form1Options options;
  options.quit_on_close = true;
  app::Form1 form(app::SystemSeams(), options);
  if (!form.Create(instance)) {
    MessageBoxW(nullptr, L"The window could not be created.", app::kAppTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
  ShowWindow(form.hwnd(), show);
  UpdateWindow(form.hwnd());
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
