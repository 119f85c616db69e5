#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "button/button_layout.h"
#include "button/button_props.h"
#include "button/paint_state.h"
#include "button/shapes/face.h"
#include "button/shapes/face_region.h"
#include "host/color.h"
#include "host/hosted_control.h"
#include "host/status.h"

namespace vantorel::controls {

// Events of a Button. Arguments are references: a handler may change them (the
// control does not read them back). The drag-and-drop events come from the host.
struct ButtonEvents : host::DragEvents {
  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void(std::int16_t& keyCode, std::int16_t& shift)> KeyDown;
  std::function<void(std::int16_t& keyAscii)> KeyPress;
  std::function<void(std::int16_t& keyCode, std::int16_t& shift)> KeyUp;
  std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)> MouseDown;
  std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)> MouseMove;
  std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)> MouseUp;
};

enum class HoverState { Unset, False, True };

// The themed owner-drawn push button. Every property setter stores the value,
// tells the host and repaints the whole control.
class Button final : public host::HostedKind<Button> {
 public:
  ButtonEvents events;

  // Stored properties.
  std::int32_t ButtonShape() const { return props_.buttonShape; }
  host::Status SetButtonShape(std::int32_t v);
  std::int32_t ButtonStyle() const { return props_.buttonStyle; }
  host::Status SetButtonStyle(std::int32_t v);  // applies the style's colour preset
  std::int32_t ButtonStyleColors() const { return props_.buttonStyleColors; }
  host::Status SetButtonStyleColors(std::int32_t v);
  std::int32_t ButtonTheme() const { return props_.buttonTheme; }
  host::Status SetButtonTheme(std::int32_t v);  // applies the theme's colour preset
  std::int32_t ButtonType() const { return props_.buttonType; }
  host::Status SetButtonType(std::int32_t v);
  std::int32_t CaptionAlignment() const { return props_.captionAlignment; }
  host::Status SetCaptionAlignment(std::int32_t v);
  std::int32_t CaptionEffect() const { return props_.captionEffect; }
  host::Status SetCaptionEffect(std::int32_t v);
  std::int32_t CaptionStyle() const { return props_.captionStyle; }
  host::Status SetCaptionStyle(std::int32_t v);
  std::int32_t DropDown() const { return props_.dropDown; }
  host::Status SetDropDown(std::int32_t v);
  std::int32_t PictureAlignment() const { return props_.pictureAlignment; }
  host::Status SetPictureAlignment(std::int32_t v);
  host::OleColor BackColor() const { return props_.backColor; }
  host::Status SetBackColor(host::OleColor v);
  host::OleColor BackColorPressed() const { return props_.backColorPressed; }
  host::Status SetBackColorPressed(host::OleColor v);
  host::OleColor BackColorHover() const { return props_.backColorHover; }
  host::Status SetBackColorHover(host::OleColor v);
  host::OleColor BorderColor() const { return props_.borderColor; }
  host::Status SetBorderColor(host::OleColor v);
  host::OleColor BorderColorPressed() const { return props_.borderColorPressed; }
  host::Status SetBorderColorPressed(host::OleColor v);
  host::OleColor BorderColorHover() const { return props_.borderColorHover; }
  host::Status SetBorderColorHover(host::OleColor v);
  host::OleColor ForeColor() const { return props_.foreColor; }
  host::Status SetForeColor(host::OleColor v);
  host::OleColor ForeColorPressed() const { return props_.foreColorPressed; }
  host::Status SetForeColorPressed(host::OleColor v);
  host::OleColor ForeColorHover() const { return props_.foreColorHover; }
  host::Status SetForeColorHover(host::OleColor v);
  host::OleColor EffectColor() const { return props_.effectColor; }
  host::Status SetEffectColor(host::OleColor v);
  const std::wstring& Caption() const { return props_.caption; }
  host::Status SetCaption(std::wstring v);
  bool FocusRect() const { return props_.focusRect; }
  host::Status SetFocusRect(bool v);
  bool Value() const { return props_.value; }
  host::Status SetValue(bool v);
  bool HandPointer() const { return props_.handPointer; }
  host::Status SetHandPointer(bool v);
  const host::PictureRef& Picture() const { return props_.picture; }
  host::Status SetPicture(host::PictureRef v);  // kept by reference
  bool PictureGray() const { return props_.pictureGray; }
  host::Status SetPictureGray(bool v);

