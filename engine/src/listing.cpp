// Reads a program's icon groups and images for --list, changing nothing.
#include "icon_tree.h"
#include "little_endian.h"
#include "resource_walk.h"
#include "traps.h"

namespace vantorel::engine {

namespace {

// -1 for data below the section, and for an RVA that does not convert.
int64_t Listed_Offset(int32_t offset) { return offset > 0 ? offset : -1; }

IconGroupEntry Listed_Entry(const IconTree& tree, const GroupEntryRef& e, std::string group, uint32_t language) {
  IconGroupEntry g;
  g.group = std::move(group);
  g.language = language;
  IconSize size = Entry_Size(e.shared);
  g.width = size.width;
  g.height = size.height;
  g.colors = e.shared[2];
  g.bits = e.shared[6] | e.shared[7] << 8;  // as stored, 0 included
  g.bytes = Le32(e.shared.data() + 8);
  g.icon_id = e.nID;
  if (std::optional<size_t> icon = tree.Icon_Named(e.nID, language)) {
    g.file_offset = Listed_Offset(tree.icons[*icon].offset);
  }
  return g;
}

// Every language entry is listed, each with its own name and language, and
// what damage hides is skipped. Many entries may lead to one group: the rows
// stop at one per byte of the section (a sound tree lists far fewer), so a
// crafted tree cannot make the listing grow with the square of its size.
void Read_Listing(const RandomAccessFile& file, const ResourceSection& section, IconListing& listing) {
  Reader r = Resource_Section_Reader(file, section);
  IconTree tree = Read_Icon_Tree(r, section, {}, Damage::Skip);
  int64_t rows_left = section.end - section.raw + 1;
  for (const IconLeaf& leaf : tree.leaves) {
    if (leaf.type != kRtIcon || leaf.index == IconLeaf::kNone) continue;
    IconImageInfo info;
    info.name = Resource_Name(r, section.root, leaf.name);
    info.language = leaf.language;
    info.rva = leaf.rva;
    info.size = leaf.size;
    info.file_offset = Listed_Offset(tree.icons[leaf.index].offset);
    listing.images.push_back(info);
  }
  for (const IconLeaf& leaf : tree.leaves) {
    if (leaf.type != kRtGroupIcon || leaf.index == IconLeaf::kNone) continue;
    std::string name = Resource_Name(r, section.root, leaf.name);
    for (const GroupEntryRef& e : tree.groups[leaf.index].entries) {
      if (--rows_left < 0) return;
      listing.groups.push_back(Listed_Entry(tree, e, name, leaf.language));
    }
  }
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
