#pragma once

// Records what a control raises, one line per event with its arguments
// ("MouseDown 1 0 75 75", "KeyDown 32 0", "Click"), for comparing with a table
// of the expected sequence. The host's own notifications are written the same
// way, so one table reads alike for the host, the Button and the vbButton.
#include <cstdint>
#include <string>
#include <vector>

namespace vantorel::host::test {

// Whether a log keeps the pointer's moves. A vbButton's tests leave them out:
// they follow hover through MouseOver and MouseOut, and every step of the
// pointer would bury those.
enum class MouseMoves { kLogged, kLeftOut };

struct EventLog {
  std::vector<std::wstring> log;

  void Record(const wchar_t* name) { log.emplace_back(name); }
  void RecordMouse(const wchar_t* name, std::int16_t button, std::int16_t shift, float x, float y) {
    log.push_back(std::wstring(name) + L" " + std::to_wstring(button) + L" " + std::to_wstring(shift) + L" " +
                  std::to_wstring(static_cast<int>(x)) + L" " + std::to_wstring(static_cast<int>(y)));
  }
  void RecordKey(const wchar_t* name, std::int16_t key, std::int16_t shift) {
    log.push_back(std::wstring(name) + L" " + std::to_wstring(key) + L" " + std::to_wstring(shift));
  }
  void RecordKeyPress(std::int16_t ascii) { log.push_back(L"KeyPress " + std::to_wstring(ascii)); }

  // Handlers that record the control's events: the mouse, the keys and the
  // clicks, and MouseOver and MouseOut where the control raises them.
  template <class Control>
  void Attach(Control* c, MouseMoves moves = MouseMoves::kLogged) {
    auto mouse = [this](const wchar_t* name) {
      return [this, name](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
        RecordMouse(name, button, shift, x, y);
      };
    };
    auto key = [this](const wchar_t* name) {
      return [this, name](std::int16_t& k, std::int16_t& shift) { RecordKey(name, k, shift); };
    };
    auto plain = [this](const wchar_t* name) { return [this, name] { Record(name); }; };
    c->events.MouseDown = mouse(L"MouseDown");
    c->events.MouseUp = mouse(L"MouseUp");
    if (moves == MouseMoves::kLogged) c->events.MouseMove = mouse(L"MouseMove");
    c->events.Click = plain(L"Click");
    if constexpr (requires { c->events.DblClick; }) c->events.DblClick = plain(L"DblClick");
    c->events.KeyDown = key(L"KeyDown");
    c->events.KeyUp = key(L"KeyUp");
    c->events.KeyPress = [this](std::int16_t& ascii) { RecordKeyPress(ascii); };
    if constexpr (requires { c->events.MouseOver; }) {
      c->events.MouseOver = plain(L"MouseOver");
      c->events.MouseOut = plain(L"MouseOut");
    }
  }
};

}  // namespace vantorel::host::test
