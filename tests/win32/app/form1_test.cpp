// Form1's layout, keyboard order, enable rule, browse and About.
#include <gtest/gtest.h>

#include <cmath>

#include "button/button.h"
#include "form1_fixture.h"

namespace vantorel::app::test {
namespace {

// Tests that need a window of their own: its starting state, and its end.
class Form1StartTest : public ::testing::Test, public FormFixture {};

// The form stores its layout in twips; at 96 pixels per inch these are the pixels.
struct ExpectedControl {
  Form1Control id;
  RECT pixels;  // left, top, right, bottom in the client area
  int font_height;
};
const ExpectedControl kExpected[] = {
    {kLabel1, {16, 16, 62, 32}, -13},      {kTFile1, {88, 16, 277, 40}, -13},
    {kLabel2, {16, 48, 68, 64}, -13},      {kTFile2, {88, 48, 277, 72}, -13},
    {kCheck1, {8, 128, 191, 142}, -11},    {kCmdReplace, {88, 80, 177, 105}, -11},
    {kVbButton1, {192, 80, 281, 105}, -11}, {kVbButton2, {336, 120, 409, 145}, -11},
    {kOpen1, {288, 16, 393, 41}, -11},     {kOpen2, {288, 48, 393, 73}, -11},
};

// Pixels of a length in twips, worked out here the long way: the exact
// quotient, rounded to the nearest pixel with ties to even (the default
// rounding mode of nearbyint).
int ExpectedPixels(int twips, int ppi) { return static_cast<int>(std::nearbyint(twips * ppi / 1440.0)); }

// Every control and the client area at the resolutions users run: each
// length goes from twips to pixels in one rounding. PixelRect is what Form1
// places every control with, the themed buttons included (the test below
// checks that at the screen's resolution, the end-to-end test at 144 dpi).
TEST(Form1Layout, EveryControlTakesItsPixelsFromTwipsInOneRounding) {
  for (int ppi : {96, 120, 144, 192}) {
    for (const ControlLayout& c : kForm1Controls) {
      RECT r = PixelRect(c, POINT{ppi, ppi});
      EXPECT_EQ(r.left, ExpectedPixels(c.left, ppi)) << Narrow(c.name) << " at " << ppi;
      EXPECT_EQ(r.top, ExpectedPixels(c.top, ppi)) << Narrow(c.name) << " at " << ppi;
      EXPECT_EQ(r.right - r.left, ExpectedPixels(c.width, ppi)) << Narrow(c.name) << " at " << ppi;
      EXPECT_EQ(r.bottom - r.top, ExpectedPixels(c.height, ppi)) << Narrow(c.name) << " at " << ppi;
    }
    EXPECT_EQ(TwipsToWholePixels(kForm1ClientWidth, ppi), ExpectedPixels(kForm1ClientWidth, ppi)) << ppi;
    EXPECT_EQ(TwipsToWholePixels(kForm1ClientHeight, ppi), ExpectedPixels(kForm1ClientHeight, ppi)) << ppi;
    for (const FontChoice& font : {kFormFont, kPathRowFont, kSmallFont}) {
      EXPECT_EQ(FontHeight(font, ppi), -static_cast<int>(std::nearbyint(font.hundredths_of_points * ppi / 7200.0)))
          << font.hundredths_of_points << " at " << ppi;
    }
  }
  // The ties, where a detour through whole HIMETRIC units comes out one pixel
  // short (157.49 and 109.47 instead of 157.5 and 109.5).
  EXPECT_EQ(PixelRect(LayoutOf(kOpen1), POINT{144, 144}).right - 432, 158);
  EXPECT_EQ(PixelRect(LayoutOf(kVbButton2), POINT{144, 144}).right - 504, 110);
  EXPECT_EQ(PixelRect(LayoutOf(kCmdReplace), POINT{144, 144}).bottom - 120, 38);  // 37.5
  EXPECT_EQ(TwipsToWholePixels(kForm1ClientWidth, 144), 622);                     // 622.5
}

TEST_F(Form1Test, WindowIsFixedSizeCentredWithItsCaption) {
  ASSERT_EQ(form().PixelsPerInch().y, 96) << "the expected pixels are those of 96 dpi";
  RECT client{};
  GetClientRect(form().hwnd(), &client);
  EXPECT_EQ(client.right, 415);
  EXPECT_EQ(client.bottom, 156);

  wchar_t caption[64]{};
  GetWindowTextW(form().hwnd(), caption, 64);
  EXPECT_STREQ(caption, L"Vantorel 1.1");

  LONG style = GetWindowLongW(form().hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  RECT window{}, work{};
  GetWindowRect(form().hwnd(), &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);

  EXPECT_EQ(GetClassLongPtrW(form().hwnd(), GCLP_HBRBACKGROUND), COLOR_WINDOW + 1);
  EXPECT_NE(GetClassLongPtrW(form().hwnd(), GCLP_HICONSM), 0);
  LOGFONTW lf{};
  GetObjectW(form().FormFont(), sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
}

TEST_F(Form1Test, ControlsSitWhereTheFormPutsThemInTheirFonts) {
  ASSERT_EQ(form().PixelsPerInch().x, 96);
  for (const ExpectedControl& e : kExpected) {
    RECT r = ClientRectOf(e.id);
    EXPECT_EQ(r.left, e.pixels.left) << e.id;
    EXPECT_EQ(r.top, e.pixels.top) << e.id;
    EXPECT_EQ(r.bottom, e.pixels.bottom) << e.id;
    if (e.id == kLabel1 || e.id == kLabel2) {
      // A label is as wide as stored, or as its text where this system's font
      // needs more, but never reaches into its field.
      HDC dc = GetDC(Control(e.id));
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Control(e.id), WM_GETFONT, 0, 0)));
      SIZE text{};
      GetTextExtentPoint32W(dc, Text(e.id).c_str(), static_cast<int>(Text(e.id).size()), &text);
      SelectObject(dc, old);
      ReleaseDC(Control(e.id), dc);
      EXPECT_EQ(r.right - r.left, std::min<LONG>(std::max<LONG>(e.pixels.right - e.pixels.left, text.cx), 84 - 16))
          << e.id;
    } else {
      EXPECT_EQ(r.right, e.pixels.right) << e.id;
      EXPECT_EQ(r.right, PixelRect(LayoutOf(e.id), form().PixelsPerInch()).right) << e.id;
    }
    LOGFONTW lf = FontOf(e.id);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma") << e.id;
    EXPECT_EQ(lf.lfHeight, e.font_height) << e.id;
    EXPECT_EQ(lf.lfWeight, FW_BOLD) << e.id;
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET) << e.id;
    EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut) << e.id;
  }
}

