// What follows a program's sections, named in the refusal that keeps it at
// the end of the file.
#pragma once

#include <string>

#include "pe_headers.h"
#include "reader.h"

namespace vantorel::engine {

// The sentence that refuses to add after the data following the sections of
// the program at `path`: the debug data its debug directory names there
// (linkers that keep debug data in no section put it there), or appended
// data of a kind not known, such as an installer's payload.
std::string AppendedDataText(const Reader& r, const PeHeaders& h, const std::string& path);

}  // namespace vantorel::engine
