// A program's manifest: its requested execution level read and set, a whole
// manifest checked before it replaces one, and a new one made. The XML
// library (xml_outline.h) decides what is well-formed and what each element
// means; the text is then changed only where the level is, so every other
// byte of the manifest stays as its author wrote it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::engine {

// Whether Windows can use the manifest; `why` says why not: it is not
// well-formed, has a document type declaration, or its root is not an
// assembly of the side-by-side namespace.
bool CheckManifest(const std::vector<uint8_t>& manifest, std::string& why);

// The level the manifest's requestedExecutionLevel asks for; empty when it
// asks for none. Nothing, with `why` set, when it is not well-formed.
std::optional<std::string> ExecutionLevel(const std::vector<uint8_t>& manifest, std::string& why);

// Sets the level: in the level attribute of each requestedExecutionLevel
// (added to the element where it lacks one), or in the trustInfo,
// security or requestedPrivileges elements that are missing, added where
// the chain stops. False, with `why` set, when CheckManifest refuses it or
// it is not UTF-8.
bool SetExecutionLevel(std::vector<uint8_t>& manifest, const std::string& level, std::string& why);

// A manifest that asks for `level` and nothing else.
std::vector<uint8_t> NewManifest(const std::string& level);

}  // namespace vantorel::engine