TEST_F(Form1StartTest, TextsAndStartingState) {
  EXPECT_EQ(Text(kLabel1), L"Exe File");
  EXPECT_EQ(Text(kLabel2), L"Icon File");
  EXPECT_EQ(Text(kTFile1), L"");
  EXPECT_EQ(Text(kTFile2), L"");
  EXPECT_EQ(Text(kCheck1), L"Backup Before Replace");
  EXPECT_EQ(SendMessageW(Control(kCheck1), BM_GETCHECK, 0, 0), BST_CHECKED);
  for (Form1Control id : {kCmdReplace, kVbButton1, kVbButton2, kOpen1, kOpen2}) {
    EXPECT_TRUE(IsWindowEnabled(Control(id))) << id;
  }
  EXPECT_TRUE(GetWindowLongW(form().hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  // Labels take no focus: it starts in the program's path field.
  EXPECT_EQ(GetFocus(), Control(kTFile1));
}

// Sets a system colour for one test and puts the old one back. Under Wine the
// window colour is white, like the path fields' own colour; only another
// window colour tells the two apart.
class SystemColour {
 public:
  SystemColour(int index, COLORREF colour) : index_(index), old_(GetSysColor(index)) {
    SetSysColors(1, &index_, &colour);
  }
  ~SystemColour() { SetSysColors(1, &index_, &old_); }
  SystemColour(const SystemColour&) = delete;
  SystemColour& operator=(const SystemColour&) = delete;

 private:
  int index_;
  COLORREF old_;
};

TEST_F(Form1Test, PathFieldsStayWhiteWhateverTheWindowColour) {
  constexpr COLORREF kWindow = RGB(200, 220, 240), kWhite = RGB(255, 255, 255);
  SystemColour window(COLOR_WINDOW, kWindow);
  ASSERT_EQ(GetSysColor(COLOR_WINDOW), kWindow);
  Drain();

  HDC dc = GetDC(form().hwnd());
  SetBkColor(dc, RGB(1, 2, 3));
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(form().hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Control(kTFile1))));
  LOGBRUSH lb{};
  GetObjectW(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, kWhite);
  EXPECT_EQ(GetBkColor(dc), kWhite);
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));

  // The check box and the labels sit on the window's colour.
  brush = reinterpret_cast<HBRUSH>(
      SendMessageW(form().hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Control(kCheck1))));
  GetObjectW(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, kWindow);
  EXPECT_EQ(GetBkColor(dc), kWindow);
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
  ReleaseDC(form().hwnd(), dc);

  // And on screen: inside the empty field, and the window between the rows.
  RECT field = ClientRectOf(kTFile1);
  EXPECT_EQ(PixelAt({(field.left + field.right) / 2, (field.top + field.bottom) / 2}), kWhite);
  EXPECT_EQ(PixelAt({4, 4}), kWindow);
  EXPECT_EQ(PixelAt({(field.left + field.right) / 2, field.bottom + 3}), kWindow);
}

