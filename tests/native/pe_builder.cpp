#include "pe_builder.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

namespace vantorel::engine::test {

void Put16(Bytes& b, size_t at, uint16_t v) {
  b.at(at) = static_cast<uint8_t>(v);
  b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t Get16(const Bytes& b, size_t at) { return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8); }

uint32_t Get32(const Bytes& b, size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<uint32_t>(b.at(at + 3)) << 24;
}

namespace {

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kTextRaw = 0x200, kTextVa = 0x1000;
constexpr uint32_t kRsrcRaw = 0x400, kRsrcVa = 0x2000;

uint32_t Align(uint32_t v, uint32_t a) { return (v + a - 1) / a * a; }

// The resource section's bytes, with the offsets of what the tests look at.
struct Tree {
  Bytes bytes;
  std::vector<uint32_t> data_entry, data_offset, language_entry;  // section-relative
  uint32_t data_end = 0;
};

Tree LayOutTree(const std::vector<Resource>& resources, uint32_t free_after_data) {
  // type -> name -> language -> resource index; numbers ascend, as compilers sort them.
  std::map<uint32_t, std::map<uint32_t, std::map<uint32_t, size_t>>> tree;
  for (size_t i = 0; i < resources.size(); ++i) {
    tree[resources[i].type][resources[i].name][resources[i].language] = i;
  }
  size_t dirs = 16 + 8 * tree.size();
  for (auto& [t, names] : tree) {
    dirs += 16 + 8 * names.size();
    for (auto& [n, langs] : names) dirs += 16 + 8 * langs.size();
  }
  uint32_t entries_at = static_cast<uint32_t>(dirs);
  uint32_t data_at = Align(entries_at + 16 * static_cast<uint32_t>(resources.size()), 8);

  Tree out;
  out.data_entry.resize(resources.size());
  out.data_offset.resize(resources.size());
  out.language_entry.resize(resources.size());
  uint32_t cursor = data_at;
  for (size_t i = 0; i < resources.size(); ++i) {
    out.data_entry[i] = entries_at + 16 * static_cast<uint32_t>(i);
    out.data_offset[i] = cursor;
    cursor = Align(cursor + static_cast<uint32_t>(resources[i].data.size()), 8);
  }
  out.data_end = cursor;
  out.bytes.assign(cursor + free_after_data, 0);
  Bytes& b = out.bytes;

  auto directory = [&](uint32_t at, size_t count) {
    Put16(b, at + 14, static_cast<uint16_t>(count));
    return at + 16;
  };
  uint32_t next_dir = static_cast<uint32_t>(16 + 8 * tree.size());
  uint32_t type_entry = directory(0, tree.size());
  for (auto& [t, names] : tree) {
    Put32(b, type_entry, t);
    Put32(b, type_entry + 4, 0x80000000u | next_dir);
    type_entry += 8;
    uint32_t name_dir = next_dir;
    next_dir += static_cast<uint32_t>(16 + 8 * names.size());
    uint32_t name_entry = directory(name_dir, names.size());
    for (auto& [n, langs] : names) {
      Put32(b, name_entry, n);
      Put32(b, name_entry + 4, 0x80000000u | next_dir);
      name_entry += 8;
      uint32_t lang_dir = next_dir;
      next_dir += static_cast<uint32_t>(16 + 8 * langs.size());
      uint32_t lang_entry = directory(lang_dir, langs.size());
      for (auto& [l, index] : langs) {
        Put32(b, lang_entry, l);
        Put32(b, lang_entry + 4, out.data_entry[index]);
        out.language_entry[index] = lang_entry;
        lang_entry += 8;
      }
    }
  }
  for (size_t i = 0; i < resources.size(); ++i) {
    Put32(b, out.data_entry[i], kRsrcVa + out.data_offset[i]);
    Put32(b, out.data_entry[i] + 4, static_cast<uint32_t>(resources[i].data.size()));
    std::copy(resources[i].data.begin(), resources[i].data.end(), b.begin() + out.data_offset[i]);
  }
  return out;
}

}  // namespace

BuiltPe BuildPe(const PeOptions& o) {
  Tree tree = LayOutTree(o.resources, o.free_after_data);
  BuiltPe pe;
  pe.rsrc_raw = kRsrcRaw;
  pe.rsrc_va = kRsrcVa;
  pe.rsrc_raw_size = Align(static_cast<uint32_t>(tree.bytes.size()), kFileAlignment);
  pe.root = kRsrcRaw;

  Bytes& b = pe.bytes;
  b.assign(kRsrcRaw + pe.rsrc_raw_size, 0);
  b[0] = 'M';
  b[1] = 'Z';
  pe.e_lfanew = 0x40;
  Put32(b, 60, pe.e_lfanew);
  b[0x40] = 'P';
  b[0x41] = 'E';
  uint32_t fh = pe.e_lfanew + 4;
  uint16_t optional_size = o.pe32plus ? 240 : 224;
  Put16(b, fh, o.pe32plus ? 0x8664 : 0x14C);
  Put16(b, fh + 2, 2);
  Put16(b, fh + 16, optional_size);
  Put16(b, fh + 18, 0x0102);
  uint32_t oh = pe.optional_header = fh + 20;
  Put16(b, oh, o.pe32plus ? 0x20B : 0x10B);
  Put32(b, oh + 16, kTextVa);  // AddressOfEntryPoint
  Put32(b, oh + 32, kSectionAlignment);
  Put32(b, oh + 36, kFileAlignment);
  Put32(b, oh + 56, kRsrcVa + Align(pe.rsrc_raw_size, kSectionAlignment));  // SizeOfImage
  Put32(b, oh + 60, kFileAlignment);                                       // SizeOfHeaders
  Put16(b, oh + 68, 2);                                                    // GUI subsystem
  Put32(b, oh + (o.pe32plus ? 108 : 92), 16);                              // NumberOfRvaAndSizes
  pe.resource_dir = oh + (o.pe32plus ? 128 : 112);
  Put32(b, pe.resource_dir, kRsrcVa);
  Put32(b, pe.resource_dir + 4, static_cast<uint32_t>(tree.bytes.size()));

  pe.section_table = oh + optional_size;
  auto section = [&](uint32_t at, const char* name, uint32_t va, uint32_t raw, uint32_t raw_size, uint32_t flags) {
    for (int i = 0; name[i]; ++i) b[at + i] = static_cast<uint8_t>(name[i]);
    Put32(b, at + 8, raw_size);  // VirtualSize
    Put32(b, at + 12, va);
    Put32(b, at + 16, raw_size);
    Put32(b, at + 20, raw);
    Put32(b, at + 36, flags);
  };
  section(pe.section_table, ".text", kTextVa, kTextRaw, kFileAlignment, 0x60000020);
  pe.rsrc_header = pe.section_table + 40;
  section(pe.rsrc_header, ".rsrc", kRsrcVa, kRsrcRaw, pe.rsrc_raw_size, 0x40000040);
  b[kTextRaw] = 0xC3;  // ret

  std::copy(tree.bytes.begin(), tree.bytes.end(), b.begin() + kRsrcRaw);
  pe.type_dir_entries = pe.root + 16;
  for (size_t i = 0; i < o.resources.size(); ++i) {
    pe.data_entry.push_back(pe.root + tree.data_entry[i]);
    pe.data_offset.push_back(pe.root + tree.data_offset[i]);
    pe.language_entry.push_back(pe.root + tree.language_entry[i]);
  }
  pe.data_end = pe.root + tree.data_end;
  if (!o.resource_section) {
    // The section table keeps .text alone; the file ends with it.
    std::fill(b.begin() + pe.rsrc_header, b.begin() + pe.rsrc_header + 40, 0);
    Put16(b, fh + 2, 1);
    Put32(b, pe.resource_dir, 0);
    Put32(b, pe.resource_dir + 4, 0);
    Put32(b, oh + 56, kTextVa + kSectionAlignment);
    b.resize(kRsrcRaw);
  }
  b.insert(b.end(), o.appended.begin(), o.appended.end());
  return pe;
}

void AddSymbolTable(BuiltPe& pe, uint32_t symbols, uint32_t strings) {
  Bytes& b = pe.bytes;
  uint32_t fh = pe.e_lfanew + 4;
  Put32(b, fh + 8, static_cast<uint32_t>(b.size()));
  Put32(b, fh + 12, symbols);
  size_t at = b.size();
  b.resize(at + 18 * symbols + strings, 0);
  for (size_t i = at; i < at + 18 * symbols; ++i) b[i] = static_cast<uint8_t>(i * 13 + 1);
  Put32(b, at + 18 * symbols, strings);
}

Bytes SizedGroup(const std::vector<Described>& entries) {
  Bytes g(6 + 14 * entries.size(), 0);
  Put16(g, 2, 1);
  Put16(g, 4, static_cast<uint16_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    size_t at = 6 + 14 * i;
    g[at] = g[at + 1] = entries[i].side;
    Put16(g, at + 4, 1);
    Put16(g, at + 6, entries[i].bits);
    Put32(g, at + 8, entries[i].bytes);
    Put16(g, at + 12, entries[i].id);
  }
  return g;
}

Bytes GroupIcon(const std::vector<uint16_t>& ids) {
  std::vector<Described> entries;
  for (size_t i = 0; i < ids.size(); ++i) {
    entries.push_back({static_cast<uint8_t>(16 << (i % 3)), 32, ids[i], 1000 + static_cast<uint32_t>(i)});
  }
  return SizedGroup(entries);
}

PeOptions IconProgram(const std::vector<uint32_t>& image_sizes, bool pe32plus) {
  PeOptions o;
  o.pe32plus = pe32plus;
  std::vector<uint16_t> ids;
  for (size_t i = 0; i < image_sizes.size(); ++i) {
    uint16_t id = static_cast<uint16_t>(i + 1);
    ids.push_back(id);
    o.resources.push_back({3, id, 1033, Bytes(image_sizes[i], static_cast<uint8_t>(0xA0 + i))});
  }
  o.resources.push_back({14, 1, 1033, GroupIcon(ids)});
  return o;
}

Bytes IconFile(const std::vector<IconFileEntry>& images) {
  Bytes f(6 + 16 * images.size(), 0);
  Put16(f, 2, 1);
  Put16(f, 4, static_cast<uint16_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    size_t at = 6 + 16 * i;
    f[at] = images[i].width;
    f[at + 1] = images[i].height;
    f[at + 2] = images[i].colors;
    Put16(f, at + 4, images[i].planes);
    Put16(f, at + 6, images[i].bits);
    Put32(f, at + 8, static_cast<uint32_t>(images[i].image.size()));
    Put32(f, at + 12, static_cast<uint32_t>(f.size()));
    f.insert(f.end(), images[i].image.begin(), images[i].image.end());
  }
  return f;
}

IconFileEntry Image(uint32_t size, uint8_t seed, uint8_t width) {
  IconFileEntry s;
  s.width = s.height = width;
  s.image.resize(size);
  for (uint32_t i = 0; i < size; ++i) s.image[i] = static_cast<uint8_t>(seed + i * 7);
  return s;
}

// One group icon of `entries` entries, reached through `languages` language
// entries that all name the first language's data entry.
BuiltPe SharedGroupData(uint16_t entries, uint32_t languages) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(64, 0xA1)});
  o.resources.push_back({3, 2, 1033, Bytes(64, 0xA2)});
  std::vector<uint16_t> ids(entries, 1);
  for (uint32_t l = 1; l <= languages; ++l) o.resources.push_back({14, 1, l, GroupIcon(ids)});
  BuiltPe pe = BuildPe(o);
  for (size_t i = 3; i < pe.language_entry.size(); ++i) {
    Put32(pe.bytes, pe.language_entry[i] + 4, pe.data_entry[2] - pe.root);
  }
  return pe;
}

