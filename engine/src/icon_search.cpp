// Lists where the target's icon images lie in the file.
#include "reader.h"
#include "resource_walk.h"
#include "traps.h"
#include "mod_pe.h"

namespace vantorel::engine {

int32_t Find_Icon_Resources(const RandomAccessFile& file, const ResourceSection& section,
                            std::vector<IconImageRef>& icons, const WarningSink& warn) {
  return Trap(warn, kIconLocateText, [&]() -> int32_t {
    Reader r = ResourceSectionReader(file, section);
    int32_t count = 0;
    WalkCallbacks cb;
    cb.want_type = [](const ResourceEntry& type) { return type.Name == kRtIcon; };
    cb.visit = [&](const LanguageVisit& v) {
      int32_t entry = DataEntryAt(section.root, v);
      if (!r.Contains(entry, 16)) Raise(9);
      int32_t rva = r.I32(entry);
      IconImageRef icon;
      icon.Offset = RVA_to_Offset(section, rva, warn);
      icon.Size = r.U32(int64_t{entry} + 4);
      icon.DataEntry = entry;
      count = Add32(count, 1);
      icons.push_back(icon);
    };
    WalkResourceTree(r, section.root, cb);
    return count;
  });
}

}  // namespace vantorel::engine
