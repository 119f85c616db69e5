// Telling what a program carries from the marks its format documents. The
// marks are looked for in a fixed order: the payloads that follow the
// sections first (each format's own mark, then data of no format known),
// then what lives inside the program (a section, a resource), so that a
// payload --add-sizes must not write after is never hidden by another mark.
#include "container.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <new>
#include <optional>
#include <vector>

#include "added_section.h"
#include "appended_data.h"
#include "added_section.h"
#include "errors/guarded.h"
#include "resources/name_case.h"
#include "nsis_crc.h"
#include "pe_headers.h"
#include "pe_layout.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "resources/resource_walk.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

constexpr uint32_t kRtRcData = 10;
// Inno Setup's loader keeps the offsets of its data in this RCDATA resource,
// in a table whose 12-byte ID starts so (the rest names its version).
constexpr uint32_t kInnoTableResource = 11111;
constexpr std::array<uint8_t, 6> kInnoTableId = {'r', 'D', 'l', 'P', 't', 'S'};
// The resource a Node single executable's blob is put in, and that node
// looks up by name.
constexpr char16_t kNodeSeaBlob[] = u"NODE_SEA_BLOB";
// A 7z archive starts with a 32-byte signature header: the signature, the
// format's version (major 0), the CRC-32 of the 20 bytes that follow it, and
// where the archive's own header lies after these 32 bytes (offset, size).
constexpr std::array<uint8_t, 6> k7zSignature = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
constexpr int64_t k7zHeaderBytes = 32;
// An installer SFX module's settings (text) may lie between the program and
// the archive: 1 MiB holds any usual ones and bounds what is read.
constexpr int64_t k7zSearch = int64_t{1} << 20;
constexpr std::array<uint8_t, 8> kBunSection = {'.', 'b', 'u', 'n', 0, 0, 0, 0};

using Found = std::optional<Container>;

std::string Hex(int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%#" PRIx64, static_cast<uint64_t>(value));
  return text;
}

// Runs a search whose reads may fail: bytes that cannot be read hold no mark.
template <typename Search>
auto Tried(Search search) -> decltype(search()) {
  try {
    return search();
  } catch (const EngineError&) {
  } catch (const std::bad_alloc&) {
  }
  return {};
}

Found Nsis(const RandomAccessFile& file) {
  const NsisHeader header = FindNsisHeader(file);
  if (header.offset < 0) return std::nullopt;
  const std::string seen = "first header 0xDEADBEEF \"NullsoftInst\" at " + Hex(header.offset);
  if (header.crc_offset < 0) return Container{ContainerKind::NsisUnchecked, seen + ", no CRC-32"};
  return Container{ContainerKind::Nsis, seen + ", its CRC-32 at " + Hex(header.crc_offset)};
}

// The RCDATA resources that mark an Inno Setup installer and a Node single
// executable, found in one walk of the tree: file offsets, -1 for none.
struct RcDataMarks {
  int64_t inno_table = -1;
  int64_t node_blob = -1;
  uint32_t node_bytes = 0;
};

bool StartsWith(const Reader& r, int64_t at, uint32_t size, const std::array<uint8_t, 6>& id) {
  if (size < id.size()) return false;
  std::array<uint8_t, 6> held{};
  r.Bytes(at, held.data(), static_cast<int64_t>(held.size()));
  return held == id;
}

RcDataMarks FindRcDataMarks(const RandomAccessFile& file, const PeHeaders& h) {
  RcDataMarks marks;
  const ResourceSection section = Find_Resource_Tree(file, {});
  if (section.root <= kHeadersEnd) return marks;
  const Reader tree = ResourceSectionReader(file, section);
  const Reader whole(file, 0, file.Length());
  WalkCallbacks walk;
  walk.want_type = [](const ResourceEntry& type) { return type.Name == kRtRcData; };
  walk.visit = [&](const LanguageVisit& v) {
    const int32_t entry = DataEntryAt(section.root, v);
    const uint32_t rva = tree.U32(entry), size = tree.U32(int64_t{entry} + 4);
    const int64_t at = h.FileOffset(rva, size);
    if (at < 0) return;
    if (v.name.Name == kInnoTableResource && StartsWith(whole, at, size, kInnoTableId)) marks.inno_table = at;
    std::optional<std::u16string> name = ResourceNameUnits(tree, section.root, v.name.Name);
    if (name && SameNameIgnoringCase(*name, kNodeSeaBlob)) {
      marks.node_blob = at;
      marks.node_bytes = size;
    }
  };
  WalkResourceTree(tree, section.root, walk);
  return marks;
}