  // Properties held by the surface.
  bool Enabled() const;
  host::Status SetEnabled(bool v);
  const host::FontRef& Font() const;
  host::Status SetFont(host::FontRef v);  // kept by reference
  std::int16_t MousePointer() const;
  host::Status SetMousePointer(std::int32_t v);  // outside 16 bits: Overflow, nothing changes
  const host::PictureRef& MouseIcon() const;
  host::Status SetMouseIcon(host::PictureRef v);
  HDC hdc() const { return surface().Hdc(); }
  HWND hwnd() const { return Hwnd(); }

  // Shows the last painted image again without running the paint.
  void Refresh();
  // Redraws the whole control from its properties and state.
  host::Status Paint();

  // Interaction state and paint results, for the layers and face renderers.
  const ButtonProps& props() const { return props_; }
  bool Pressed() const { return pressed_; }
  bool Hovering() const { return hover_ == HoverState::True; }
  HoverState Hover() const { return hover_; }
  bool Focused() const { return focused_; }
  // Where the last paint placed the caption and the picture.
  const PixelBox& CaptionBox() const { return captionBox_; }
  const PixelBox& PictureBox() const { return pictureBox_; }
  // The region last handed to the window for the face's shape (the window owns it).
  HRGN FaceRegion() const { return faceRegion_; }

 private:
  Button() = default;
  friend class host::HostedKind<Button>;

  // Stores a field of the property table, tells the host by the table's key
  // and repaints.
  template <class T>
  host::Status Store(T ButtonProps::*member, T value);
  void ApplyStylePreset();
  void ApplyThemePreset();
  // The paint pipeline, step by step (button_paint.cpp): settle what a paint
  // changes of the control, draw the image from the settled state (a const step:
  // props_ is only read, colours come in as values), then apply what the drawing
  // hands back.
  struct SettledPaint {
    PaintState state;
    PaintColours colours;
  };
  struct PaintResult {
    host::Status status;
    bool laidOut = false;
    ButtonLayout layout;
    bool faceDrawn = false;
    FaceRegionRecipe faceRegion;
    host::OleColor pen = 0;  // the drawing colour the image was left with
  };
  host::Status PaintSteps();
  SettledPaint Settle();
  void ApplySizeRules();
  void LatchToggle();
  void StoreStyleBorders(const PaintState& state);
  PaintResult DrawImage(host::Surface& sf, const PaintState& state, const PaintColours& colours) const;
  LayoutInput MeasureLayout(const host::Surface& sf) const;
  host::Status FillBackground(host::Surface& sf, const PaintState& state) const;
  host::Status DrawStyleLook(host::Surface& sf, const PaintState& state) const;
  FaceResult DrawFace(host::Surface& sf, const PaintState& state) const;
  void ApplyFaceRegion(const FaceRegionRecipe& recipe);
  host::Status DrawFocusPasses(host::Surface& sf, const PaintState& state, const PixelBox& caption,
                               host::OleColor& pen) const;
  void Commit(const PaintColours& colours);
  void ClickAndRaise();
  // Ends the hover and press looks (no Click): the focus, the capture or the
  // enabled state was taken away. True when a look changed.
  bool DropHoverAndPress();
  // Enables or disables the window without the notification and repaint that
  // follow a change made from outside.
  void HandEnabledToSurface(bool v);
  // What the surface's stored values are when a bag has none: a new Button's,
  // in the ambient font.
  host::SurfaceValues SurfaceDefaults() const;

  void OnInitNew() override;
  void OnReadProperties(const host::PropertyBag& bag) override;
  void OnWriteProperties(host::PropertyBag& bag) const override;
  void OnShow() override;
  void OnResize() override;

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
  void OnCaptureLost() override;
  void OnEnabledChanged(bool enabled) override;
  void OnWindowTextSet(const std::wstring& text) override;
  HCURSOR PointerOverClient() const override;
  long AccessibleState() const override;
  void OnAccessibleDefaultAction() override;
  host::DragEvents* OfferedDragEvents() override { return &events; }

  ButtonProps props_;
  bool pressed_ = false;
  HoverState hover_ = HoverState::Unset;
  bool focused_ = false;
  std::int16_t keyDown_ = 0;  // Space or Enter pressed on this control and not yet released
  bool painting_ = false;
  bool settingEnabled_ = false;  // the Enabled setter notifies and repaints itself
  // What one paint leaves for the next: the backdrop of the last solid fill and
  // the drawing colour in place.
  host::OleColor backdrop_ = host::Surface::kInitialBackColor;
  host::OleColor pen_ = host::Surface::kInitialForeColor;
  PixelBox captionBox_;
  PixelBox pictureBox_;
  HRGN faceRegion_ = nullptr;
  // How that region was made: the same recipe at the next paint keeps it.
  FaceRegionRecipe faceRegionRecipe_;
};

}  // namespace vantorel::controls
