#include "cli.h"

#include <algorithm>
#include <cinttypes>
#include <csignal>

#include "command_line.h"
#include "vantorel/engine.h"
#include "vantorel/version.h"

namespace vantorel::cli {
namespace {

using namespace vantorel::engine;

constexpr const char* kVersion = VANTOREL_VERSION;
// An NSIS installer checks its own bytes at start-up; the replacement keeps
// that check right, and says so.
constexpr const char* kInstallerCheckWouldBeKept = "The installer's own integrity check (NSIS CRC) would be updated.";
constexpr const char* kInstallerCheckKept = "The installer's own integrity check (NSIS CRC) was updated.";

WarningSink PrintWarnings(std::FILE* err) {
  return [err](const std::string& title, const std::string& text) {
    std::fprintf(err, "warning: %s: %s\n", title.c_str(), text.c_str());
  };
}

int ReportFailure(int32_t number, const std::string& text, std::FILE* err) {
  std::fprintf(err, "error %d: %s\n", static_cast<int>(number), text.c_str());
  return kExitFailed;
}

// A failure of the replacements (plain and --all-sizes): for a program built
// without resources, 1004's fixed text says the file may be corrupt, so a
// line follows that says what it lacks and how it can get it.
int ReportReplaceFailure(int32_t number, const std::string& text, const std::filesystem::path& target,
                         std::FILE* err) {
  ReportFailure(number, text, err);
  if (number == kNoResourceTree && HasNoResources(target)) {
    std::fprintf(err, "%s has no resources, so no icon to change: --add-sizes gives it one.\n",
                 PathText(target).c_str());
  }
  return kExitFailed;
}

int List(const std::filesystem::path& target, std::FILE* out, std::FILE* err) {
  IconListing listing;
  std::string failure;
  int32_t result = ListIcons(target, listing, failure, PrintWarnings(err));
  if (result != kSuccess) return ReportFailure(result, failure, err);
  std::fprintf(out, "%s is %s.\n", PathText(target).c_str(),
               listing.is_signed ? "signed: changing it invalidates the signature" : "not signed");
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
  return kExitOk;
}

// What a dry run reports is what the run would do: the first line says that
// this run wrote nothing, not that the program would stay as it is.
void PrintDryRunHeading(const std::filesystem::path& target, std::FILE* out) {
  std::fprintf(out, "Dry run, nothing written: without --dry-run, %s would be changed as follows.\n",
               PathText(target).c_str());
}

int Preview(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
            std::FILE* err) {
  ReplacementPreview p;
  std::string failure;
  int32_t result = PreviewChangeIcon(icon, target, p, failure, PrintWarnings(err));
  if (result != kSuccess) return ReportReplaceFailure(result, failure, target, err);
  PrintDryRunHeading(target, out);
  std::fprintf(out, "The image of %u bytes would go to file offset %#" PRIx64 " (RVA %#x), ", p.image_bytes,
               static_cast<uint64_t>(p.image_offset), p.image_rva);
  if (p.image_in_place) {
    std::fprintf(out, "in place: over the first icon image, within its own %" PRId64 " bytes.\n", p.room_bytes);
  } else {
    std::fprintf(out,
                 "moved: into free room of the resource data at that offset, spanning %u of the %" PRId64
                 " free bytes of old icon images and padding there.\n",
                 p.image_bytes, p.room_bytes);
  }
  std::fprintf(out, "%d icon entries and %d group-icon entries would describe it.\n", p.icon_entries,
               p.group_entries);
  std::fprintf(out, "%s\n", p.checksum ? "The header checksum would be updated." : "The header checksum stays as it is.");
  if (p.installer_check) std::fprintf(out, "%s\n", kInstallerCheckWouldBeKept);
  return kExitOk;
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
    std::string given = std::to_string(a.image) + ": " + SizeText(a.width, a.height, a.bits) +
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
  for (const SizeAssignment& a : report.icons) {
    if (!a.substitute) continue;
    std::fprintf(out, "Icon %s (language %u) wants %s; the room holds no image of that size with the others, so it got image %d (%s).\n",
                 a.icon.c_str(), a.language, SizeText(a.wanted_width, a.wanted_height, a.wanted_bits).c_str(),
                 a.image, SizeText(a.width, a.height, a.bits).c_str());
  }
}

int PreviewAllSizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                    std::FILE* err) {
  AllSizesReport report;
  std::string failure;
  int32_t result = ChangeIconAllSizes(icon, target, report, failure, PrintWarnings(err), true);
  if (result != kSuccess) return ReportReplaceFailure(result, failure, target, err);
  PrintDryRunHeading(target, out);
  std::fprintf(out, "Each icon image of the target would get an image of %s (counted from 1):\n",
               PathText(icon).c_str());
  PrintAssignments(report.icons, out);
  PrintSubstitutes(report, out);
  std::fprintf(out, "%d distinct images would be written; %d group-icon entries would describe them.\n",
               report.images_written, report.group_entries);
  std::fprintf(out, "%s\n", report.checksum ? "The header checksum would be updated." : "The header checksum stays as it is.");
  if (report.installer_check) std::fprintf(out, "%s\n", kInstallerCheckWouldBeKept);
  return kExitOk;
}

int ReplaceAllSizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                    std::FILE* err) {
  AllSizesReport report;
  std::string failure;
  int32_t result = ChangeIconAllSizes(icon, target, report, failure, PrintWarnings(err));
  if (result != kSuccess) return ReportReplaceFailure(result, failure, target, err);
  std::fprintf(out, "Changed the icon of %s: %d images of %s in %zu icon resources\n", PathText(target).c_str(),
               report.images_written, PathText(icon).c_str(), report.icons.size());
  PrintSubstitutes(report, out);
  if (report.installer_check) std::fprintf(out, "%s\n", kInstallerCheckKept);
  return kExitOk;
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

int PreviewAddSizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                    std::FILE* err) {
  AddSizesReport report;
  std::string failure;
  int32_t result = ChangeIconAddSizes(icon, target, report, failure, PrintWarnings(err), true);
  if (result != kSuccess) return ReportFailure(result, failure, err);
  PrintDryRunHeading(target, out);
  if (!report.icons.empty()) {
    std::fprintf(out, "Each icon image of the target would get an image of %s (counted from 1):\n",
                 PathText(icon).c_str());
    PrintAssignments(report.icons, out);
  }
  PrintAdditions(report, out);
  PrintGrowth(report, true, out);
  std::fprintf(out, "%s\n", report.checksum ? "The header checksum would be updated." : "The header checksum stays as it is.");
  return kExitOk;
}

int ReplaceAddSizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                    std::FILE* err) {
  AddSizesReport report;
  std::string failure;
  int32_t result = ChangeIconAddSizes(icon, target, report, failure, PrintWarnings(err));
  if (result != kSuccess) return ReportFailure(result, failure, err);
  std::fprintf(out, "Changed the icon of %s: %d images of %s in %zu icon resources, %zu group entries added\n",
               PathText(target).c_str(), report.images_written, PathText(icon).c_str(), report.icons.size(),
               report.added.size());
  PrintGrowth(report, false, out);
  return kExitOk;
}

// OUT.ico names the file to write. A folder of that name would be neither
// kept as an existing file nor replaced (not with --force either): it is
// refused first, with what to give instead.
bool RefusesFolder(const std::filesystem::path& ico, std::FILE* err) {
  std::error_code ec;
  if (!std::filesystem::is_directory(ico, ec)) return false;
  ReportFailure(kOutputFailed,
                PathText(ico) + " is a folder: OUT.ico names the icon file to write, such as " +
                    PathText(ico / "icon.ico") + ". Nothing was written.",
                err);
  return true;
}

int Extract(const CommandLine& o, std::FILE* out, std::FILE* err) {
  const auto& target = o.operands[0];
  const auto& ico = o.operands[1];
  if (RefusesFolder(ico, err)) return kExitFailed;
  if (IsSameFile(target, ico)) {
    return ReportFailure(kOutputFailed, PathText(ico) + " is the program itself. Nothing was written.", err);
  }
  ExtractedIcon extracted;
  std::string failure;
  int32_t result = ExtractIconGroup(target, o.group, extracted, failure, PrintWarnings(err));
  if (result != kSuccess) return ReportFailure(result, failure, err);
  std::string why;
  switch (WriteNewFile(ico, extracted.ico, o.force, why)) {
    case NewFileResult::Written:
      break;
    case NewFileResult::AlreadyExists:
      return ReportFailure(kOutputExists,
                           PathText(ico) + " exists already and was kept. Use --force to replace it.", err);
    case NewFileResult::Failed:
      return ReportFailure(kOutputFailed, "Could not write " + PathText(ico) + ". " + why, err);
  }
  std::fprintf(out, "Wrote %s: icon group %s (language %u) of %s, %d images\n", PathText(ico).c_str(),
               extracted.group.c_str(), extracted.language, PathText(target).c_str(), extracted.images);
  return kExitOk;
}

