// What the modes say: the listing, the dry runs' tables, the replacements'
// summaries, failures and warnings.
#include "reports.h"

#include <cinttypes>

#include "cli.h"
#include "resource_reports.h"

namespace vantorel::cli {

using engine::AddedEntry;
using engine::AddSizesReport;
using engine::AllSizesReport;
using engine::CheckOutcome;
using engine::Container;
using engine::ContainerFacts;
using engine::ContainerKind;
using engine::FactsOf;
using engine::IconGroupEntry;
using engine::IconImageInfo;
using engine::IconListing;
using engine::kNoResourceTree;
using engine::kSuccess;
using engine::ListIcons;
using engine::PathText;
using engine::ReplacementPreview;
using engine::SizeAssignment;
using engine::WarningSink;

namespace {

// An NSIS installer checks its own bytes at start-up; the replacement keeps
// that check right, and says so.
constexpr const char* kInstallerCheckWouldBeKept = "The installer's own integrity check (NSIS CRC) would be updated.";
constexpr const char* kInstallerCheckKept = "The installer's own integrity check (NSIS CRC) was updated.";
// Why an NSIS installer's icon images stay where they are.
constexpr const char* kInstallerPlaces =
    "An NSIS installer's icon images keep their places and sizes, where the uninstaller it writes puts its own "
    "icon back.";

// Which modes the line of a container speaks of: --list all of them, a dry
// run its own.
enum class ContainerLine { Listing, InPlace, AddSizes };

// "its own check is repaired (the CRC-32 is updated by exactly what changes)"
std::string WhatHappens(CheckOutcome outcome, const char* why, bool would) {
  const char* verb = would ? "would be" : "is";
  switch (outcome) {
    case CheckOutcome::Kept: return std::string("its own check ") + verb + " kept (" + why + ")";
    case CheckOutcome::Repaired: return std::string("its own check ") + verb + " repaired (" + why + ")";
    case CheckOutcome::Refused: break;
  }
  return std::string("refused (") + why + ")";
}

// What the program is when it carries more than itself, and what the modes
// do to the check it keeps of itself: one line from its row of the engine's
// table; nothing for a program alone.
void PrintContainer(const std::filesystem::path& target, const Container& found, ContainerLine line,
                    std::FILE* out) {
  if (found.kind == ContainerKind::None) return;
  const ContainerFacts& row = FactsOf(found.kind);
  std::string text = PathText(target) + " " + row.is + " (" + found.seen + "): " + row.check;
  if (line == ContainerLine::Listing) {
    text += ". Plain, --all-sizes and a picture: " + WhatHappens(row.in_place, row.in_place_why, false) +
            "; --add-sizes: " + WhatHappens(row.add_sizes, row.add_sizes_why, false);
  } else if (line == ContainerLine::InPlace) {
    text += "; " + WhatHappens(row.in_place, row.in_place_why, true);
  } else {
    text += "; " + WhatHappens(row.add_sizes, row.add_sizes_why, true);
  }
  std::fprintf(out, "%s.\n", text.c_str());
}

// What a dry run reports is what the run would do: the first line says that
// this run wrote nothing, not that the program would stay as it is; the next
// what the program carries, if anything.
void PrintDryRunHeading(const std::filesystem::path& target, const Container& found, ContainerLine line,
                        std::FILE* out) {
  std::fprintf(out, "Dry run, nothing written: without --dry-run, %s would be changed as follows.\n",
               PathText(target).c_str());
  PrintContainer(target, found, line, out);
}

std::string SizeText(int width, int height, int bits) {
  std::string text = std::to_string(width) + "x" + std::to_string(height);
  return bits ? text + " " + std::to_string(bits) + "-bit" : text;
}

// One line per icon image resource: what it wants, what it gets, and where.
void PrintAssignments(const std::vector<SizeAssignment>& icons, std::FILE* out) {
  std::fprintf(out, "  %-12s %8s %-16s %-30s %10s %12s\n", "icon", "language", "size wanted", "image given", "bytes",
               "file offset");
  bool own = false, first = false, reused = false;
  for (const SizeAssignment& a : icons) {
    const char* mark = a.wanted_by_group ? "" : a.wanted_from_icon_file ? "**" : "*";
    own = own || (!a.wanted_by_group && !a.wanted_from_icon_file);
    first = first || a.wanted_from_icon_file;
    std::string wanted = SizeText(a.wanted_width, a.wanted_height, a.wanted_bits) + mark;
    std::string given = !a.shown_by.empty() ? "none: old image kept"
                        : std::to_string(a.image) + ": " + SizeText(a.width, a.height, a.bits) +
                              (a.substitute ? " (substitute)" : a.reused ? " (reused)" : "");
    reused = reused || a.reused;
    std::fprintf(out, "  %-12s %8u %-16s %-30s %10u %#12" PRIx64 "\n", a.icon.c_str(), a.language, wanted.c_str(),
                 given.c_str(), a.bytes, static_cast<uint64_t>(a.file_offset));
  }
  if (own) std::fprintf(out, "  * no group names this icon: the size is its old image's own\n");
  if (first) {
    std::fprintf(out, "  ** no group names this icon and its old image's header cannot be read: the size is the "
                      "icon file's first image's\n");
  }
  if (reused) {
    std::fprintf(out, "  (reused) every group naming this icon shows its old image through another entry: it takes "
                      "a size the groups lack instead of a new icon\n");
  }
}

void PrintSubstitutes(const AllSizesReport& report, std::FILE* out) {
  const char* room = report.installer_places ? "its place holds no image of that size"
                                             : "the room holds no image of that size with the others";
  for (const SizeAssignment& a : report.icons) {
    std::string wants = SizeText(a.wanted_width, a.wanted_height, a.wanted_bits);
    if (!a.shown_by.empty()) {
      std::fprintf(out, "Icon %s (language %u) wants %s; its place holds none of the images, so it keeps its old "
                        "image and the group entries naming it name %s.\n",
                   a.icon.c_str(), a.language, wants.c_str(), a.shown_by.c_str());
    } else if (a.substitute) {
      std::fprintf(out, "Icon %s (language %u) wants %s; %s, so it got image %d (%s).\n", a.icon.c_str(), a.language,
                   wants.c_str(), room, a.image, SizeText(a.width, a.height, a.bits).c_str());
    }
  }
  if (report.installer_places) std::fprintf(out, "%s\n", kInstallerPlaces);
}

// The entries --add-sizes gives the groups, one line each.
void PrintAdditions(const AddSizesReport& report, std::FILE* out) {
  if (report.added.empty()) return;
  std::fprintf(out, "Entries added to the icon groups (each names a new icon resource holding the image):\n");
  std::fprintf(out, "  %-12s %8s %-30s %8s\n", "group", "language", "image", "icon");
  for (const AddedEntry& a : report.added) {
    std::string image = std::to_string(a.image) + ": " + SizeText(a.width, a.height, a.bits);
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "#" + ....
    std::string icon = "#";
    icon += std::to_string(a.icon_id);
    std::fprintf(out, "  %-12s %8u %-30s %8s%s\n", a.group.c_str(), a.language, image.c_str(), icon.c_str(),
                 a.new_group ? "  (new group)" : "");
  }
}

void PrintGrowth(const AddSizesReport& r, bool dry_run, std::FILE* out) {
  std::string where = r.new_section ? "A new section " + r.section_name
                                    : "The section " + r.section_name + " an earlier run added";
  std::fprintf(out, "%s %s the resource tree and %d images of the icon file.\n", where.c_str(),
               dry_run ? "would hold" : "holds", r.images_written);
  if (r.tail_removed) {
    std::fprintf(out, "The last %" PRId64 " bytes, left unfinished by a run that was stopped, %s cut off first.\n",
                 r.tail_removed, dry_run ? "would be" : "were");
  }
  const int64_t from = r.length_before - r.tail_removed, grown = r.length_after - from;
  if (grown == 0) {
    std::fprintf(out, "The file %s its length of %" PRId64 " bytes; nothing in it %s.\n",
                 dry_run ? "would keep" : "kept", from, dry_run ? "would move" : "moved");
  } else {
    std::fprintf(out, "The file %s by %" PRId64 " bytes at its end, from %" PRId64 " to %" PRId64
                      "; nothing in it %s.\n",
                 dry_run ? "would grow" : "grew", grown, from, r.length_after, dry_run ? "would move" : "moved");
  }
}

}  // namespace

WarningSink PrintWarnings(std::FILE* err) {
  return [err](const std::string& title, const std::string& text) {
    std::fprintf(err, "warning: %s: %s\n", title.c_str(), text.c_str());
  };
}

int ReportFailure(int32_t number, const std::string& text, std::FILE* err) {
  std::fprintf(err, "error %d: %s\n", static_cast<int>(number), text.c_str());
  return kExitFailed;
}

int List(const std::filesystem::path& target, std::FILE* out, std::FILE* err) {
  IconListing listing;
  std::string failure;
  int32_t result = ListIcons(target, listing, failure, PrintWarnings(err));
  if (result != kSuccess) return ReportFailure(result, failure, err);
  std::fprintf(out, "%s is %s.\n", PathText(target).c_str(),
               listing.is_signed ? "signed: changing it invalidates the signature" : "not signed");
  PrintContainer(target, listing.container, ContainerLine::Listing, out);
  std::fprintf(out, "Icon groups of %s:\n", PathText(target).c_str());
  std::fprintf(out, "  %-12s %8s %6s %6s %6s %4s %10s %6s %12s\n", "group", "language", "width", "height",
               "colors", "bits", "bytes", "image", "file offset");
  for (const IconGroupEntry& g : listing.groups) {
    std::fprintf(out, "  %-12s %8u %6d %6d %6d %4d %10u %6u ", g.group.c_str(), g.language, g.width, g.height,
                 g.colors, g.bits, g.bytes, g.icon_id);
    if (g.file_offset >= 0) std::fprintf(out, "%#12" PRIx64 "\n", static_cast<uint64_t>(g.file_offset));
    else std::fprintf(out, "%12s\n", "-");
  }
  std::fprintf(out, "Icon images:\n");
  std::fprintf(out, "  %-12s %8s %10s %12s\n", "image", "language", "bytes", "file offset");
  for (const IconImageInfo& i : listing.images) {
    std::fprintf(out, "  %-12s %8u %10u ", i.name.c_str(), i.language, i.size);
    if (i.file_offset >= 0) std::fprintf(out, "%#12" PRIx64 "\n", static_cast<uint64_t>(i.file_offset));
    else std::fprintf(out, "%12s\n", "-");
  }
  ListResources(target, out, err);
  return kExitOk;
}

namespace {

const char* ChecksumLine(bool updated) {
  return updated ? "The header checksum would be updated." : "The header checksum stays as it is.";
}

void PrintFirstImage(const ReplacementPreview& p, const std::filesystem::path& target, const Container& found,
                     bool dry_run, std::FILE* out) {
  if (!dry_run) {
    std::fprintf(out, "Changed the icon of %s\n", PathText(target).c_str());
    if (p.installer_check) std::fprintf(out, "%s\n", kInstallerCheckKept);
    return;
  }
  PrintDryRunHeading(target, found, ContainerLine::InPlace, out);
  std::fprintf(out, "The image of %u bytes would go to file offset %#" PRIx64 " (RVA %#x), ", p.image_bytes,
               static_cast<uint64_t>(p.image_offset), p.image_rva);
  if (p.installer_places) {
    std::fprintf(out, "%s, and into every other icon image's place that holds it.\n%s\n",
                 p.image_in_place ? "the first icon image's place" : "an icon image's place", kInstallerPlaces);
    std::fprintf(out, "%d icon images would hold it; %d group-icon entries would describe it (those of an icon too "
                      "small for it would name one that holds it).\n",
                 p.icon_entries, p.group_entries);
  } else if (p.image_in_place) {
    std::fprintf(out, "in place: over the first icon image, within its own %" PRId64 " bytes.\n", p.room_bytes);
  } else {
    std::fprintf(out,
                 "moved: into free room of the resource data at that offset, spanning %u of the %" PRId64
                 " free bytes of old icon images and padding there.\n",
                 p.image_bytes, p.room_bytes);
  }
  if (!p.installer_places) {
    std::fprintf(out, "%d icon entries and %d group-icon entries would describe it.\n", p.icon_entries,
                 p.group_entries);
  }
  std::fprintf(out, "%s\n", ChecksumLine(p.checksum));
  if (p.installer_check) std::fprintf(out, "%s\n", kInstallerCheckWouldBeKept);
}

void PrintAllSizes(const AllSizesReport& report, const std::filesystem::path& icon,
                   const std::filesystem::path& target, const Container& found, bool dry_run, std::FILE* out) {
  if (!dry_run) {
    std::fprintf(out, "Changed the icon of %s: %d images of %s in %zu icon resources\n", PathText(target).c_str(),
                 report.images_written, PathText(icon).c_str(), report.icons.size());
    PrintSubstitutes(report, out);
    if (report.installer_check) std::fprintf(out, "%s\n", kInstallerCheckKept);
    return;
  }
  PrintDryRunHeading(target, found, ContainerLine::InPlace, out);
  std::fprintf(out, "Each icon image of the target would get an image of %s (counted from 1):\n",
               PathText(icon).c_str());
  PrintAssignments(report.icons, out);
  PrintSubstitutes(report, out);
  std::fprintf(out, "%d distinct images would be written; %d group-icon entries would describe them.\n",
               report.images_written, report.group_entries);
  std::fprintf(out, "%s\n", ChecksumLine(report.checksum));
  if (report.installer_check) std::fprintf(out, "%s\n", kInstallerCheckWouldBeKept);
}

void PrintAddSizes(const AddSizesReport& report, const std::filesystem::path& icon,
                   const std::filesystem::path& target, const Container& found, bool dry_run, std::FILE* out) {
  if (!dry_run) {
    std::fprintf(out, "Changed the icon of %s: %d images of %s in %zu icon resources, %zu group entries added\n",
                 PathText(target).c_str(), report.images_written, PathText(icon).c_str(), report.icons.size(),
                 report.added.size());
    PrintGrowth(report, false, out);
    return;
  }
  PrintDryRunHeading(target, found, ContainerLine::AddSizes, out);
  if (!report.icons.empty()) {
    std::fprintf(out, "Each icon image of the target would get an image of %s (counted from 1):\n",
                 PathText(icon).c_str());
    PrintAssignments(report.icons, out);
  }
  PrintAdditions(report, out);
  PrintGrowth(report, true, out);
  std::fprintf(out, "%s\n", ChecksumLine(report.checksum));
}

// A failed run: for a program built without resources, 1004's fixed text
// says the file may be corrupt, so a line follows that says what it lacks
// and how it can get it.
int ReportRunFailure(int32_t number, const std::string& text, const std::filesystem::path& target,
                     const engine::IconRun& run, std::FILE* err) {
  if (number == engine::kSignedRefused) return ReportSignedRefusal(target, err);
  ReportFailure(number, text, err);
  if (number == kNoResourceTree && run.no_resources) {
    std::fprintf(err, "%s has no resources, so no icon to change: --add-sizes gives it one.\n",
                 PathText(target).c_str());
  }
  return kExitFailed;
}

}  // namespace

int ReportSignedRefusal(const std::filesystem::path& target, std::FILE* err) {
  return ReportFailure(engine::kSignedRefused,
                       PathText(target) +
                           " is signed; changing it would invalidate its signature. Use --allow-signed to change "
                           "it anyway. The target was not changed.",
                       err);
}

void PrintPictureAddsSizes(const std::filesystem::path& target, std::FILE* out) {
  std::fprintf(out, "%s has no resources: a picture gives it an icon of every size, as --add-sizes does.\n",
               PathText(target).c_str());
}

int RunIconMode(const std::filesystem::path& icon, const std::filesystem::path& target, engine::IconMode mode,
                const engine::IconRunOptions& options, std::FILE* out, std::FILE* err) {
  engine::IconRun run;
  std::string failure;
  int32_t result = engine::RunIconMode(icon, target, mode, options, run, failure, PrintWarnings(err));
  if (run.mode == engine::IconMode::kAddSizes && mode != engine::IconMode::kAddSizes) PrintPictureAddsSizes(target, out);
  bool dry_run = options.plan_only;
  int status = kExitOk;
  if (result != kSuccess) {
    status = ReportRunFailure(result, failure, target, run, err);
  } else if (run.mode == engine::IconMode::kFirstImage) {
    PrintFirstImage(run.report.first_image, target, run.container, dry_run, out);
  } else if (run.mode == engine::IconMode::kAllSizes) {
    PrintAllSizes(run.report.all_sizes, icon, target, run.container, dry_run, out);
  } else {
    PrintAddSizes(run.report.add_sizes, icon, target, run.container, dry_run, out);
  }
  // A dry run changes nothing, so a signed target is described, not refused.
  if (dry_run && run.is_signed) {
    std::fprintf(out, "%s is signed: changing it would invalidate its signature (--allow-signed).\n",
                 PathText(target).c_str());
  }
  return status;
}

}  // namespace vantorel::cli