// Moves the resource section's raw data pointer to `raw` and its
// VirtualAddress so that the tree keeps its place in the file, and points
// the first icon's data entry at file offset `image_at`.
Bytes WithRawPointer(const BuiltPe& pe, uint32_t raw, uint32_t image_at) {
  Bytes b = pe.bytes;
  // root = resource RVA - VirtualAddress + PointerToRawData stays rsrc_raw.
  uint32_t va = pe.rsrc_va - pe.rsrc_raw + raw;
  Put32(b, pe.rsrc_header + 12, va);
  Put32(b, pe.rsrc_header + 16, pe.rsrc_raw_size + (pe.rsrc_raw - raw));
  Put32(b, pe.rsrc_header + 20, raw);
  // VirtualAddress - PointerToRawData is unchanged, so every RVA keeps naming
  // the same file offset; only the first image's is made to name the headers.
  Put32(b, pe.data_entry[0], va + image_at - raw);
  return b;
}

void NameEntry(Bytes& b, const BuiltPe& pe, uint32_t dir, uint32_t entry, uint32_t at, const std::u16string& name) {
  Put16(b, at, static_cast<uint16_t>(name.size()));
  for (size_t i = 0; i < name.size(); ++i) Put16(b, at + 2 + 2 * i, name[i]);
  Put32(b, entry, 0x80000000u | (at - pe.root));
  Put16(b, dir + 12, 1);
  Put16(b, dir + 14, 0);
}

Bytes ReadFileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& p, const Bytes& b) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("vantorel-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

}  // namespace vantorel::engine::test