TEST_F(Form1Test, ButtonsHoldTheirStoredValues) {
  const std::pair<Form1Control, const wchar_t*> captions[] = {
      {kCmdReplace, L"Replace"}, {kVbButton1, L"Close"}, {kVbButton2, L"About"},
      {kOpen1, L"Open File (.exe)"}, {kOpen2, L"Open File (.ico)"}};
  for (const auto& [id, caption] : captions) {
    controls::Button* b = controls::Button::FromHwnd(Control(id));
    ASSERT_NE(b, nullptr) << id;
    EXPECT_EQ(b->Caption(), caption);
    EXPECT_EQ(b->ButtonStyle(), 7);
    EXPECT_EQ(b->ButtonTheme(), 1);
    // As stored: the style preset would have made these 0xD8D8D8, 0xEFCE92, 0xF7DBA5.
    EXPECT_EQ(b->BackColor(), 0x00F1B39Au);
    EXPECT_EQ(b->BackColorPressed(), 0x00FAE6DDu);
    EXPECT_EQ(b->BackColorHover(), 0x00FDF7F4u);
    EXPECT_EQ(b->BorderColor(), 0x008F8F8Eu);
    EXPECT_EQ(b->BorderColorPressed(), 0x005C411Du);
    EXPECT_EQ(b->BorderColorHover(), 0x00B17F3Cu);
    EXPECT_EQ(b->ButtonShape(), 0);
    EXPECT_EQ(b->ButtonStyleColors(), 1);
    EXPECT_EQ(b->ForeColor(), 0u);
    EXPECT_TRUE(b->FocusRect());
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->Font()->Desc(), (host::FontDesc{L"Tahoma", 8.25, 700, false, false, false, 0}));
    EXPECT_EQ(b->MousePointer(), 99);
    ASSERT_NE(b->MouseIcon(), nullptr);
    EXPECT_EQ(b->MouseIcon()->kind(), host::Picture::Kind::Cursor);
    EXPECT_EQ(b->MouseIcon()->WidthPixels(), 32);
  }
}

