#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/color.h"
#include "host/dib_image.h"
#include "host/hosted_control.h"
#include "host/status.h"
#include "vbbutton/color_math.h"
#include "vbbutton/layout.h"
#include "vbbutton/vbbutton_fields.h"
#include "vbbutton/vbbutton_props.h"
#include "vbbutton/picture_pixels.h"

namespace vantorel::controls {

namespace vb {
class FaceCanvas;
struct Face;
struct FaceInput;
enum class DisabledPicture;
enum class EffectBase;
}  // namespace vb

// Events of a vbButton. Arguments are references; the control reads Button and
// KeyCode back after raising, so a handler that changes them changes what the
// control does next. Positions are in the control's pixels.
struct vbButtonEvents {
  std::function<void()> Click;
  std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)> MouseDown;
  std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)> MouseMove;
  std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)> MouseUp;
  std::function<void(std::int16_t& keyAscii)> KeyPress;
  std::function<void(std::int16_t& keyCode, std::int16_t& shift)> KeyDown;
  std::function<void(std::int16_t& keyCode, std::int16_t& shift)> KeyUp;
  std::function<void()> MouseOver;
  std::function<void()> MouseOut;
};

namespace vb {
// The hand pointer: the program's cursor resource 101, or the system's hand
// where the control is used in a program that has none.
HCURSOR HandCursorOf(HMODULE program);

// Looks the drawing operation is asked for.
inline constexpr int kLookNormal = 0;
inline constexpr int kLookPressed = 2;
}  // namespace vb

// The image button: fourteen classic looks, four colour schemes, a caption with an
// access key, normal and hover pictures, a check-box mode and hover tracking.
class vbButton final : public host::HostedKind<vbButton> {
 public:
  vbButtonEvents events;

  host::OleColor BackColor() const { return props_.backColor; }
  host::Status SetBackColor(host::OleColor v);
  host::OleColor BackOver() const { return props_.backOver; }
  host::Status SetBackOver(host::OleColor v);
  host::OleColor ForeColor() const { return props_.foreColor; }
  host::Status SetForeColor(host::OleColor v);
  host::OleColor ForeOver() const { return props_.foreOver; }
  host::Status SetForeOver(host::OleColor v);
  host::OleColor MaskColor() const { return props_.maskColor; }
  host::Status SetMaskColor(host::OleColor v);
  std::int32_t ButtonType() const { return props_.buttonType; }
  host::Status SetButtonType(std::int32_t v);
  const std::wstring& Caption() const { return props_.caption; }
  host::Status SetCaption(std::wstring v);
  bool Enabled() const;
  host::Status SetEnabled(bool v);
  const host::FontRef& Font() const;
  host::Status SetFont(host::FontRef v);  // kept by reference
  bool FontBold() const;
  host::Status SetFontBold(bool v);
  bool FontItalic() const;
  host::Status SetFontItalic(bool v);
  bool FontUnderline() const;
  host::Status SetFontUnderline(bool v);
  std::int16_t FontSize() const;
  host::Status SetFontSize(std::int16_t points);
  std::wstring FontName() const;
  host::Status SetFontName(std::wstring v);
  std::int32_t ColorScheme() const { return props_.colorScheme; }
  host::Status SetColorScheme(std::int32_t v);
  bool ShowFocusRect() const { return props_.showFocusRect; }
  host::Status SetShowFocusRect(bool v);
  std::int16_t MousePointer() const;
  host::Status SetMousePointer(std::int16_t v);
  const host::PictureRef& MouseIcon() const;
  host::Status SetMouseIcon(host::PictureRef v);
  bool HandPointer() const { return props_.handPointer; }
  host::Status SetHandPointer(bool v);
  HWND hwnd() const { return Hwnd(); }
  bool SoftBevel() const { return props_.softBevel; }
  host::Status SetSoftBevel(bool v);
  const host::PictureRef& PictureNormal() const { return props_.pictureNormal; }
  host::Status SetPictureNormal(host::PictureRef v);
  const host::PictureRef& PictureOver() const { return props_.pictureOver; }
  host::Status SetPictureOver(host::PictureRef v);
  std::int32_t PicturePosition() const { return props_.picturePosition; }
  host::Status SetPicturePosition(std::int32_t v);
  bool UseMaskColor() const { return props_.useMaskColor; }
  host::Status SetUseMaskColor(bool v);
  bool UseGreyscale() const { return props_.useGreyscale; }
  host::Status SetUseGreyscale(bool v);
  std::int32_t SpecialEffect() const { return props_.specialEffect; }
  host::Status SetSpecialEffect(std::int32_t v);
  bool CheckBoxBehaviour() const { return props_.checkBoxBehaviour; }
  host::Status SetCheckBoxBehaviour(bool v);
  bool Value() const { return props_.value; }
  host::Status SetValue(bool v);
  static const wchar_t* Version() { return L"2.0.6"; }

  // Turns drawing off until the next Refresh.
  void DisableRefresh();
  // Captures the background again (type 11), derives the colours, lays out and
  // redraws in the last drawn look.
  void Refresh();

  // The drawing operation: look 0 normal, 2 pressed. Unforced drawing is skipped
  // when neither the look nor the caption changed since the last drawing.
  void Draw(int look, bool force);

  // Shows the control hot and/or focused without the pointer or the focus, for a
  // sheet that shows every look at once; the next real input takes over again.
  void ShowAs(bool hot, bool focused);

