// Reads a program's icon groups and images for --list, changing nothing.
#include <map>

#include "reader.h"
#include "resource_walk.h"
#include "traps.h"
#include "mod_pe.h"

namespace vantorel::engine {

namespace {


struct ImageKey {
  uint32_t id, language;
  bool operator<(const ImageKey& o) const { return id != o.id ? id < o.id : language < o.language; }
};

void Read_Listing(const RandomAccessFile& file, const ResourceSection& section, IconListing& listing) {
  Reader r = Resource_Section_Reader(file, section);
  const int32_t root = section.root;
  std::map<ImageKey, int64_t> offsets;
  // -1 for data below the section, and for an RVA that does not convert.
  auto to_offset = [&](int32_t rva) -> int64_t {
    int32_t offset = RVA_to_Offset(section, rva, {});
    return offset > 0 ? offset : -1;
  };

  WalkCallbacks images;
  images.want_type = [](const ResourceEntry& t) { return t.Name == kRtIcon; };
  images.visit = [&](const LanguageVisit& v) {
    int32_t entry = Data_Entry_At(root, v);
    if (!r.Contains(entry, 16)) return;
    IconImageInfo info;
    info.name = Resource_Name(r, root, v.name.Name);
    info.language = v.language.Name;
    info.rva = r.U32(entry);
    info.size = r.U32(int64_t{entry} + 4);
    info.file_offset = to_offset(static_cast<int32_t>(info.rva));
    offsets.emplace(ImageKey{v.name.Name, v.language.Name}, info.file_offset);
    listing.images.push_back(info);
  };
  Walk_Resource_Tree(r, root, images);

  WalkCallbacks groups;
  groups.want_type = [](const ResourceEntry& t) { return t.Name == kRtGroupIcon; };
  groups.visit = [&](const LanguageVisit& v) {
    int32_t entry = Data_Entry_At(root, v);
    if (!r.Contains(entry, 16)) return;
    int64_t data = to_offset(r.I32(entry));
    int64_t size = r.U32(int64_t{entry} + 4);
    if (!r.Contains(data, 6)) return;
    uint16_t count = r.U16(data + 4);
    for (int e = 0; e < count && 6 + (e + 1) * int64_t{kGrpIconDirEntrySize} <= size; ++e) {
      int64_t at = data + 6 + e * int64_t{kGrpIconDirEntrySize};
      if (!r.Contains(at, kGrpIconDirEntrySize)) break;
      IconGroupEntry g;
      g.group = Resource_Name(r, root, v.name.Name);
      g.language = v.language.Name;
      // A width or height byte of 0 means 256 pixels.
      g.width = r.U8(at) ? r.U8(at) : 256;
      g.height = r.U8(at + 1) ? r.U8(at + 1) : 256;
      g.colors = r.U8(at + 2);
      g.bits = r.U16(at + 6);
      g.bytes = r.U32(at + 8);
      g.icon_id = r.U16(at + 12);
      auto found = offsets.find({g.icon_id, g.language});
      if (found == offsets.end()) found = offsets.lower_bound({g.icon_id, 0});
      if (found != offsets.end() && found->first.id == g.icon_id) g.file_offset = found->second;
      listing.groups.push_back(g);
    }
  };
  Walk_Resource_Tree(r, root, groups);
}

}  // namespace

namespace {

int32_t List_Icons_Of(const std::filesystem::path& target, IconListing& listing, std::string& failure_text,
                      const WarningSink& warn) {
  const std::string path = Path_Text(target);
  std::string reason;
  auto file = OpenImageFile(target, Access::Read, reason);
  if (!file) {
    failure_text = Open_Failure_Text(path, reason);
    return kOpenFailed;
  }
  if (!Is_Valid_PE(*file)) {
    failure_text = Not_Win32_Text(path);
    return kNotWin32Executable;
  }
  listing.is_signed = Is_Signed(*file);
  ResourceSection section = Find_Resource_Tree(*file, warn);
  if (section.root <= kHeadersEnd) {
    failure_text = No_Tree_Text(path);
    return kNoResourceTree;
  }
  bool read = Trap(warn, kIconLocateText, [&] {
    Read_Listing(*file, section, listing);
    return true;
  });
  if (!read) {
    failure_text = Error_Description(kSubscriptOutOfRange);
    return kSubscriptOutOfRange;
  }
  return kSuccess;
}

}  // namespace

int32_t List_Icons(const std::filesystem::path& target, IconListing& listing, std::string& failure_text,
                   const WarningSink& warn) {
  try {
    return List_Icons_Of(target, listing, failure_text, warn);
  } catch (const std::bad_alloc&) {
    failure_text = Error_Description(kOutOfMemory);
    return kOutOfMemory;
  } catch (const std::exception& e) {
    failure_text = std::string("Unexpected error: ") + e.what();
    return kUnexpected;
  }
}

}  // namespace vantorel::engine
