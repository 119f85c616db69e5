// Fuzz target: an icon file and a target program, replaced in memory.
// Input: a 4-byte little-endian length L, then L bytes of icon file, then the
// target. On every input: no crash and no sanitizer report; the target keeps
// its length; a failed replacement leaves every byte as it was. After a
// success: no byte changed outside the resource section's raw data as this
// file computes it from the raw bytes (unsigned fields, clipped to the file,
// headers excluded), but the header's CheckSum and an NSIS installer's CRC; a
// CheckSum or an installer's CRC that was right is still right; every icon
// entry names the new image, whose bytes are there (in an NSIS installer every
// icon entry stays as it was, and a changed place starts with the image).
// The same pair then goes through --all-sizes, with the same promises; after
// a success every icon entry names one whole image of the icon file. The
// target's first group is also taken out (--extract): it changes nothing, and
// what it makes is an icon file whose every image lies in the target. Last,
// --add-sizes: a failure changes nothing; a success only grows the file, and
// of what was there changes nothing but header bytes before the first
// section's raw data, the growth is the section's own, and a right CheckSum
// stays right. An icon part that starts as a small PNG is a picture: it is
// made into an icon file first, as every mode does. A refusal is 1016 with
// its text (or 7); a success is an icon file of the sizes asked, each image
// whole, and the replacements then run on it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "pe/checksum.h"
#include "icons/icon_file.h"
#include "modes/icon_modes.h"
#include "icons/icon_sizes.h"
#include "icons/icon_tree.h"
#include "pe/pe_layout.h"
#include "pictures/picture.h"
#include "files/random_access_file.h"
#include "modes/resource_edit.h"
#include "resources/version_edit.h"

using namespace vantorel::engine;