  // State the faces and the tests read.
  const vb::ColorSet& Colors() const { return colors_; }
  const vb::Layout& CurrentLayout() const { return layout_; }
  vb::Box FocusBox() const;
  bool Hot() const { return hot_; }
  bool HasFocus() const { return hasFocus_; }
  int LastLook() const { return lastLook_; }
  wchar_t AccessKey() const { return accessKey_; }
  bool DrawingAllowed() const { return drawingAllowed_; }
  // How many times the drawing operation really drew (skipped calls excluded).
  std::uint32_t DrawCount() const { return drawCount_; }
  HDC CaptureDc() const { return capture_ ? capture_->dc() : nullptr; }

  ~vbButton() override;

 private:
  vbButton() = default;
  friend class host::HostedKind<vbButton>;

  // Stores a field of the property table; then what the table says follows a
  // change, and the host is told by the field's key.
  template <class T>
  host::Status Store(T vbButtonProps::*member, T value);
  host::Status Told(const vb::Field& field);
  void FollowChange(vb::Follow follow);
  void ApplyType();
  void ApplyPointer();
  void RedrawLast() { Draw(lastLook_, true); }
  void RedrawNormal() { Draw(vb::kLookNormal, true); }
  host::Status SetFontDesc(host::FontDesc desc);

  // Colours, layout and shape.
  void DeriveColors();
  // The colour set of the scheme with the given back colour.
  vb::ColorSet DerivedColors(host::OleColor backColor) const;
  void ReadSize();
  vb::Layout MeasureLayout() const;
  void ComputeLayout();
  void ComputePictureSize();
  void UpdateAccessKey();
  void ApplyRegion();
  void HandleResize();

  // The row of the face table of the ButtonType.
  const vb::Face& TypeFace() const;

  // Drawing steps.
  vb::FaceInput FaceInputNow(const vb::Face& face) const;
  void DrawSteps(int look);
  // A picture and the cache of its pixels.
  struct ShownPicture {
    const host::PictureRef& picture;
    vb::PictureCache& cache;
  };
  void DrawPictures(vb::FaceCanvas& canvas, const vb::Face& face, int mode);
  void DrawDisabledPicture(vb::FaceCanvas& canvas, vb::DisabledPicture how);
  // The picture moved by dx and dy from where the layout puts it.
  void RenderPicture(const ShownPicture& shown, int dx, int dy, vb::PictureMode mode, vb::Rgb24 colour = 0);
  // SpecialEffect's strokes behind the picture, moved by k.
  void PictureEffect(vb::FaceCanvas& canvas, vb::EffectBase base, const ShownPicture& shown, int k);

  // Interaction.
  void BeginHover();
  void EndHover();
  // Inverts Value in check-box mode, draws the normal look, shows it and raises Click.
  void ClickNow(bool forceDraw);
  void EndSpacePress();
  void MoveFocus(bool previous);

  // Type 11.
  void EnsureCaptureSurface();
  void CaptureBackground();
  bool PrintParentInto(HWND parent, int x, int y);
  void CopyParentScreen(HWND parent, int x, int y);
  void ReleaseCaptureSurface();

  void OnInitNew() override;
  void OnReadProperties(const host::PropertyBag& bag) override;
  void OnWriteProperties(host::PropertyBag& bag) const override;
  void OnShow() override;
  void OnResize() override;
  void OnAmbientChanged(std::wstring_view name) override;
  bool OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  void OnHoverMayHaveEnded() override;
  void OnWindowTextSet(const std::wstring& text) override;

  void OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y) override;
  void OnMouseUp(std::int16_t button, std::int16_t shift, float x, float y) override;
  void OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;
  void OnClick() override;
  void OnDblClick() override;
  void OnKeyDown(std::int16_t key, std::int16_t shift) override;
  void OnKeyUp(std::int16_t key, std::int16_t shift) override;
  void OnKeyPress(std::int16_t ascii) override;
  void OnGotFocus() override;
  void OnLostFocus() override;
  void OnAccessKeyPress(std::int16_t key) override;
  HCURSOR PointerOverClient() const override;
  void OnCaptureEnded() override;

  vbButtonProps props_;
  vb::ColorSet colors_;
  vb::Layout layout_;
  int width_ = 0;
  int height_ = 0;
  int pictureW_ = 0;
  int pictureH_ = 0;
  wchar_t accessKey_ = 0;
  vb::PictureCache normalPixels_;
  vb::PictureCache overPixels_;

  // Type 11's captured background, the control's size.
  std::unique_ptr<host::DibImage> capture_;
  int captureW_ = 0;
  int captureH_ = 0;

  std::uint8_t lastButton_ = 0;
  std::uint8_t lastKey_ = 0;
  // The key (as received) whose KeyDown, read back as the space bar, pressed the
  // face; 0 when no key press is showing. Its release ends the press.
  std::int16_t spaceHeldBy_ = 0;
  // The press under way was read back as a right-button one: no pressed look.
  bool rightPress_ = false;
  bool hasFocus_ = false;
  bool hot_ = false;
  int lastLook_ = vb::kLookNormal;
  std::wstring lastCaption_;
  bool drawnOnce_ = false;
  bool drawingAllowed_ = true;
  bool capturing_ = false;
  std::uint32_t drawCount_ = 0;
};

}  // namespace vantorel::controls
