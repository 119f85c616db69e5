// What the window tests share: a UI whose message boxes and dialogs are
// recorded and answered, and a Form1 made with it.
#pragma once

#include <windows.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "form1.h"

namespace vantorel::test {

struct Shown {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
};

class RecordingUi {
 public:
  app::UiSeams Seams();

  std::vector<Shown> shown;
  std::deque<std::wstring> answers;      // what the open-file dialog gives back, in turn
  std::vector<std::wstring> filters;     // the filter each dialog was asked with
  std::vector<std::filesystem::path> changed;
};

// Dispatches every waiting message the way the program's loop does.
void Drain(app::Form1& form);

// A Form1 on screen, with a recording UI.
class FormFixture {
 public:
  FormFixture();
  app::Form1& form() { return *form_; }
  HWND Control(app::Form1Control id) { return form_->Control(id); }
  std::wstring Text(app::Form1Control id);
  void SetText(app::Form1Control id, const std::wstring& text);
  void Drain() { test::Drain(*form_); }
  // A left click in the middle of a control, as the mouse sends it.
  void Click(app::Form1Control id);

  RecordingUi ui;

 private:
  std::unique_ptr<app::Form1> form_;
};

std::string Narrow(const std::wstring& text);

}  // namespace vantorel::test
