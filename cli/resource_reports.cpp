#include "resource_reports.h"

#include <cinttypes>
#include <string>
#include <vector>

#include "cli.h"
#include "reports.h"
#include "vantorel/engine.h"
#include "vantorel/program_resources.h"

namespace vantorel::cli {
namespace {

using namespace vantorel::engine;

// A manifest file is text of a few kilobytes; a larger one is not a manifest.
constexpr long kLargestManifest = 1 << 20;

// Reads the file --application-manifest names: a regular file only.
bool ReadManifestFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& why) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    why = "it is not a file that can be read";
    return false;
  }
#ifdef _WIN32
  std::FILE* f = _wfopen(path.c_str(), L"rb");
#else
  std::FILE* f = std::fopen(path.c_str(), "rb");
#endif
  if (!f) {
    why = "it cannot be opened";
    return false;
  }
  bytes.resize(kLargestManifest + 1);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  const bool read = !std::ferror(f);
  std::fclose(f);
  why = !read ? "it cannot be read" : bytes.size() > kLargestManifest ? "it is larger than 1 MiB" : "";
  return why.empty();
}

std::string Quoted(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "(none)"; }

void PrintFields(const ResourceEditReport& r, bool dry_run, std::FILE* out) {
  std::fprintf(out, "Fields %s:\n", dry_run ? "that would be set" : "set");
  std::fprintf(out, "  %-9s %8s %-9s %-26s %-24s %s\n", "resource", "language", "table", "field", "before", "after");
  for (const FieldChange& f : r.fields) {
    std::fprintf(out, "  %-9s %8u %-9s %-26s %-24s %s\n", f.resource.c_str(), f.language,
                 f.table.empty() ? "-" : f.table.c_str(), f.field.c_str(), Quoted(f.before).c_str(),
                 Quoted(f.after).c_str());
  }
}

void PrintPlacements(const ResourceEditReport& r, bool dry_run, std::FILE* out) {
  for (const ResourcePlacement& p : r.placements) {
    std::string where = p.in_place ? "in place, over its old " + std::to_string(p.bytes_before) + " bytes"
                        : p.bytes_before ? "in the section " + r.section_name + " (its old " +
                                               std::to_string(p.bytes_before) + " bytes stay where they are)"
                                         : "in the section " + r.section_name + " (new)";
    std::fprintf(out, "The %s resource (language %u) %s %u bytes at file offset %#" PRIx64 ", %s.\n",
                 p.resource.c_str(), p.language, dry_run ? "would take" : "takes", p.bytes_after,
                 static_cast<uint64_t>(p.file_offset), where.c_str());
  }
  if (r.section_used) {
    std::fprintf(out, "%s %s the new resource tree.\n",
                 (r.new_section ? "A new section " + r.section_name
                                : "The section " + r.section_name + " an earlier run added").c_str(),
                 dry_run ? "would hold" : "holds");
    const int64_t from = r.length_before - r.tail_removed;
    std::fprintf(out, "The file %s by %" PRId64 " bytes at its end, from %" PRId64 " to %" PRId64 "; nothing in it %s.\n",
                 dry_run ? "would grow" : "grew", r.length_after - from, from, r.length_after,
                 dry_run ? "would move" : "moved");
  }
}

}  // namespace

int PrintVersionString(const CommandLine& line, std::FILE* out, std::FILE* err) {
  ProgramResources read;
  std::string failure;
  const std::filesystem::path& target = line.operands[0];
  if (int32_t result = ReadProgramResources(target, read, failure)) return ReportFailure(result, failure, err);
  for (const VersionString& s : read.strings) {
    if (s.key == line.version_key) {
      std::fprintf(out, "%s\n", s.value.c_str());
      return kExitOk;
    }
  }
  return ReportFailure(kNoSuchVersionString,
                PathText(target) + " has no version string " + line.version_key +
                    (read.has_version ? "." : " (it has no version resource)."),
                err);
}