int MakeIcon(const CommandLine& o, std::FILE* out, std::FILE* err) {
  const auto& picture = o.operands[0];
  const auto& ico = o.operands[1];
  if (RefusesFolder(ico, err)) return kExitFailed;
  std::string failure;
  int32_t result = MakeIconFile(picture, ico, o.sizes, o.force, failure, PrintWarnings(err));
  if (result == kOutputExists) failure += " Use --force to replace it.";
  if (result != kSuccess) return ReportFailure(result, failure, err);
  std::vector<int> sizes = o.sizes.empty() ? StandardIconSizes() : o.sizes;
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  std::string list;
  for (int size : sizes) list += (list.empty() ? "" : ", ") + std::to_string(size);
  std::fprintf(out, "Wrote %s: %zu images (%s pixels) made from %s\n", PathText(ico).c_str(), sizes.size(),
               list.c_str(), PathText(picture).c_str());
  return kExitOk;
}

int Replace(const CommandLine& line, std::FILE* out, std::FILE* err) {
  // A picture has no first image: it is an icon of every size, and each icon
  // gets the image of its own.
  CommandLine o = line;
  if (o.mode == Mode::Replace && IsPictureFile(o.operands[0])) o.all_sizes = true;
  const auto& icon = o.operands[0];
  const auto& target = o.operands[1];
  bool is_signed = IsSignedProgram(target);
  if (o.dry_run) {
    // A dry run changes nothing, so a signed target is described, not refused.
    int status = o.mode == Mode::AddSizes ? PreviewAddSizes(icon, target, out, err)
                 : o.all_sizes ? PreviewAllSizes(icon, target, out, err)
                               : Preview(icon, target, out, err);
    if (is_signed) {
      std::fprintf(out, "%s is signed: changing it would invalidate its signature (--allow-signed).\n",
                   PathText(target).c_str());
    }
    return status;
  }
  // Nothing can be added after a signature, with or without consent: the
  // engine's own refusal (1017) says so, rather than a hint to consent.
  if (!o.allow_signed && is_signed && o.mode != Mode::AddSizes) {
    return ReportFailure(kSignedRefused,
                         PathText(target) +
                              " is signed; changing it would invalidate its signature. Use --allow-signed to change "
                              "it anyway. The target was not changed.",
                         err);
  }
  if (o.backup) {
    std::filesystem::path backup = BackupPath(target);
    std::string why;
    switch (MakeBackup(target, backup, why)) {
      case BackupResult::Made:
        std::fprintf(out, "Backup written to %s\n", PathText(backup).c_str());
        break;
      case BackupResult::AlreadyExists:
        std::fprintf(out, "Backup %s exists already and was kept\n", PathText(backup).c_str());
        break;
      case BackupResult::Failed:
        return ReportFailure(kBackupFailed,
                             "Could not create the backup file " + PathText(backup) +
                                  ". The target was not changed. " + why,
                             err);
    }
  }
  if (o.mode == Mode::AddSizes) return ReplaceAddSizes(icon, target, out, err);
  if (o.all_sizes) return ReplaceAllSizes(icon, target, out, err);
  std::string failure;
  ReplacementPreview done;
  int32_t result = ChangeIconReported(icon, target, done, failure, PrintWarnings(err));
  if (result != kSuccess) return ReportReplaceFailure(result, failure, target, err);
  std::fprintf(out, "Changed the icon of %s\n", PathText(target).c_str());
  if (done.installer_check) std::fprintf(out, "%s\n", kInstallerCheckKept);
  return kExitOk;
}

}  // namespace

int Run(const std::vector<std::filesystem::path>& args, std::FILE* out, std::FILE* err) {
#ifdef SIGXFSZ
  // A file size limit (ulimit -f) would kill the run mid-write; ignored, the
  // write fails with EFBIG instead and is rolled back like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  CommandLine line = ReadCommandLine(args);
  if (!line.error.empty()) {
    std::fprintf(err, "vantorel-cli: %s\nTry 'vantorel-cli --help' for more information.\n", line.error.c_str());
    return kExitUsage;
  }
  switch (line.mode) {
    case Mode::Help:
      std::fputs(HelpText(), out);
      return kExitOk;
    case Mode::Version:
      std::fprintf(out, "vantorel-cli %s\n", kVersion);
      return kExitOk;
    case Mode::List:
      return List(line.operands[0], out, err);
    case Mode::Extract:
      return Extract(line, out, err);
    case Mode::MakeIcon:
      return MakeIcon(line, out, err);
    case Mode::Replace:
    case Mode::AddSizes:
      break;
  }
  return Replace(line, out, err);
}

}  // namespace vantorel::cli