namespace {

[[noreturn]] void Violation(const char* what) {
  __builtin_printf("invariant broken: %s\n", what);
  std::abort();
}

uint32_t Le(const std::vector<uint8_t>& b, uint64_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= (at + i < b.size() ? uint32_t{b[at + i]} : 0u) << (8 * i);
  return v;
}

// Where a write may land: the raw data of the first section that holds the
// resource table's RVA, cut at the end of the file, never below the headers.
// Empty when the headers do not say.
struct Bounds {
  uint64_t begin = 0, end = 0;
  int64_t checksum = -1;
};

Bounds Writable(const std::vector<uint8_t>& b) {
  Bounds none;
  uint64_t pe = Le(b, 60, 4);
  uint64_t file_header = pe + 4;
  if (file_header + 20 > b.size()) return none;
  uint32_t sections = Le(b, file_header + 2, 2);
  uint32_t optional_size = Le(b, file_header + 16, 2);
  uint64_t optional = file_header + 20;
  bool plus = Le(b, optional, 2) == 0x20B;
  uint64_t resource_dir = optional + (plus ? 128 : 112);
  uint64_t table = optional + optional_size;
  uint64_t headers_end = std::max<uint64_t>({Le(b, optional + 60, 4), table + 40ull * sections, 308});
  uint32_t rva = Le(b, resource_dir, 4);
  for (uint32_t i = 0; i < sections; ++i) {
    uint64_t s = table + 40ull * i;
    uint64_t va = Le(b, s + 12, 4), raw_size = Le(b, s + 16, 4), raw = Le(b, s + 20, 4);
    if (va <= rva && rva < va + raw_size) {
      Bounds out;
      out.begin = std::max(raw, headers_end);
      out.end = std::min<uint64_t>(raw + raw_size, b.size());
      out.checksum = static_cast<int64_t>(optional + 64);
      return out;
    }
  }
  return none;
}

// An NSIS installer's first header, found as the installer finds it: at the
// first 512-byte boundary after every section's raw data. -1 when there is none.
int64_t NsisHeaderAt(const std::vector<uint8_t>& b) {
  uint64_t file_header = uint64_t{Le(b, 60, 4)} + 4;
  uint32_t sections = Le(b, file_header + 2, 2);
  uint64_t table = file_header + 20 + Le(b, file_header + 16, 2);
  uint64_t end = 0;
  for (uint32_t i = 0; i < sections; ++i) {
    uint64_t raw_size = Le(b, table + 40ull * i + 16, 4);
    if (raw_size > 0) end = std::max(end, Le(b, table + 40ull * i + 20, 4) + raw_size);
  }
  uint64_t at = (end + 511) / 512 * 512;
  static const uint8_t kSignature[16] = {0xEF, 0xBE, 0xAD, 0xDE, 'N', 'u', 'l', 'l', 's', 'o', 'f', 't', 'I', 'n', 's', 't'};
  if (end == 0 || at + 28 > b.size() || std::memcmp(&b[at + 4], kSignature, 16) != 0) return -1;
  if ((Le(b, at, 4) & ~15u) || Le(b, at + 24, 4) > b.size() - at) return -1;
  return static_cast<int64_t>(at);
}

// Where it keeps its CRC: the last 4 bytes of the stretch the header names,
// unless its flags turn the check off. -1 when there is none.
int64_t NsisCrcAt(const std::vector<uint8_t>& b) {
  int64_t at = NsisHeaderAt(b);
  if (at < 0) return -1;
  uint32_t flags = Le(b, static_cast<uint64_t>(at), 4);
  uint64_t length = Le(b, static_cast<uint64_t>(at) + 24, 4);
  bool checked = (flags & 8) || !(flags & 4);
  if (length < 32 || !checked) return -1;
  return static_cast<int64_t>(static_cast<uint64_t>(at) + length - 4);
}

bool NsisCrcRight(const std::vector<uint8_t>& b, int64_t crc_at) {
  return crc32(0, b.data() + 512, static_cast<uInt>(crc_at - 512)) == Le(b, static_cast<uint64_t>(crc_at), 4);
}

// The icon images a successful replacement left, as the engine finds them.
std::vector<IconImageRef> IconsAfter(const std::vector<uint8_t>& after) {
  MemoryFile file(after);
  ResourceSection section = Find_Resource_Tree(file, {});
  std::vector<IconImageRef> icons;
  Find_Icon_Resources(file, section, icons, {});
  if (icons.empty()) Violation("no icon image found after a success");
  return icons;
}

void CheckIconsNameTheImage(const std::vector<uint8_t>& after, const IconImage& image) {
  std::vector<IconImageRef> icons = IconsAfter(after);
  for (const IconImageRef& icon : icons) {
    if (icon.Offset != icons.front().Offset) Violation("icon entries name different images");
    if (icon.Size != image.bytes.size()) Violation("an icon entry's size is not the image's");
  }
  size_t at = static_cast<size_t>(icons.front().Offset);
  if (at + image.bytes.size() > after.size() || !std::equal(image.bytes.begin(), image.bytes.end(), after.begin() + at)) {
    Violation("the new image is not where the icon entries point");
  }
}

// What both replacements promise: the length kept; a failure changes nothing
// and says why; a success changes nothing outside the section's raw data but
// the CheckSum, and a right CheckSum stays right. True after a success.
bool CheckChangeKept(const std::vector<uint8_t>& original, const std::vector<uint8_t>& after, int32_t result,
                     const std::string& failure) {
  if (after.size() != original.size()) Violation("length changed");
  if (result != kSuccess) {
    if (after != original) Violation("failed replacement changed the target");
    if (failure.empty()) Violation("failure without a text");
    return false;
  }
  Bounds bounds = Writable(original);
  int64_t crc_at = NsisCrcAt(original);
  auto in_field = [](size_t i, int64_t field) {
    return field >= 0 && static_cast<int64_t>(i) >= field && static_cast<int64_t>(i) < field + 4;
  };
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == original[i]) continue;
    bool in_section = i >= bounds.begin && i < bounds.end;
    if (!in_section && !in_field(i, bounds.checksum) && !in_field(i, crc_at)) {
      Violation("byte outside the resource section's raw data changed");
    }
  }
  if (crc_at >= 0 && NsisCrcRight(original, crc_at) && !NsisCrcRight(after, crc_at)) {
    Violation("a right NSIS installer CRC is wrong after the replacement");
  }
  if (bounds.checksum >= 0) {
    uint32_t stored = Le(original, static_cast<uint64_t>(bounds.checksum), 4);
    if (stored != 0 && stored == PeChecksum(original.data(), original.size(), bounds.checksum) &&
        Le(after, static_cast<uint64_t>(bounds.checksum), 4) != PeChecksum(after.data(), after.size(), bounds.checksum)) {
      Violation("a right CheckSum is wrong after the replacement");
    }
  }
  return true;
}

