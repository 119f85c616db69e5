// The replacement driver: opens and tests both files, plans every write, checks
// it, and only then writes.
#include "traps.h"
#include "vantorel/engine.h"
#include "vantorel/mod_pe.h"

namespace vantorel {
namespace {

// DOS header, file header and the PE32 optional header: no resource tree can
// start inside them.
constexpr int32_t kHeadersEnd = kDosHeaderSize + kFileHeaderSize + kOptionalHeader32Size;

int32_t Fail(int32_t number, std::string text, std::string& failure_text) {
  failure_text = std::move(text);
  return number;
}

bool Overlaps(const PlannedWrite& a, const PlannedWrite& b) {
  return a.offset < b.offset + static_cast<int64_t>(b.bytes.size()) &&
         b.offset < a.offset + static_cast<int64_t>(a.bytes.size());
}

}  // namespace

int32_t Replace_Icon_In(RandomAccessFile& target, const IconImage& icon, const std::string& icon_path,
                        const std::string& target_path, std::string& failure_text, const WarningSink& warn,
                        ReplacementPlan* plan_out, bool plan_only) {
  if (!Is_Valid_PE(target)) {
    return Fail(kNotWin32Executable, Not_Win32_Text(target_path), failure_text);
  }
  int32_t root = Find_Resource_Tree(target, warn);
  if (root <= kHeadersEnd) {
    return Fail(kNoResourceTree, No_Tree_Text(target_path), failure_text);
  }
  std::vector<IconImageRef> icons;
  Find_Icon_Resources(target, root, icons, warn);
  if (icons.empty()) return Fail(kSubscriptOutOfRange, Error_Description(kSubscriptOutOfRange), failure_text);

  const std::string modify_failed =
      "Unable to modify directories in target executable.  File may not contain any icon resources.";
  uint32_t bytes = icon.entry.dwBytesInRes;
  bool mapped = false;
  ImagePlacement placement = Trap(warn, kModifyText, [&] {
    ImagePlacement p = Find_Image_Room(target, root, icons.front(), bytes);
    mapped = true;
    return p;
  });
  if (!mapped) return Fail(kModifyFailed, modify_failed, failure_text);
  if (placement.offset < 0) {
    return Fail(kNoRoom,
                icon_path + " holds an image of " + std::to_string(bytes) + " bytes; the target has room for " +
                    std::to_string(placement.room) + " bytes. The target was not changed.",
                failure_text);
  }

  ReplacementPlan plan;
  plan.image_offset = placement.offset;
  plan.image_in_place = placement.offset == icons.front().Offset;
  plan.writes.push_back({placement.offset, icon.bytes, PlannedWrite::Kind::Image});
  if (!Modify_Resource_Directories(target, root, placement.offset, icon, plan.writes, warn)) {
    return Fail(kModifyFailed, modify_failed, failure_text);
  }
  for (size_t i = 1; i < plan.writes.size(); ++i) {
    if (Overlaps(plan.writes.front(), plan.writes[i])) return Fail(kModifyFailed, modify_failed, failure_text);
    if (plan.writes[i].kind == PlannedWrite::Kind::IconEntry) ++plan.icon_entries;
    if (plan.writes[i].kind == PlannedWrite::Kind::GroupEntry) ++plan.group_entries;
  }
  plan.image_rva = Offset_to_RVA(placement.offset, warn);
  plan.checksum = Plan_Checksum(target, plan.writes);

  bool restored = false;
  if (!plan_only && !Apply_Writes(target, plan.writes, restored)) {
    return Fail(kWriteFailed,
                "Failed to write to " + target_path +
                    (restored ? ". The target was left unchanged."
                              : ". The target may be damaged; restore it from its backup."),
                failure_text);
  }
  if (plan_out) *plan_out = std::move(plan);
  return kSuccess;
}

namespace {

// Both halves of a replacement, with the icon file closed before the target
// is opened. A preview opens the target for reading only.
int32_t Run(const std::filesystem::path& icon, const std::filesystem::path& target, std::string& failure_text,
            const WarningSink& warn, ReplacementPlan* plan, bool plan_only) {
  const std::string icon_path = Path_Text(icon), target_path = Path_Text(target);
  IconImage image;
  {
    auto icon_file = OpenImageFile(icon, Access::Read);
    if (!icon_file) return Fail(kOpenFailed, Open_Failure_Text(icon_path), failure_text);
    if (!Is_Valid_Icon_File(*icon_file)) {
      return Fail(kNotIconFile, icon_path + " is not a valid icon resource file.", failure_text);
    }
    int32_t loaded = Load_First_Image(*icon_file, image);
    if (loaded == kNotIconFile) {
      return Fail(kNotIconFile, icon_path + " is not a valid icon resource file.", failure_text);
    }
    if (loaded != kSuccess) return Fail(loaded, Error_Description(loaded), failure_text);
  }

  auto target_file = OpenImageFile(target, plan_only ? Access::Read : Access::ReadWrite);
  if (!target_file) return Fail(kOpenFailed, Open_Failure_Text(target_path), failure_text);
  return Replace_Icon_In(*target_file, image, icon_path, target_path, failure_text, warn, plan, plan_only);
}

}  // namespace

int32_t Change_Icon(const std::filesystem::path& icon, const std::filesystem::path& target,
                    std::string& failure_text, const WarningSink& warn) {
  return Run(icon, target, failure_text, warn, nullptr, false);
}

int32_t Preview_Change_Icon(const std::filesystem::path& icon, const std::filesystem::path& target,
                            ReplacementPreview& preview, std::string& failure_text, const WarningSink& warn) {
  ReplacementPlan plan;
  int32_t result = Run(icon, target, failure_text, warn, &plan, true);
  if (result != kSuccess) return result;
  preview.image_offset = plan.image_offset;
  preview.image_rva = static_cast<uint32_t>(plan.image_rva);
  preview.image_bytes = static_cast<uint32_t>(plan.writes.front().bytes.size());
  preview.image_in_place = plan.image_in_place;
  preview.icon_entries = plan.icon_entries;
  preview.group_entries = plan.group_entries;
  preview.checksum = plan.checksum;
  return kSuccess;
}

bool Is_Signed_Program(const std::filesystem::path& target) {
  auto file = OpenImageFile(target, Access::Read);
  return file && Is_Valid_PE(*file) && Is_Signed(*file);
}

}  // namespace vantorel
