#include "appended_data.h"

#include <algorithm>
#include <vector>

namespace vantorel::engine {
namespace {

// IMAGE_DEBUG_DIRECTORY: 28 bytes each; Type at 12, SizeOfData at 16,
// PointerToRawData (a file offset) at 24.
constexpr int64_t kDebugEntryBytes = 28;

std::string DebugTypeName(uint32_t type) {
  switch (type) {
    case 1: return "COFF symbols";
    case 2: return "CodeView";
    case 3: return "FPO";
    case 4: return "miscellaneous";
    case 9: return "Borland";
    default: return "of type " + std::to_string(type);
  }
}

}  // namespace

std::string DebugDataAfter(const Reader& r, const PeHeaders& h, int64_t end) {
  int64_t table = h.FileOffset(h.debug.rva, h.debug.size);
  if (!h.debug.rva || table < 0) return {};
  std::vector<std::string> kinds;
  for (int64_t at = table; at + kDebugEntryBytes <= table + h.debug.size; at += kDebugEntryBytes) {
    if (!r.Contains(at, kDebugEntryBytes) || !r.U32(at + 16) || r.U32(at + 24) < end) continue;
    std::string kind = DebugTypeName(r.U32(at + 12));
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) kinds.push_back(kind);
  }
  std::string joined;
  for (const std::string& kind : kinds) joined += (joined.empty() ? "" : ", ") + kind;
  return joined;
}

}  // namespace vantorel::engine
