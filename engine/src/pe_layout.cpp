// PE headers, the section table, and conversions between RVAs and file
// offsets inside the section that holds the resource tree.
#include <algorithm>

#include "reader.h"
#include "traps.h"
#include "vantorel/mod_pe.h"

namespace vantorel {

EngineState g_Engine;

namespace {

constexpr int32_t kLfanewOffset = 60;
constexpr int32_t kNumberOfSectionsOffset = 2;
constexpr int32_t kSizeOfOptionalHeaderOffset = 16;
constexpr int32_t kNumberOfRvaAndSizesPE32 = 92;
constexpr int32_t kNumberOfRvaAndSizesPE32Plus = 108;
constexpr int32_t kResourceDirectoryIndex = 2;

constexpr int32_t kSectionVirtualAddress = 12;
constexpr int32_t kSectionSizeOfRawData = 16;
constexpr int32_t kSectionPointerToRawData = 20;

Reader WholeFile(const RandomAccessFile& file) { return Reader(file, 0, file.Length()); }

// The resource table's entry of the data directory, or false when the optional
// header has none (too few directory entries, or a header too small to hold it).
bool ResourceDirectoryEntry(const Reader& r, int32_t optional_header, uint16_t size_of_optional_header,
                            int32_t& entry) {
  uint16_t magic = r.U16(optional_header);
  bool plus = magic == kMagicPE32Plus;
  int32_t count_at = plus ? kNumberOfRvaAndSizesPE32Plus : kNumberOfRvaAndSizesPE32;
  int32_t dir_at = plus ? kResourceDirPE32Plus : kResourceDirPE32;
  if (size_of_optional_header < dir_at + 8) return false;
  if (r.U32(Add32(optional_header, count_at)) <= static_cast<uint32_t>(kResourceDirectoryIndex)) return false;
  entry = Add32(optional_header, dir_at);
  return true;
}

}  // namespace

bool Is_Valid_PE(const RandomAccessFile& file) {
  try {
    Reader r = WholeFile(file);
    if (r.U8(0) != 'M' || r.U8(1) != 'Z') return false;
    // e_lfanew is a position from the start of the file: a negative value
    // names a place above 2 GiB, which no file here reaches.
    int64_t pe = r.U32(kLfanewOffset);
    uint8_t sig[4];
    r.Bytes(pe, sig, 4);
    if (sig[0] != 'P' || sig[1] != 'E' || sig[2] != 0 || sig[3] != 0) return false;
    uint16_t magic = r.U16(pe + 4 + kFileHeaderSize);
    return magic == kMagicPE32 || magic == kMagicPE32Plus;
  } catch (const EngineError&) {
    return false;  // a file too short for its own headers
  }
}

bool Is_Signed(const RandomAccessFile& file) {
  try {
    Reader r = WholeFile(file);
    int64_t optional_header = int64_t{r.U32(kLfanewOffset)} + 4 + kFileHeaderSize;
    bool plus = r.U16(optional_header) == kMagicPE32Plus;
    int32_t count_at = plus ? kNumberOfRvaAndSizesPE32Plus : kNumberOfRvaAndSizesPE32;
    int32_t dir_at = plus ? kCertificateDirPE32Plus : kCertificateDirPE32;
    uint16_t optional_size = r.U16(optional_header - kFileHeaderSize + kSizeOfOptionalHeaderOffset);
    if (optional_size < dir_at + 8 || r.U32(optional_header + count_at) <= 4) return false;
    return r.U32(optional_header + dir_at + 4) != 0;
  } catch (const EngineError&) {
    return false;
  }
}

int32_t Find_Resource_Tree(const RandomAccessFile& file, const WarningSink& warn) {
  return Trap(warn, kTreeLocateText, [&]() -> int32_t {
    Reader r = WholeFile(file);
    int32_t file_header = Add32(r.I32(kLfanewOffset), 4);
    int16_t sections = r.I16(Add32(file_header, kNumberOfSectionsOffset));
    uint16_t optional_size = r.U16(Add32(file_header, kSizeOfOptionalHeaderOffset));
    int32_t optional_header = Add32(file_header, kFileHeaderSize);

    // The table is sized for indexes 0 .. count - 1: no sections, or a count
    // that is negative as a 16-bit value, is out of range; more than 819
    // overflows the 16-bit byte count.
    if (Sub16(sections, 1) < 0) Raise(9);
    int16_t table_bytes = Mul16(sections, static_cast<int16_t>(kSectionHeaderSize));
    int32_t table = Add32(optional_header, optional_size);
    if (!r.Contains(table, table_bytes)) Raise(9);

    int32_t dir = 0;
    if (!ResourceDirectoryEntry(r, optional_header, optional_size, dir)) return -1;
    int32_t resource_rva = r.I32(dir);
    int32_t resource_size = r.I32(Add32(dir, 4));
    if (resource_size == 0) return -1;

    for (int16_t i = 0; i < sections; ++i) {
      int32_t s = table + i * kSectionHeaderSize;
      int32_t va = r.I32(s + kSectionVirtualAddress);
      int32_t raw_size = r.I32(s + kSectionSizeOfRawData);
      int32_t raw = r.I32(s + kSectionPointerToRawData);
      if (!(va <= resource_rva && resource_rva < Add32(va, raw_size))) continue;
      int32_t root = Add32(Sub32(resource_rva, va), raw);
      g_Engine.Res_Section_VA = va;
      g_Engine.Res_Section_Raw = raw;
      g_Engine.Res_Section_End = std::min<int64_t>(int64_t{raw} + raw_size, file.Length());
      g_Engine.Res_Area_Begin = root;
      g_Engine.Res_Area_End = std::min<int64_t>(int64_t{root} + static_cast<uint32_t>(resource_size),
                                                g_Engine.Res_Section_End);
      g_Engine.CheckSum_Offset = int64_t{optional_header} + kCheckSumOffset;
      return root;
    }
    return -1;
  });
}

int32_t RVA_to_Offset(const int32_t& rva, const WarningSink& warn) {
  return TrapNumbered(warn, "RVA_to_Offset", [&]() -> int32_t {
    int32_t d = Sub32(rva, g_Engine.Res_Section_VA);
    if (d < 0) return -1;
    return Add32(g_Engine.Res_Section_Raw, d);
  });
}

int32_t Offset_to_RVA(const int32_t& offset, const WarningSink& warn) {
  return TrapNumbered(warn, "Offset_to_RVA", [&]() -> int32_t {
    int32_t d = Sub32(offset, g_Engine.Res_Section_Raw);
    if (d < 0) return -1;
    return Add32(g_Engine.Res_Section_VA, d);
  });
}

bool In_Resource_Section(int64_t offset, int64_t size) {
  return size >= 0 && offset >= g_Engine.Res_Section_Raw && offset <= g_Engine.Res_Section_End &&
         size <= g_Engine.Res_Section_End - offset;
}

}  // namespace vantorel