// In an NSIS installer, where the uninstaller it writes puts its own icon
// back, every icon entry is as it was, and a place that changed starts with
// one of the icon file's images.
void CheckPlacesKept(const std::vector<uint8_t>& original, const std::vector<uint8_t>& after,
                     const std::vector<IconImage>& images) {
  std::vector<IconImageRef> before = IconsAfter(original), now = IconsAfter(after);
  if (before.size() != now.size()) Violation("an NSIS installer's icons changed in number");
  for (size_t i = 0; i < now.size(); ++i) {
    if (now[i].Offset != before[i].Offset || now[i].Size != before[i].Size) {
      Violation("an NSIS installer's icon image moved or changed its size");
    }
    auto place = after.begin() + std::min<size_t>(static_cast<size_t>(std::max(now[i].Offset, 0)), after.size());
    size_t room = std::min<size_t>(now[i].Size, static_cast<size_t>(after.end() - place));
    if (std::equal(place, place + room, original.begin() + (place - after.begin()))) continue;
    bool image_there = std::any_of(images.begin(), images.end(), [&](const IconImage& image) {
      return image.bytes.size() <= room && std::equal(image.bytes.begin(), image.bytes.end(), place);
    });
    if (!image_there) Violation("an NSIS installer's icon place holds no image of the icon file");
  }
}

// After --all-sizes every icon entry names the whole bytes of one of the icon
// file's images.
void CheckIconsNameImages(const std::vector<uint8_t>& after, const std::vector<IconImage>& images) {
  std::vector<IconImageRef> icons = IconsAfter(after);
  for (const IconImageRef& icon : icons) {
    bool found = std::any_of(images.begin(), images.end(), [&](const IconImage& image) {
      return icon.Size == image.bytes.size() && icon.Offset > 0 && icon.Offset + image.bytes.size() <= after.size() &&
             std::equal(image.bytes.begin(), image.bytes.end(), after.begin() + icon.Offset);
    });
    if (!found) Violation("an icon entry names no image of the icon file");
  }
}

// --extract of the first group: the program is only read, and a success is an
// icon file the reader takes, of as many images as reported, each of them
// bytes of the program. The engine takes out at most four times the section's
// bytes, so the images are compared in one pass each; the first few distinct
// ones are also found in the program, by glibc's memmem, linear in its
// length whatever the bytes: a check that grew with images x file size would
// spend the fuzzer's minute here instead of in the engine.
constexpr size_t kImagesSought = 4;

void CheckExtract(const std::vector<uint8_t>& original) {
  MemoryFile target(original);
  ExtractedIcon extracted;
  std::string failure;
  int32_t result = ExtractIconGroupIn(target, "target.exe", {}, extracted, failure, {});
  if (target.bytes() != original) Violation("--extract changed the program");
  if (result != kSuccess) {
    if (failure.empty()) Violation("--extract failed without a text");
    return;
  }
  MemoryFile ico(extracted.ico);
  std::vector<IconImage> images;
  std::string why;
  if (LoadIconImages(ico, images, why) != kSuccess) Violation("--extract wrote no valid icon file");
  if (images.size() != static_cast<size_t>(extracted.images)) Violation("--extract's count is not the file's");
  std::vector<const IconImage*> sought;
  for (const IconImage& image : images) {
    if (sought.size() == kImagesSought) break;
    bool seen = std::any_of(sought.begin(), sought.end(), [&](const IconImage* s) { return s->bytes == image.bytes; });
    if (!seen) sought.push_back(&image);
  }
  for (const IconImage* image : sought) {
    if (!memmem(original.data(), original.size(), image->bytes.data(), image->bytes.size())) {
      Violation("--extract made an image the program does not hold");
    }
  }
}

// Where the headers end (the first byte of any section's raw data), and the
// raw data of a section an earlier --add-sizes added (the last, by its name),
// which a run may write again.
struct Layout {
  uint64_t headers_end = 0, earlier_begin = 0, earlier_end = 0;
};

Layout LayoutOf(const std::vector<uint8_t>& b) {
  Layout l;
  uint64_t file_header = Le(b, 60, 4) + 4;
  uint32_t sections = Le(b, file_header + 2, 2);
  uint64_t table = file_header + 20 + Le(b, file_header + 16, 2);
  l.headers_end = b.size();
  for (uint32_t i = 0; i < sections; ++i) {
    uint64_t s = table + 40ull * i;
    if (Le(b, s + 16, 4) && Le(b, s + 20, 4)) l.headers_end = std::min<uint64_t>(l.headers_end, Le(b, s + 20, 4));
  }
  uint64_t last = table + 40ull * (sections ? sections - 1 : 0);
  if (sections && Le(b, last, 4) == 0x7274762Eu && Le(b, last + 4, 4) == 0x00637273u) {  // ".vtrsrc"
    l.earlier_begin = Le(b, last + 20, 4);
    l.earlier_end = l.earlier_begin + Le(b, last + 16, 4);
  }
  return l;
}

