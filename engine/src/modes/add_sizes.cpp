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
#include "icon_modes.h"
#include "mode_frame.h"
#include "added/added_icons.h"
#include "added/earlier_section.h"
#include "added/section_content.h"
#include "errors/failures.h"
#include "errors/guarded.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "icons/icon_file.h"
#include "pe/added_section.h"
#include "pe/pe_headers.h"
#include "pe/pe_layout.h"
#include "resources/resource_tree.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

// The resource tree and the icon model of a program with resources (a
// program built without them gains a tree here). `own` is the program less
// an unfinished tail, which is what the plan is made on.
int32_t ReadResources(const Program& program, const RandomAccessFile& own, const Reader& file, const PeHeaders& h,
                      ResourceTree& old, IconModel& model, std::string& failure_text) {
  if (!h.NamesResourceData()) return kSuccess;
  // A tail cut off might have held the headers themselves.
  if (own.Length() < program.file.Length() && !Is_Valid_PE(own)) {
    return Fail(kNotWin32Executable, NotWin32Text(program.path), failure_text);
  }
  ResourceSection section;
  if (int32_t found = FindResourceSection({own, program.path, program.warn}, section, failure_text)) return found;
  bool read = Trap(program.warn, kIconLocateText, [&] {
    Reader tree_reader = ResourceSectionReader(own, section);
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

}  // namespace

int32_t PlanAddSizes(const Program& program, const std::vector<IconImage>& images, FileChange& change,
                     AddSizesReport& report, std::string& failure_text) {
  const RandomAccessFile& target = program.file;
  const std::string& target_path = program.path;
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
  if (int32_t read = ReadResources(program, own, file, h, old, model, failure_text)) return read;
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
  if (AnyOverlap(growth.change.in_place)) return Fail(kModifyFailed, kModifyFailedText, failure_text);

  report.checksum = PlanGrowthChecksum(own, h.checksum_at, growth);

  report.icons = std::move(added.report.icons);
  for (SizeAssignment& a : report.icons) a.file_offset += growth.content_at;
  report.added = std::move(added.report.added);
  report.images_written = added.report.images_written;
  report.new_section = !earlier.header;
  report.section_name = reinterpret_cast<const char*>(kAddedSectionName.data());
  report.length_before = length;
  report.tail_removed = length - own_length;
  report.length_after = growth.length_after;
  change = std::move(growth.change);
  return kSuccess;
}

int32_t AddSizesIn(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                   AddSizesReport& report, std::string& failure_text, const WarningSink& warn, bool plan_only) {
  ReportingPlanner<AddSizesReport> add_sizes = [&](const Program& program, FileChange& change,
                                                   AddSizesReport& planned, std::string& failure) {
    return PlanAddSizes(program, images, change, planned, failure);
  };
  return RunReported(target, target_path, add_sizes, plan_only, report, failure_text, warn);
}

}  // namespace vantorel::engine
