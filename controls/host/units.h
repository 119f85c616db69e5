#pragma once

// Lengths on the screen: twips (1440 to the inch), HIMETRIC (hundredths of a
// millimetre, 2540 to the inch) and pixels at the screen's pixels per inch.
// Every conversion goes through here, and every length that has to come out
// whole is rounded by one rule.
#include <cmath>

namespace vantorel::host {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kHimetricPerInch = 2540.0;

// The one rounding rule: to the nearest whole number, ties to even. Exact ties
// are rare here: at 96, 120, 144, 168 and 192 pixels per inch no HIMETRIC length
// is an exact half pixel.
inline int RoundLength(double length) { return static_cast<int>(std::lrint(length)); }

inline double TwipsPerPixel(int ppi) { return kTwipsPerInch / ppi; }
inline double PixelsToTwips(double pixels, int ppi) { return pixels * TwipsPerPixel(ppi); }
inline double TwipsToPixels(double twips, int ppi) { return twips * ppi / kTwipsPerInch; }
inline double HimetricToPixels(double himetric, int ppi) { return himetric * ppi / kHimetricPerInch; }
inline double PixelsToHimetric(double pixels, int ppi) { return pixels * kHimetricPerInch / ppi; }

}  // namespace vantorel::host
