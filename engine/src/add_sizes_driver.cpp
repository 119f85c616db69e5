// --add-sizes: every image of an icon file in every icon group of a program.
// Sizes a group has are filled as --all-sizes fills them; sizes it lacks are
// added as new icon resources; a program with no icon group gets one.
//
// Nothing in the file moves or changes value: one section after the last one
// (or the one an earlier run added, used again when it is provably ours: see
// earlier_section.h) holds a new resource tree,
// whose entries still point at the old data where it is, and the new images
// and groups. The file grows at its end only, and only the header fields that
// name the section change.
#include "added_icons.h"
#include "added_section.h"
#include "driver.h"
#include "earlier_section.h"
#include "resource_tree.h"
#include "section_content.h"
#include "traps.h"

namespace vantorel::engine {
namespace {

// Whether the headers name any resource data: a program built without
// resources has a zero entry (or one of zero bytes), and gains a tree here.
bool NamesResourceData(const PeHeaders& h) { return h.resources.rva && h.resources.size; }

// The resource tree and the icon model of a program with resources.
int32_t ReadResources(const RandomAccessFile& target, const Reader& file, const PeHeaders& h,
                      const std::string& target_path, ResourceTree& old, IconModel& model, std::string& failure_text,
                      const WarningSink& warn) {
  if (!NamesResourceData(h)) return kSuccess;
  ResourceSection section;
  if (int32_t located = LocateResourceSection(target, target_path, section, failure_text, warn)) return located;
  bool read = Trap(warn, kIconLocateText, [&] {
    Reader tree_reader = ResourceSectionReader(target, section);
    old = ReadResourceTree(tree_reader, section.root);
    model = ReadIconModel(file, h, tree_reader, section.root);
    return true;
  });
  return read ? kSuccess : Fail(kModifyFailed, kModifyFailedText, failure_text);
}

// The section's new content and where it goes, `at` bytes into the section.
// False when no icon number is left.
bool LayOut(const Reader& file, const PeHeaders& h, const EarlierSection& earlier,
            const std::vector<IconImage>& images, const IconModel& model, const ResourceTree& old, int64_t& at,
            AddedIcons& added) {
  return LayOutContent(file, h, earlier, [&](uint32_t va) -> const std::vector<uint8_t>* {
    added = {};
    return PlanAddedIcons(file, images, model, old, va, added) ? &added.content : nullptr;
  }, at);
}

int32_t PlanAndWrite(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                     AddSizesReport& report, std::string& failure_text, const WarningSink& warn, bool plan_only) {
  if (!Is_Valid_PE(target)) return Fail(kNotWin32Executable, NotWin32Text(target_path), failure_text);
  PeHeaders h;
  try {
    h = ReadPeHeaders(target);
  } catch (const EngineError&) {
    return Fail(kNotWin32Executable, NotWin32Text(target_path), failure_text);
  }
  // A tail an earlier run left unfinished is planned without, and cut off
  // before anything is written.
  const int64_t length = target.Length();
  const FilePrefix own(target, LengthWithoutUnfinishedTail(Reader(target, 0, length), h));
  const int64_t own_length = own.Length();
  Reader file(own, 0, own_length);
  if (int32_t layout = CheckLayout(file, h, target_path, failure_text)) return layout;

  ResourceTree old;
  IconModel model;
  if (int32_t read = ReadResources(own, file, h, target_path, old, model, failure_text, warn)) return read;
  const EarlierSection earlier = FindEarlierSection(file, h, old, model);
  if (!earlier.header) {
    if (int32_t room = CheckNewSection(file, h, target_path, failure_text)) return room;
  }
  int64_t at = 0;
  AddedIcons added;
  if (!LayOut(file, h, earlier, images, model, old, at, added)) {
    return Fail(kNoSectionRoom,
                target_path + " has no icon number left for its new icons: they are numbered after the highest one "
                              "its icons and groups use (#" + std::to_string(model.last_icon_number) +
                    "), and none may pass #65535." + kUnchanged,
                failure_text);
  }
  Growth growth = PlaceSection(h, earlier.header, earlier.header ? -1 : HeaderRoom(file, h), own_length, at,
                               std::move(added.content));
  if (AnyOverlap(growth.in_place)) return Fail(kModifyFailed, kModifyFailedText, failure_text);

  // The checksum counts what is appended as words written over nothing.
  WritePlan counted = growth.in_place;
  GuardedPlan(counted, own_length, growth.length_after).Add(own_length, growth.appended, PlannedWrite::Kind::Image);
  report.checksum = PlanChecksumOf(own, h.checksum_at, counted, growth.length_after);
  if (report.checksum) {
    GuardedPlan(growth.in_place, 0, own_length).Add(h.checksum_at, counted.back().bytes, PlannedWrite::Kind::Checksum);
  }

  report.icons = std::move(added.report.icons);
  for (SizeAssignment& a : report.icons) a.file_offset += growth.content_at;
  report.added = std::move(added.report.added);
  report.images_written = added.report.images_written;
  report.new_section = !earlier.header;
  report.section_name = reinterpret_cast<const char*>(kAddedSectionName.data());
  report.length_before = length;
  report.tail_removed = length - own_length;
  report.length_after = growth.length_after;
  if (plan_only) return kSuccess;
  bool restored = false;
  if (!ApplyGrowth(target, growth, restored)) return WriteFailed(target_path, restored, failure_text);
  return kSuccess;
}

}  // namespace

bool HasNoResources(const std::filesystem::path& target) {
  try {
    auto file = OpenImageFile(target, Access::Read);
    if (!file || !Is_Valid_PE(*file)) return false;
    PeHeaders h = ReadPeHeaders(*file);
    return h.resources.at >= 0 && !NamesResourceData(h);
  } catch (const std::exception&) {
    return false;
  }
}

int32_t AddSizesIn(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                   AddSizesReport& report, std::string& failure_text, const WarningSink& warn, bool plan_only) {
  try {
    AddSizesReport planned;
    int32_t result = PlanAndWrite(target, images, target_path, planned, failure_text, warn, plan_only);
    if (result == kSuccess) report = std::move(planned);
    return result;
  } catch (...) {
    return FailureThrown(failure_text);
  }
}

int32_t ChangeIconAddSizes(const std::filesystem::path& icon, const std::filesystem::path& target,
                           AddSizesReport& report, std::string& failure_text, const WarningSink& warn,
                           bool plan_only) {
  try {
    std::vector<IconImage> images;
    if (int32_t loaded = LoadEveryImage(icon, images, failure_text, warn)) return loaded;
    std::unique_ptr<RandomAccessFile> file;
    if (int32_t opened = OpenTarget(target, file, failure_text)) return opened;
    return AddSizesIn(*file, images, PathText(target), report, failure_text, warn, plan_only);
  } catch (...) {
    return FailureThrown(failure_text);
  }
}

}  // namespace vantorel::engine
