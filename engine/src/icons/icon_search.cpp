// Lists where the target's icon images lie in the file.
#include "errors/guarded.h"
#include "icon_tree.h"
#include "pe/pe_layout.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "errors/traps.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

int32_t Find_Icon_Resources(const RandomAccessFile& file, const ResourceSection& section,
                            std::vector<IconImageRef>& icons, const WarningSink& warn) {
  return Trap(warn, kIconLocateText, [&]() -> int32_t {
    Reader r = ResourceSectionReader(file, section);
    int32_t count = 0;
    // Every language entry is listed, each converted as it is reached: what
    // was listed before a damaged entry stays listed.
    ReadIconLeaves(r, section.root, [&](const IconLeaf& leaf) {
      IconImageRef icon;
      icon.Offset = RVA_to_Offset(section, static_cast<int32_t>(leaf.rva), warn);
      icon.Size = leaf.size;
      icon.DataEntry = leaf.data_entry;
      count = Add32(count, 1);
      icons.push_back(icon);
    });
    return count;
  });
}

}  // namespace vantorel::engine
