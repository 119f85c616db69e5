// Form1: the program's one window. Two path fields with their labels and
// browse buttons, the backup box, Replace, Close and About.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <shellapi.h>

#include "commands.h"
#include "form1_layout.h"
#include "host/gdi_guards.h"

namespace vantorel::controls {
class Button;
}

namespace vantorel::app {

struct Form1Options {
  // The program's window ends the message loop when it goes; a test's does not.
  bool quit_on_close = false;
  // Where the window opens: centred on the work area, or at (x, y).
  bool centre = true;
  POINT position{0, 0};
};

class Form1 {
 public:
  explicit Form1(UiSeams ui, Form1Options options = {});
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Registers the class once and creates the window, hidden.
  bool Create(HINSTANCE instance);

  HWND hwnd() const { return hwnd_; }
  HWND Control(Form1Control id) const { return GetDlgItem(hwnd_, id); }
  // The screen's logical pixels per inch, across and down.
  POINT PixelsPerInch() const { return ppi_; }
  HFONT FormFont() const { return form_font_.get(); }

  // Keyboard navigation between the controls (Tab, Shift+Tab, arrows); true
  // when the message was handled and must not be dispatched.
  bool PreTranslate(MSG& msg);

  // The commands, as the buttons' Click events run them.
  void ReplaceClick();
  void AboutClick();
  void CloseClick();
  void BrowseClick(Form1Control button);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool OnCreate();
  HWND CreateStandardControl(const ControlLayout& control);
  HWND CreateButton(const ControlLayout& control);
  void SetReplaceEnabled(bool enabled);
  void OnCommand(int id, int code);
  LRESULT OnCtlColor(HDC dc, bool edit);
  void OnDropFiles(HDROP drop);
  // Each dropped path goes to the field its name suits: .ico and .png to the
  // icon field, anything else to the program field.
  void FillFieldsFrom(HDROP drop);
  // The same for files dragged onto one of the buttons, which are drop targets
  // of their own; false when the data holds no files.
  bool FillFieldsFrom(IDataObject* data);
  void AcceptFileDrops(controls::Button& button);
  void OnNcDestroy();
  void ApplyEnableRule();
  HFONT FontFor(ControlFont font) const;

  UiSeams ui_;
  Form1Options options_;
  HWND hwnd_ = nullptr;
  POINT ppi_{96, 96};
  host::GdiObject<HFONT> form_font_;
  host::GdiObject<HFONT> path_row_font_;
  host::GdiObject<HFONT> small_font_;
  host::GdiObject<HBRUSH> white_brush_;
  HWND last_focus_ = nullptr;
};

}  // namespace vantorel::app
