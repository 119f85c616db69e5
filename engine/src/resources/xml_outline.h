// What the XML library tells of a document: whether it is well-formed, and
// its elements in document order with their namespaces and attributes. The
// library is the platform's: libxml2 on POSIX, XmlLite (part of Windows, and
// of Wine) in the Windows build, for which Debian ships no libxml2.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::engine {

struct XmlElement {
  std::string ns, local_name, prefix;
  int depth = 0;  // the root is 0
  std::vector<std::pair<std::string, std::string>> attributes;  // local name (no prefix), value
};

// False, with `why` naming the library's complaint and its line, when `text`
// is not well-formed XML. No external entity or DTD is fetched.
bool ReadXmlOutline(const std::vector<uint8_t>& text, std::vector<XmlElement>& elements, std::string& why);

}  // namespace vantorel::engine
