// --add-sizes: every image of an icon file in every icon group of a program.
// Sizes a group has are filled as --all-sizes fills them; sizes it lacks are
// added as new icon resources; a program with no icon group gets one.
//
// Nothing in the file moves or changes value: one section after the last one
// (or the one an earlier run added, used again) holds a new resource tree,
// whose entries still point at the old data where it is, and the new images
// and groups. The file grows at its end only, and only the header fields that
// name the section change.
#include "added_icons.h"
#include "added_section.h"
#include "driver.h"
#include "resource_tree.h"
#include "traps.h"

namespace vantorel::engine {
namespace {

int32_t Plan_And_Write(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                       AddSizesReport& report, std::string& failure_text, const WarningSink& warn, bool plan_only) {
  if (!Is_Valid_PE(target)) return Fail(kNotWin32Executable, Not_Win32_Text(target_path), failure_text);
  const int64_t length = target.Length();
  Reader file(target, 0, length);
  PeHeaders h;
  try {
    h = Read_Pe_Headers(target);
  } catch (const EngineError&) {
    return Fail(kNotWin32Executable, Not_Win32_Text(target_path), failure_text);
  }
  const SectionHeader* earlier = Earlier_Section(h);
  if (int32_t layout = Check_Layout(file, h, earlier, target_path, failure_text)) return layout;

  ResourceTree old;
  IconModel model;
  if (h.resources.rva && h.resources.size) {
    ResourceSection section;
    if (int32_t located = Locate_Resource_Section(target, target_path, section, failure_text, warn)) return located;
    bool read = Trap(warn, kIconLocateText, [&] {
      Reader tree_reader = Resource_Section_Reader(target, section);
      old = Read_Resource_Tree(tree_reader, section.root);
      model = Read_Icon_Model(file, h, tree_reader, section.root);
      return true;
    });
    if (!read) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  }
  const uint32_t va = earlier ? earlier->va : New_Section_Va(h);
  AddedIcons added;
  if (!Plan_Added_Icons(file, images, model, old, va, added)) {
    return Fail(kModifyFailed, target_path + " has no icon number left for a new icon." + kUnchanged, failure_text);
  }
  Growth growth = Place_Section(h, earlier, earlier ? -1 : Header_Room(file, h), length, va,
                                std::move(added.content));
  if (Any_Overlap(growth.in_place)) return Fail(kModifyFailed, kModifyFailedText, failure_text);

  // The checksum counts what is appended as words written over nothing.
  WritePlan counted = growth.in_place;
  counted.push_back({length, growth.appended, PlannedWrite::Kind::Image});
  report.checksum = Plan_Checksum_Of(target, h.checksum_at, counted, growth.length_after);
  if (report.checksum) growth.in_place.push_back(counted.back());

  report.icons = std::move(added.report.icons);
  for (SizeAssignment& a : report.icons) a.file_offset += growth.raw;
  report.added = std::move(added.report.added);
  report.images_written = added.report.images_written;
  report.new_section = !earlier;
  report.section_name = reinterpret_cast<const char*>(kAddedSectionName.data());
  report.length_before = length;
  report.length_after = growth.length_after;
  if (plan_only) return kSuccess;
  bool restored = false;
  if (!Apply_Growth(target, growth, restored)) return Write_Failed(target_path, restored, failure_text);
  return kSuccess;
}

}  // namespace

int32_t Add_Sizes_In(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                     AddSizesReport& report, std::string& failure_text, const WarningSink& warn, bool plan_only) {
  try {
    AddSizesReport planned;
    int32_t result = Plan_And_Write(target, images, target_path, planned, failure_text, warn, plan_only);
    if (result == kSuccess) report = std::move(planned);
    return result;
  } catch (...) {
    return Failure_Thrown(failure_text);
  }
}

int32_t Change_Icon_Add_Sizes(const std::filesystem::path& icon, const std::filesystem::path& target,
                              AddSizesReport& report, std::string& failure_text, const WarningSink& warn,
                              bool plan_only) {
  try {
    std::vector<IconImage> images;
    if (int32_t loaded = Load_Every_Image(icon, images, failure_text, warn)) return loaded;
    const std::string target_path = Path_Text(target);
    std::string reason;
    auto file = OpenImageFile(target, plan_only ? Access::Read : Access::ReadWrite, reason);
    if (!file) return Fail(kOpenFailed, Open_Failure_Text(target_path, reason), failure_text);
    return Add_Sizes_In(*file, images, target_path, report, failure_text, warn, plan_only);
  } catch (...) {
    return Failure_Thrown(failure_text);
  }
}

}  // namespace vantorel::engine