// Whether a signature header starts at `at`: its version and CRC right, and
// the archive's own header inside the file.
bool SevenZipHeaderAt(const Reader& r, int64_t at) {
  if (!r.Contains(at, k7zHeaderBytes) || r.U8(at + 6) != 0) return false;
  std::array<uint8_t, 20> fields{};
  r.Bytes(at + 12, fields.data(), static_cast<int64_t>(fields.size()));
  if (r.U32(at + 8) != static_cast<uint32_t>(crc32(0, fields.data(), static_cast<uInt>(fields.size()))))
    return false;
  const uint64_t offset = r.U32(at + 12) | uint64_t{r.U32(at + 16)} << 32;
  const uint64_t size = r.U32(at + 20) | uint64_t{r.U32(at + 24)} << 32;
  const auto room = static_cast<uint64_t>(r.end() - at - k7zHeaderBytes);
  return offset <= room && size <= room - offset;
}

Found SevenZip(const RandomAccessFile& file, const PeHeaders& h) {
  const Reader r(file, 0, file.Length());
  const int64_t from = h.RawDataEnd();
  const int64_t span = std::min(r.end() - from, k7zSearch + k7zHeaderBytes);
  if (span < k7zHeaderBytes) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(span));
  r.Bytes(from, bytes.data(), span);
  for (auto at = bytes.begin();; ++at) {
    at = std::search(at, bytes.end(), k7zSignature.begin(), k7zSignature.end());
    if (at == bytes.end()) return std::nullopt;
    const int64_t offset = from + (at - bytes.begin());
    if (SevenZipHeaderAt(r, offset)) return Container{ContainerKind::SevenZipSfx, "7z signature header at " + Hex(offset)};
  }
}

// Data after the sections that must keep ending the file, when it is of no
// format above. A signature that ends the file is the program's own. Data
// whose bytes cannot all be read is counted as data, so that nothing is ever
// added after it.
Found AppendedData(const Reader& r, const PeHeaders& h) {
  int64_t end = r.end();
  if (h.certificates.size && h.certificates.rva >= h.RawDataEnd() && h.certificates.rva < end) {
    end = h.certificates.rva;
  }
  int64_t from = h.RawDataEnd();
  try {
    if (NothingMustEndTheFile(r, h, end)) return std::nullopt;
    std::string debug = DebugDataAfter(r, h, h.RawDataEnd());
    if (!debug.empty()) return Container{ContainerKind::DebugData, debug + ", which its debug directory names there"};
    from = std::min(OwnEnd(r, h), end);
  } catch (const EngineError&) {
  }
  return Container{ContainerKind::UnknownData,
                   std::to_string(end - from) + " bytes from " + Hex(from) + " on, in no format Vantorel recognises"};
}

Found Bun(const PeHeaders& h) {
  for (const SectionHeader& s : h.sections) {
    if (s.name == kBunSection) {
      return Container{ContainerKind::Bun,
                       "section .bun at " + Hex(s.raw) + ", " + std::to_string(s.raw_size) + " bytes"};
    }
  }
  return std::nullopt;
}

}  // namespace

Container IdentifyContainer(const RandomAccessFile& file, const PeHeaders& h) {
  if (Found nsis = Tried([&] { return Nsis(file); })) return *nsis;
  const RcDataMarks marks = Tried([&] { return FindRcDataMarks(file, h); });
  if (marks.inno_table >= 0) {
    return {ContainerKind::InnoSetup, "loader offset table \"rDlPtS\" in RCDATA #11111 at " + Hex(marks.inno_table)};
  }
  if (Found sfx = Tried([&] { return SevenZip(file, h); })) return *sfx;
  if (Found data = AppendedData(Reader(file, 0, file.Length()), h)) return *data;
  if (Found bun = Bun(h)) return *bun;
  if (marks.node_blob >= 0) {
    return {ContainerKind::NodeSea, "RCDATA \"NODE_SEA_BLOB\" at " + Hex(marks.node_blob) + ", " +
                                        std::to_string(marks.node_bytes) + " bytes"};
  }
  return {};
}

Container ContainerOf(const RandomAccessFile& file) {
  try {
    if (!Is_Valid_PE(file)) return {};
    const PeHeaders h = ReadPeHeaders(file);
    // What a stopped --add-sizes run left unfinished is cut off by the next
    // run, not carried.
    const FilePrefix own(file, LengthWithoutUnfinishedTail(Reader(file, 0, file.Length()), h));
    return IdentifyContainer(own, h);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace vantorel::engine
