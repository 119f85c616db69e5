// Resource names compared as the system's loader compares them: each UTF-16
// unit upper-cased by the simple mapping, whatever the language.
#pragma once

#include <string>

namespace vantorel::engine {

char16_t UpperCaseUnit(char16_t unit);

// Whether two names are the same without regard to case.
bool SameNameIgnoringCase(const std::u16string& a, const std::u16string& b);

}  // namespace vantorel::engine
