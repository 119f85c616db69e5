// Reads a program's icon groups and images for --list, changing nothing.
#include "mode_frame.h"
#include "errors/failures.h"
#include "errors/traps.h"
#include "files/little_endian.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "icons/icon_sizes.h"
#include "icons/icon_tree.h"
#include "pe/container.h"
#include "pe/pe_layout.h"
#include "resources/resource_types.h"
#include "resources/resource_walk.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

namespace {

// -1 for data below the section, and for an RVA that does not convert.
int64_t ListedOffset(int32_t offset) { return offset > 0 ? offset : -1; }

IconGroupEntry ListedEntry(const IconTree& tree, const GroupEntryRef& e, std::string group, uint32_t language) {
  IconGroupEntry g;
  g.group = std::move(group);
  g.language = language;
  IconSize size = EntrySize(e.shared);
  g.width = size.width;
  g.height = size.height;
  g.colors = e.shared[2];
  g.bits = e.shared[6] | e.shared[7] << 8;  // as stored, 0 included
  g.bytes = Le32(e.shared.data() + 8);
  g.icon_id = e.nID;
  if (std::optional<size_t> icon = tree.IconNamed(e.nID, language)) {
    g.file_offset = ListedOffset(tree.icons[*icon].offset);
  }
  return g;
}

// Every language entry is listed, each with its own name and language, and
// what damage hides is skipped. Many entries may lead to one group: the rows
// stop at one per byte of the section (a sound tree lists far fewer), so a
// crafted tree cannot make the listing grow with the square of its size.
void ReadListing(const RandomAccessFile& file, const ResourceSection& section, IconListing& listing) {
  Reader r = ResourceSectionReader(file, section);
  IconTree tree = ReadIconTree(r, section, {}, Damage::Skip);
  int64_t rows_left = section.end - section.raw + 1;
  for (const IconLeaf& leaf : tree.leaves) {
    if (leaf.type != kRtIcon || leaf.index == IconLeaf::kNone) continue;
    IconImageInfo info;
    info.name = ResourceName(r, section.root, leaf.name);
    info.language = leaf.language;
    info.rva = leaf.rva;
    info.size = leaf.size;
    info.file_offset = ListedOffset(tree.icons[leaf.index].offset);
    listing.images.push_back(info);
  }
  for (const IconLeaf& leaf : tree.leaves) {
    if (leaf.type != kRtGroupIcon || leaf.index == IconLeaf::kNone) continue;
    std::string name = ResourceName(r, section.root, leaf.name);
    for (const GroupEntryRef& e : tree.groups[leaf.index].entries) {
      if (--rows_left < 0) return;
      listing.groups.push_back(ListedEntry(tree, e, name, leaf.language));
    }
  }
}

}  // namespace

int32_t ListIcons(const std::filesystem::path& target, IconListing& listing, std::string& failure_text,
                  const WarningSink& warn) {
  // What it reads goes straight into the listing; a thrown failure has
  // changed nothing, and its text says no more.
  ModePlanner list = [&](const Program& program, FileChange&, std::string& failure) -> int32_t {
    listing.is_signed = IsSigned(program.file);
    ResourceSection section;
    if (int32_t found = FindResourceSection(program, section, failure)) return found;
    bool read = Trap(program.warn, kIconLocateText, [&] {
      ReadListing(program.file, section, listing);
      return true;
    });
    if (!read) return Fail(kSubscriptOutOfRange, ErrorDescription(kSubscriptOutOfRange), failure);
    listing.container = ContainerOf(program.file);
    return kSuccess;
  };
  return OpenAndRead(target, list, failure_text, warn, "");
}

}  // namespace vantorel::engine
