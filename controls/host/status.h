#pragma once

namespace vantorel::host {

// Failures carry the runtime's own error numbers, so a host can show them as the
// platform would (6 "Overflow", 380 "Invalid property value", 481 "Invalid picture").
struct Status {
  int number = 0;
  const wchar_t* text = L"";

  constexpr bool ok() const { return number == 0; }
  friend constexpr bool operator==(const Status& a, const Status& b) { return a.number == b.number; }
};

inline constexpr Status kOk{};
inline constexpr Status kOverflow{6, L"Overflow"};
inline constexpr Status kInvalidPropertyValue{380, L"Invalid property value"};
inline constexpr Status kInvalidPicture{481, L"Invalid picture"};

}  // namespace vantorel::host