void CheckAddSizes(const std::vector<uint8_t>& original, const std::vector<IconImage>& images) {
  MemoryFile target(original);
  AddSizesReport report;
  std::string failure;
  int32_t result = AddSizesIn(target, images, "target.exe", report, failure, {});
  const std::vector<uint8_t>& after = target.bytes();
  if (result != kSuccess) {
    if (after != original) Violation("failed --add-sizes changed the target");
    if (failure.empty()) Violation("--add-sizes failed without a text");
    return;
  }
  if (after.size() < original.size()) Violation("--add-sizes shortened the file");
  // The file grows by the section alone: its images, a tree and groups in
  // proportion to the old ones, and less than two alignments of padding.
  uint64_t image_bytes = 0;
  for (const IconImage& image : images) image_bytes += image.bytes.size();
  if (after.size() - original.size() > image_bytes + 8 * original.size() + (256u << 10)) {
    Violation("--add-sizes grew the file by more than its section");
  }
  Layout layout = LayoutOf(original);
  for (size_t i = layout.headers_end; i < original.size(); ++i) {
    bool own = i >= layout.earlier_begin && i < layout.earlier_end;
    if (after[i] != original[i] && !own) Violation("--add-sizes changed a byte past the headers");
  }
  Bounds bounds = Writable(original);
  if (bounds.checksum >= 0 && static_cast<uint64_t>(bounds.checksum) + 4 <= original.size()) {
    uint32_t stored = Le(original, static_cast<uint64_t>(bounds.checksum), 4);
    if (stored != 0 && stored == PeChecksum(original.data(), original.size(), bounds.checksum) &&
        Le(after, static_cast<uint64_t>(bounds.checksum), 4) != PeChecksum(after.data(), after.size(), bounds.checksum)) {
      Violation("a right CheckSum is wrong after --add-sizes");
    }
  }
}

// The icon part read as a version resource: one that is read is written back
// byte for byte, and once changed reads again with the value set.
void CheckVersionBlob(const std::vector<uint8_t>& bytes) {
  std::string why;
  std::optional<VersionBlock> root = ReadVersionInfo(bytes, why);
  if (!root) {
    if (why.empty()) Violation("a version resource refused without a reason");
    return;
  }
  // The root's own bytes, as its wLength counts them; a data entry may name
  // more (padding), which is not part of the resource.
  const std::vector<uint8_t> own(bytes.begin(), bytes.begin() + (bytes[0] | bytes[1] << 8));
  if (VersionInfoBytes(*root) != own) Violation("an unchanged version resource was not written back as it was");
  ResourceEdit edit;
  edit.version_strings = {{"CompanyName", "Fuzzed"}};
  std::vector<FieldChange> changes;
  if (!EditVersionInfo(*root, edit, changes, why)) Violation("a plain string was refused");
  std::optional<std::vector<uint8_t>> changed = VersionInfoBytes(*root);
  if (!changed) return;  // longer than 16-bit lengths can say: refused
  std::optional<VersionBlock> again = ReadVersionInfo(*changed, why);
  if (!again) Violation("a changed version resource does not read again");
  ProgramResources listed;
  ListVersionInfo(*again, 0, listed);
  for (const VersionString& s : listed.strings) {
    if (s.key == "CompanyName" && s.value != "Fuzzed") Violation("a table kept its old value");
  }
}

// The version and the manifest set in the target: a failure changes nothing;
// a success only grows the file, changes no byte past the headers but the old
// data it wrote over in place and the section an earlier run added, and the
// result reads back with the value set.
void CheckResourceEdit(const std::vector<uint8_t>& original) {
  MemoryFile target(original);
  ResourceEdit edit;
  edit.version_strings = {{"CompanyName", "Fuzzed"}};
  edit.file_version = VersionNumber{{1, 2, 3, 4}, "1.2.3.4"};
  edit.execution_level = "asInvoker";
  ResourceEditReport report;
  std::string failure;
  int32_t result = EditResourcesIn(target, edit, "target.exe", report, failure, {}, false);
  const std::vector<uint8_t>& after = target.bytes();
  if (result != kSuccess) {
    if (after != original) Violation("a failed edit changed the target");
    if (failure.empty()) Violation("an edit failed without a text");
    return;
  }
  if (after.size() < original.size()) Violation("an edit shortened the file");
  Layout layout = LayoutOf(original);
  Bounds tree = Writable(original);
  bool in_place = false;
  for (const ResourcePlacement& p : report.placements) in_place = in_place || p.in_place;
  for (size_t i = layout.headers_end; i < original.size(); ++i) {
    // Written over in place: the data, and the data entries in the tree's section.
    bool own = (i >= layout.earlier_begin && i < layout.earlier_end) || (in_place && i >= tree.begin && i < tree.end);
    for (const ResourcePlacement& p : report.placements) {
      own = own || (p.in_place && int64_t(i) >= p.file_offset && int64_t(i) < p.file_offset + p.bytes_before);
    }
    if (after[i] != original[i] && !own) Violation("an edit changed a byte past the headers");
  }
  ProgramResources read;
  try {
    if (ReadResourcesIn(target, "target.exe", read, failure, {}) != kSuccess) Violation("an edited program does not read");
  } catch (const std::exception&) {
    Violation("reading an edited program threw");
  }
  if (read.file_version != "1.2.3.4" || read.execution_level != "asInvoker") Violation("an edit did not read back");
}

