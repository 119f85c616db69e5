// What the window tests share: a UI whose message boxes and dialogs are
// recorded and answered, and a Form1 made with it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "form1.h"

namespace vantorel::app::test {

struct Shown {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
};

class RecordingUi {
 public:
  UiSeams Seams();

  std::vector<Shown> shown;
  std::deque<std::wstring> answers;      // what the open-file dialog gives back, in turn
  std::vector<std::wstring> filters;     // the filter each dialog was asked with
  std::vector<std::filesystem::path> changed;
};

// Dispatches every waiting message the way the program's loop does.
void Drain(Form1& form);

// A Form1 on screen with its recording UI.
struct OpenForm {
  OpenForm();
  RecordingUi ui;
  std::unique_ptr<Form1> form;
};

// Reaches a test's Form1. Made by default, it opens a window of its own.
class FormFixture {
 public:
  FormFixture() : FormFixture(std::make_shared<OpenForm>()) {}
  Form1& form() { return *open_->form; }
  HWND Control(Form1Control id) { return form().Control(id); }
  std::wstring Text(Form1Control id);
  void SetText(Form1Control id, const std::wstring& text);
  void Drain() { test::Drain(form()); }
  // A left click in the middle of a control, as the mouse sends it.
  void Click(Form1Control id);

 protected:
  explicit FormFixture(std::shared_ptr<OpenForm> open) : open_(std::move(open)) {}
  // Back to the state the window starts in: empty fields with Replace enabled
  // (no text has changed yet), the backup box ticked, the focus in the first
  // field, no capture, nothing recorded.
  void BackToStart();

 private:
  std::shared_ptr<OpenForm> open_;

 public:
  RecordingUi& ui = open_->ui;
};

// A group of tests that share one window: making and destroying a top-level
// window costs about two seconds under Wine. Each test starts from the state
// the window starts in; a test that closes the window needs its own.
class SharedFormTest : public ::testing::Test, public FormFixture {
 public:
  static void SetUpTestSuite() { shared_ = std::make_shared<OpenForm>(); }
  static void TearDownTestSuite() { shared_.reset(); }

 protected:
  SharedFormTest() : FormFixture(shared_) { BackToStart(); }

 private:
  static inline std::shared_ptr<OpenForm> shared_;
};

std::string Narrow(const std::wstring& text);

}  // namespace vantorel::app::test
