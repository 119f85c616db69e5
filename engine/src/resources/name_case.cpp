#include "name_case.h"

#include <algorithm>
#include <iterator>

namespace vantorel::engine {
namespace {

struct CaseRun {
  char16_t first, last;
  int step, delta;
};

constexpr CaseRun kUpperCase[] = {
#include "upper_case_table.inc"
};

}  // namespace

char16_t UpperCaseUnit(char16_t unit) {
  // The last run that starts at or before the unit.
  const CaseRun* run = std::upper_bound(std::begin(kUpperCase), std::end(kUpperCase), unit,
                                        [](char16_t u, const CaseRun& r) { return u < r.first; });
  if (run == std::begin(kUpperCase)) return unit;
  --run;
  if (unit > run->last || (unit - run->first) % run->step != 0) return unit;
  return static_cast<char16_t>(unit + run->delta);
}

bool SameNameIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return UpperCaseUnit(x) == UpperCaseUnit(y); });
}

}  // namespace vantorel::engine