void ListResources(const std::filesystem::path& target, std::FILE* out, std::FILE* err) {
  ProgramResources read;
  std::string failure;
  if (int32_t result = ReadProgramResources(target, read, failure)) {
    std::fprintf(err, "warning %d: %s\n", static_cast<int>(result), failure.c_str());
    return;
  }
  // A program with neither is listed as before: its icons alone.
  if (read.has_version) {
    std::fprintf(out, "Version of %s: file %s, product %s\n", PathText(target).c_str(),
                 read.file_version.empty() ? "-" : read.file_version.c_str(),
                 read.product_version.empty() ? "-" : read.product_version.c_str());
    std::fprintf(out, "  %8s %-9s %-24s %s\n", "language", "table", "key", "value");
    for (const VersionString& s : read.strings) {
      std::fprintf(out, "  %8u %-9s %-24s \"%s\"\n", s.language, s.table.c_str(), s.key.c_str(), s.value.c_str());
    }
  }
  if (read.has_manifest) {
    std::fprintf(out, "Requested execution level: %s\n",
                 read.execution_level.empty() ? "none (the manifest asks for none)" : read.execution_level.c_str());
  }
}

int ChangeResources(const CommandLine& line, std::optional<IconMode> icon_mode, std::FILE* out, std::FILE* err) {
  ResourceEdit edit = line.edit;
  if (!line.manifest_file.empty()) {
    std::string why;
    std::vector<uint8_t> bytes;
    if (!ReadManifestFile(line.manifest_file, bytes, why)) {
      return ReportFailure(kOpenFailed, "Cannot read the manifest " + PathText(line.manifest_file) + ": " + why +
                                     ". The target was not changed.", err);
    }
    edit.manifest = std::move(bytes);
    edit.manifest_name = PathText(line.manifest_file);
  }
  const std::filesystem::path& target = line.operands.back();
  const WarningSink warn = PrintWarnings(err);
  ResourceEditReport report;
  IconChangeReport icon_report;
  std::string failure;
  int32_t result = icon_mode ? ChangeIconAndResources(line.operands[0], *icon_mode, target, edit, icon_report, report,
                                                      failure, warn, line.dry_run)
                             : EditProgramResources(target, edit, report, failure, warn, line.dry_run);
  if (result != kSuccess) return ReportFailure(result, failure, err);
  if (line.dry_run) {
    std::fprintf(out, "Dry run, nothing written: without --dry-run, %s would be changed as follows.\n",
                 PathText(target).c_str());
  } else {
    const bool version = !edit.version_strings.empty() || edit.file_version || edit.product_version;
    const bool manifest = edit.manifest || !edit.execution_level.empty();
    const std::string what = version && manifest ? "the version and the manifest" : version ? "the version" : "the manifest";
    std::fprintf(out, "Changed %s%s of %s%s\n", icon_mode ? "the icon and " : "", what.c_str(), PathText(target).c_str(),
                 icon_mode ? " as one change" : "");
  }
  if (icon_mode && line.dry_run) {
    const AddSizesReport& a = icon_report.add_sizes;
    const AllSizesReport& s = icon_report.all_sizes;
    std::fprintf(out, "The icon: %s\n",
                 *icon_mode == IconMode::kAddSizes
                     ? (std::to_string(a.images_written) + " images of " + PathText(line.operands[0]) + ", " +
                        std::to_string(a.added.size()) + " group entries added").c_str()
                 : *icon_mode == IconMode::kAllSizes
                     ? (std::to_string(s.images_written) + " images in " + std::to_string(s.icons.size()) +
                        " icon resources").c_str()
                     : ("the first image of " + PathText(line.operands[0]) + " in every icon").c_str());
  }
  PrintFields(report, line.dry_run, out);
  PrintPlacements(report, line.dry_run, out);
  const bool checksum = report.checksum || icon_report.first_image.checksum || icon_report.all_sizes.checksum ||
                        icon_report.add_sizes.checksum;
  std::fprintf(out, "%s\n", checksum ? (line.dry_run ? "The header checksum would be updated."
                                                     : "The header checksum was updated.")
                                     : "The header checksum stays as it is.");
  return kExitOk;
}

}  // namespace vantorel::cli
