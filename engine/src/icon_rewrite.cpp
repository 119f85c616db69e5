// Plans the rewrite of the icon and group-icon directory entries, and writes a
// plan so that a failure midway leaves the file as it was.
#include "reader.h"
#include "resource_walk.h"
#include "traps.h"
#include "vantorel/mod_pe.h"

namespace vantorel {

namespace {

// bWidth .. dwBytesInRes: the part that ICONDIRENTRY and GRPICONDIRENTRY share.
constexpr size_t kSharedEntryBytes = 12;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Every write must land inside the resource section's raw data.
void Plan(WritePlan& plan, int64_t offset, std::vector<uint8_t> bytes, PlannedWrite::Kind kind) {
  if (!In_Resource_Section(offset, static_cast<int64_t>(bytes.size()))) Raise(9);
  plan.push_back({offset, std::move(bytes), kind});
}

// Every entry of one group icon gets the new image's description; nID stays.
void Plan_Group(const Reader& r, int32_t data_entry, const IconImage& icon, WritePlan& plan,
                const WarningSink& warn) {
  if (!r.Contains(data_entry, 16)) Raise(9);
  int32_t rva = r.I32(data_entry);
  int64_t size = r.U32(int64_t{data_entry} + 4);
  int32_t group = RVA_to_Offset(rva, warn);
  // -1 (below the section) and the 0 after a conversion warning both fall
  // outside the section and are refused here.
  if (!In_Resource_Section(group, 6)) Raise(9);
  int16_t idCount = r.I16(int64_t{group} + 4);
  if (idCount < 0) Raise(9);
  // An idCount that runs past the group's own data is malformed.
  if (6 + int64_t{idCount} * kGrpIconDirEntrySize > size) Raise(9);
  std::vector<uint8_t> shared(icon.entry_bytes.begin(), icon.entry_bytes.begin() + kSharedEntryBytes);
  for (int16_t e = 0; e < idCount; ++e) {
    Plan(plan, int64_t{group} + 6 + int64_t{e} * kGrpIconDirEntrySize, shared, PlannedWrite::Kind::GroupEntry);
  }
}

}  // namespace

bool Modify_Resource_Directories(const RandomAccessFile& file, int32_t root, int32_t new_image_offset,
                                 const IconImage& icon, WritePlan& plan, const WarningSink& warn) {
  return Trap(warn, kModifyText, [&]() -> bool {
    Reader r = Resource_Section_Reader(file);
    uint32_t bytes = icon.entry.dwBytesInRes;
    if (!In_Resource_Section(new_image_offset, bytes)) Raise(9);
    int32_t new_rva = Offset_to_RVA(new_image_offset, warn);
    if (new_rva <= 0) Raise(9);  // no image lives at RVA 0, the headers do

    WritePlan planned;
    WalkCallbacks cb;
    cb.want_type = [](const ResourceEntry& t) { return t.Name == kRtIcon || t.Name == kRtGroupIcon; };
    cb.visit = [&](const LanguageVisit& v) {
      if (v.type.Name == kRtGroupIcon) {
        int32_t entry = Add32(root, static_cast<int32_t>(v.language.OffsetToData & kLow24));
        Plan_Group(r, entry, icon, planned, warn);
        return;
      }
      int32_t entry = Add32(root, static_cast<int32_t>(v.language.OffsetToData));
      if (!In_Resource_Section(entry, 16)) Raise(9);
      // OffsetToData and Size: the entry describes exactly the bytes it points at.
      std::vector<uint8_t> fields;
      Put32(fields, static_cast<uint32_t>(new_rva));
      Put32(fields, bytes);
      Plan(planned, entry, std::move(fields), PlannedWrite::Kind::IconEntry);
    };
    Walk_Resource_Tree(r, root, cb);
    plan.insert(plan.end(), planned.begin(), planned.end());
    return true;
  });
}

bool Apply_Writes(RandomAccessFile& file, const WritePlan& plan, bool& restored) {
  std::vector<std::vector<uint8_t>> kept;
  kept.reserve(plan.size());
  bool ok = true;
  for (const PlannedWrite& w : plan) {
    std::vector<uint8_t> old(w.bytes.size());
    if (!file.ReadAt(w.offset, old.data(), old.size())) {
      ok = false;
      break;
    }
    kept.push_back(std::move(old));
    if (!file.WriteAt(w.offset, w.bytes.data(), w.bytes.size())) {
      ok = false;
      break;
    }
  }
  if (ok && file.Flush()) {
    restored = false;
    return true;
  }
  // Put back what each write replaced, last first, so writes that overlap
  // unwind to the original bytes.
  restored = true;
  for (size_t i = kept.size(); i-- > 0;) {
    restored = file.WriteAt(plan[i].offset, kept[i].data(), kept[i].size()) && restored;
  }
  restored = file.Flush() && restored;
  return false;
}

}  // namespace vantorel
