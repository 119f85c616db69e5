#include "form1.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "host/gdi_guards.h"
#include "host/hosted_control.h"
#include "host/screen.h"
#include "text.h"

namespace vantorel::app {

namespace {

constexpr wchar_t kClassName[] = L"Vantorel.Form1";
// A fixed-size window: the layout is fixed in twips, so resizing would only
// show empty space.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_ACCEPTFILES;
constexpr int kProgramIcon = 1;
constexpr int kLabelGap = 4;  // pixels kept free between a label and its field

bool EndsWith(const std::wstring& path, const wchar_t (&extension)[5]) {
  if (path.size() < 4) return false;
  return CompareStringOrdinal(path.c_str() + path.size() - 4, 4, extension, 4, TRUE) == CSTR_EQUAL;
}

// An icon file, or a PNG picture, which the engine takes as an icon of every
// size: either names the icon, never the program.
bool NamesAnIcon(const std::wstring& path) { return EndsWith(path, L".ico") || EndsWith(path, L".png"); }

int TextWidth(HFONT font, const wchar_t* text) {
  host::WindowDc screen;
  host::ScopedSelect selected(screen.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(screen.get(), text, lstrlenW(text), &size);
  return size.cx;
}

HICON ProgramIcon(HINSTANCE instance, int cx_metric, int cy_metric) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                       GetSystemMetrics(cx_metric), GetSystemMetrics(cy_metric), 0));
}

}  // namespace

Form1::Form1(UiSeams ui, Form1Options options) : ui_(std::move(ui)), options_(options) {}

Form1::~Form1() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Form1::Create(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, kClassName, &wc)) {
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hIcon = ProgramIcon(instance, SM_CXICON, SM_CYICON);
    wc.hIconSm = ProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return false;
  }
  ppi_ = host::ScreenPixelsPerInch();
  RECT frame{0, 0, TwipsToWholePixels(kForm1ClientWidth, ppi_.x), TwipsToWholePixels(kForm1ClientHeight, ppi_.y)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  POINT at = options_.position;
  if (options_.centre) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    at.x = work.left + (work.right - work.left - width) / 2;
    at.y = work.top + (work.bottom - work.top - height) / 2;
  }
  CreateWindowExW(kExStyle, kClassName, kForm1Caption, kStyle, at.x, at.y, width, height, nullptr, nullptr,
                  instance, this);
  return hwnd_ != nullptr;
}

bool Form1::PreTranslate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  return host::TranslateAccessKey(msg) || IsDialogMessageW(hwnd_, &msg) != FALSE;
}

LRESULT CALLBACK Form1::WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->OnMessage(message, wparam, lparam);
}

LRESULT Form1::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_CTLCOLOREDIT:
      return OnCtlColor(reinterpret_cast<HDC>(wparam), true);
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(reinterpret_cast<HDC>(wparam), false);
    case WM_ACTIVATE:
      // Leaving: remember where the focus was, to put it back on return.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
      }
      return DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_SETFOCUS:
      // The window itself takes no typing: the focus goes on to a control,
      // the first path field the first time.
      SetFocus(last_focus_ && IsWindow(last_focus_) ? last_focus_ : Control(kTFile1));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_DESTROY:
      if (options_.quit_on_close) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

bool Form1::OnCreate() {
  form_font_.Reset(CreateChosenFont(kFormFont, ppi_.y));
  path_row_font_.Reset(CreateChosenFont(kPathRowFont, ppi_.y));
  small_font_.Reset(CreateChosenFont(kSmallFont, ppi_.y));
  white_brush_.Reset(CreateSolidBrush(RGB(255, 255, 255)));
  if (!form_font_ || !path_row_font_ || !small_font_ || !white_brush_) return false;
  for (const ControlLayout& control : kForm1Controls) {
    HWND child = control.kind == ControlKind::Button ? CreateButton(control) : CreateStandardControl(control);
    if (!child) return false;
  }
  // Users most often want the way back; an unticked box is one click away.
  SendMessageW(Control(kCheck1), BM_SETCHECK, BST_CHECKED, 0);
  DragAcceptFiles(hwnd_, TRUE);
  return true;
}

HWND Form1::CreateStandardControl(const ControlLayout& control) {
  const wchar_t* cls = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD ex_style = 0;
  switch (control.kind) {
    case ControlKind::Label:
      style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
      break;
    case ControlKind::TextField:
      cls = L"EDIT";
      style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
      ex_style = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::CheckBox:
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case ControlKind::Button:
      return nullptr;
  }
  RECT r = PixelRect(control, ppi_);
  if (control.kind == ControlKind::Label) {
    // The layout was made with a font whose text just fits; where the system's
    // font is wider, the label takes what it needs of the free space before
    // its field rather than cutting its text.
    int room = PixelRect(LayoutOf(FieldOfLabel(control.id)), ppi_).left - kLabelGap;
    LONG needed = r.left + TextWidth(FontFor(control.font), control.text);
    r.right = std::max<LONG>(r.right, std::min<LONG>(needed, room));
  }
  HWND child = CreateWindowExW(ex_style, cls, control.text, style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
  if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.font)), FALSE);
  return child;
}

HFONT Form1::FontFor(ControlFont font) const {
  return font == ControlFont::PathRow ? path_row_font_.get() : small_font_.get();
}

void Form1::OnCommand(int id, int code) {
  if ((id == kTFile1 || id == kTFile2) && code == EN_CHANGE) ApplyEnableRule();
}

LRESULT Form1::OnCtlColor(HDC dc, bool edit) {
  if (edit) {
    // The path fields are white whatever the system's window colour is.
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(white_brush_.get());
  }
  // Labels and the check box sit on the window's own background.
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void Form1::OnDropFiles(HDROP drop) {
  FillFieldsFrom(drop);
  DragFinish(drop);
}

void Form1::FillFieldsFrom(HDROP drop) {
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
    SetWindowTextW(Control(NamesAnIcon(path) ? kTFile2 : kTFile1), path.c_str());
  }
}

void Form1::ApplyEnableRule() {
  SetReplaceEnabled(ReplaceAllowed(HwndText(Control(kTFile1)), HwndText(Control(kTFile2))));
}

void Form1::ReplaceClick() {
  ReplaceRequest request;
  request.target = HwndText(Control(kTFile1));
  request.icon = HwndText(Control(kTFile2));
  request.backup = SendMessageW(Control(kCheck1), BM_GETCHECK, 0, 0) != BST_UNCHECKED;
  Replace(hwnd_, request, ui_);
}

void Form1::AboutClick() { ShowAbout(hwnd_, ui_); }

void Form1::CloseClick() { DestroyWindow(hwnd_); }

void Form1::BrowseClick(Form1Control button) {
  if (button == kOpen1) Browse(hwnd_, Control(kTFile1), kTargetFilter, ui_);
  else Browse(hwnd_, Control(kTFile2), kIconFilter, ui_);
}

void Form1::OnNcDestroy() {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  form_font_.Reset();
  path_row_font_.Reset();
  small_font_.Reset();
  white_brush_.Reset();
}

}  // namespace vantorel::app
