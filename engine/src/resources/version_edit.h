// What a run changes in a version resource: strings set in every string
// table, the fixed file and product versions (and their strings), and a
// whole resource made for a program that has none.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "version_info.h"
#include "vantorel/program_resources.h"

namespace vantorel::engine {

// The key or value as UTF-16: nothing, with `why` set, when it is not UTF-8
// or holds a character the format cannot (a NUL ends a key or a value).
std::optional<std::u16string> VersionText(const std::string& utf8, const char* what, std::string& why);

// A new VS_VERSIONINFO: fixed information of version 0 (a program's or, with
// `dll`, a library's), one empty string table for no language in Unicode
// (000004b0) and the translation that names it.
VersionBlock NewVersionInfo(bool dll);

// Applies `edit`'s strings and numbers to `root`, in every string table, and
// adds a FieldChange (language set by the caller) for each field it sets.
// False, with `why` set, for a key or value the format cannot hold.
bool EditVersionInfo(VersionBlock& root, const ResourceEdit& edit, std::vector<FieldChange>& changes,
                     std::string& why);

// Every string of every table, and the fixed versions as text.
void ListVersionInfo(const VersionBlock& root, uint32_t language, ProgramResources& out);

}  // namespace vantorel::engine