TEST_F(Form1Test, TabVisitsTheControlsInOrderAndWrapsAround) {
  SetFocus(Control(kTFile1));
  Drain();
  ASSERT_EQ(GetFocus(), Control(kTFile1));
  const Form1Control order[] = {kTFile2, kCheck1, kCmdReplace, kVbButton1, kVbButton2, kOpen1, kOpen2, kTFile1};
  for (Form1Control next : order) {
    PressTab();
    EXPECT_EQ(GetFocus(), Control(next)) << "expected " << next;
  }
}

TEST_F(Form1Test, ReplaceIsEnabledExactlyWhenBothPathsHoldACharacter) {
  struct Step {
    const wchar_t* target;
    const wchar_t* icon;
    bool enabled;
  } steps[] = {
      {L"a", L"", false}, {L"a", L" ", true}, {L"", L" ", false}, {L"  ", L"x.ico", true}, {L"p", L"", false},
  };
  for (const Step& s : steps) {
    SetText(kTFile1, s.target);
    SetText(kTFile2, s.icon);
    EXPECT_EQ(IsWindowEnabled(Control(kCmdReplace)) != FALSE, s.enabled) << Narrow(s.target) << "|" << Narrow(s.icon);
  }
}

TEST_F(Form1Test, TypedTextGoesIntoThePathFieldsAndRunsTheRule) {
  SetText(kTFile2, L"i.ico");
  SetFocus(Control(kTFile1));
  for (wchar_t c : std::wstring(L"C:\\Prögram.exe")) PostMessageW(Control(kTFile1), WM_CHAR, c, 1);
  Drain();
  EXPECT_EQ(Text(kTFile1), L"C:\\Prögram.exe");
  EXPECT_TRUE(IsWindowEnabled(Control(kCmdReplace)));
  SendMessageW(Control(kTFile2), EM_SETSEL, 0, -1);
  PostMessageW(Control(kTFile2), WM_KEYDOWN, VK_DELETE, 1);
  Drain();
  EXPECT_EQ(Text(kTFile2), L"");
  EXPECT_FALSE(IsWindowEnabled(Control(kCmdReplace)));
}

TEST_F(Form1Test, BrowseFillsTheFieldAndCancelKeepsIt) {
  ui.answers = {L"C:\\apps\\tool.exe", L"", L"   ", L" D:\\pics\\a.ico "};
  Click(kOpen1);
  EXPECT_EQ(Text(kTFile1), L"C:\\apps\\tool.exe");
  Click(kOpen1);  // cancelled
  Click(kOpen1);  // blanks only
  EXPECT_EQ(Text(kTFile1), L"C:\\apps\\tool.exe");
  Click(kOpen2);
  // The field takes what the dialog gave, as it gave it.
  EXPECT_EQ(Text(kTFile2), L" D:\\pics\\a.ico ");
  EXPECT_TRUE(IsWindowEnabled(Control(kCmdReplace)));
  // Each dialog gets a fresh filter, even though the dialog converts its copy.
  ASSERT_EQ(ui.filters.size(), 4u);
  EXPECT_EQ(ui.filters[0], L"Application (.exe)|*.exe");
  EXPECT_EQ(ui.filters[2], L"Application (.exe)|*.exe");
  EXPECT_EQ(ui.filters[3], L"Icon (.ico)|*.ico");
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Form1Test, AboutShowsFiveLinesJoinedByLoneCarriageReturns) {
  Click(kVbButton2);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].owner, form().hwnd());
  EXPECT_EQ(ui.shown[0].caption, L"About Vantorel");
  EXPECT_EQ(ui.shown[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(ui.shown[0].text,
            L"Author        :     Orlevy\r"
            L"E-mail         :    vantorel@example.org\r"
            L"Web Site    :    https://example.org/vantorel\r"
            L"\r"
            L"      Thank you for using this program");
  EXPECT_EQ(ui.shown[0].text.find(L'\n'), std::wstring::npos);
}

TEST_F(Form1StartTest, CloseEndsTheWindow) {
  HWND hwnd = form().hwnd();
  Click(kVbButton1);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(form().hwnd(), nullptr);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "a test's window does not end the loop";
}

}  // namespace
}  // namespace vantorel::app::test