// Pictures reach the engine's decoder and scaler at sizes that keep an input
// in milliseconds: a side of at most 64 pixels as the header declares it (a
// larger one is left as bytes, which the icon reader refuses), made into two
// small sizes. Encoding the 256-pixel PNG took most of each input and reads
// nothing the fuzzer wrote; it and the limits on larger pictures are tested
// on their own, not thousands of times a minute.
constexpr uint32_t kFuzzPictureSide = 64;
const std::vector<int> kFuzzPictureSizes = {16, 32};

bool SmallPicture(const std::vector<uint8_t>& png) {
  auto be32 = [&](size_t at) {
    return uint32_t{png[at]} << 24 | uint32_t{png[at + 1]} << 16 | uint32_t{png[at + 2]} << 8 | png[at + 3];
  };
  return png.size() >= 24 && be32(16) <= kFuzzPictureSide && be32(20) <= kFuzzPictureSide;
}

// The icon file a picture is made into, checked; empty when it is refused.
std::vector<uint8_t> PictureIcon(const std::vector<uint8_t>& png) {
  std::vector<uint8_t> ico;
  std::string failure;
  int32_t result = PictureIconFile(png, "picture.png", kFuzzPictureSizes, ico, failure, {});
  if (result == kOutOfMemory) return {};
  if (result != kSuccess) {
    if (result != kPictureUnreadable) Violation("a picture refused with another number");
    if (failure.rfind("the picture cannot be read: ", 0) != 0) Violation("a picture refused without its text");
    if (!ico.empty()) Violation("a refused picture made an icon");
    return {};
  }
  MemoryFile file(ico);
  std::vector<IconImage> images;
  std::string why;
  if (LoadIconImages(file, images, why) != kSuccess) Violation("a made icon file does not load");
  if (images.size() != kFuzzPictureSizes.size()) Violation("a made icon file lacks a size");
  for (size_t i = 0; i < images.size(); ++i) {
    if (DescribedSize(images[i]).width != kFuzzPictureSizes[i]) Violation("a made image has the wrong size");
  }
  return ico;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t icon_size = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
  icon_size = static_cast<uint32_t>(std::min<size_t>(icon_size, size - 4));
  std::vector<uint8_t> icon_bytes(data + 4, data + 4 + icon_size);
  if (IsPng(icon_bytes.data(), icon_bytes.size()) && SmallPicture(icon_bytes)) icon_bytes = PictureIcon(icon_bytes);
  MemoryFile icon(std::move(icon_bytes));
  const std::vector<uint8_t> original(data + 4 + icon_size, data + size);
  const bool nsis = NsisHeaderAt(original) >= 0;
  WarningSink sink = [](const std::string&, const std::string&) {};

  IconImage image;
  if (Is_Valid_Icon_File(icon) && LoadFirstImage(icon, image) == kSuccess) {
    MemoryFile target(original);
    std::string failure;
    int32_t result = ReplaceIconIn(target, image, "icon.ico", "target.exe", failure, sink);
    if (CheckChangeKept(original, target.bytes(), result, failure)) {
      if (nsis) CheckPlacesKept(original, target.bytes(), {image});
      else CheckIconsNameTheImage(target.bytes(), image);
    }
  }

  // --all-sizes, on the same pair: every image of the icon file.
  std::vector<IconImage> images;
  std::string why;
  if (LoadIconImages(icon, images, why) == kSuccess) {
    MemoryFile target(original);
    AllSizesReport report;
    std::string failure;
    int32_t result = ReplaceAllSizesIn(target, images, "icon.ico", "target.exe", report, failure, sink);
    if (CheckChangeKept(original, target.bytes(), result, failure)) {
      if (nsis) CheckPlacesKept(original, target.bytes(), images);
      else CheckIconsNameImages(target.bytes(), images);
    }
    CheckAddSizes(original, images);
  }

  CheckExtract(original);
  CheckVersionBlob(std::vector<uint8_t>(data + 4, data + 4 + icon_size));
  CheckResourceEdit(original);
  return 0;
}
