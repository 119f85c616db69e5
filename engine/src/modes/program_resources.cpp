// The entries of program_resources.h: a program's version and manifest read
// and changed, alone or with its icon as one change.
#include "icon_modes.h"
#include "mode_frame.h"
#include "resource_edit.h"
#include "errors/failures.h"
#include "errors/traps.h"
#include "files/change_set.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "pe/pe_headers.h"
#include "pe/pe_layout.h"
#include "pictures/icon_source.h"
#include "resources/manifest.h"
#include "resources/resource_tree.h"
#include "resources/resource_types.h"
#include "resources/version_edit.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

// The icon half of a change, on an open file.
struct IconHalf {
  IconMode mode;
  std::string icon_path;
  IconSource source;

  int32_t Load(const std::filesystem::path& icon, std::string& failure_text, const WarningSink& warn) {
    int32_t loaded = LoadIcon(icon, mode == IconMode::kFirstImage, source, failure_text, warn);
    // A picture has no first image: each icon gets the image of its own size.
    if (mode == IconMode::kFirstImage && source.picture) mode = IconMode::kAllSizes;
    return loaded;
  }

  int32_t Run(RandomAccessFile& file, const std::string& target_path, IconChangeReport& report,
              std::string& failure_text, const WarningSink& warn) const {
    switch (mode) {
      case IconMode::kFirstImage: {
        ReplacementPlan plan;
        int32_t result =
            ReplaceIconIn(file, source.images.front(), icon_path, target_path, failure_text, warn, &plan);
        if (result == kSuccess) report.first_image = DescribedPlan(plan);
        return result;
      }
      case IconMode::kAllSizes:
        return ReplaceAllSizesIn(file, source.images, icon_path, target_path, report.all_sizes, failure_text, warn);
      case IconMode::kAddSizes:
        return AddSizesIn(file, source.images, target_path, report.add_sizes, failure_text, warn);
    }
    return kUnexpected;
  }
};

int32_t CheckGivenManifest(const ResourceEdit& edit, std::string& failure_text) {
  std::string why;
  if (edit.manifest && !CheckManifest(*edit.manifest, why)) {
    return Fail(kManifestRefused, edit.manifest_name + " is not a manifest Windows can use: " + why + "." + kUnchanged,
                failure_text);
  }
  return kSuccess;
}

}  // namespace

int32_t EditProgramResources(const std::filesystem::path& target, const ResourceEdit& edit,
                             ResourceEditReport& report, std::string& failure_text, const WarningSink& warn,
                             bool plan_only) {
  return Caught(failure_text, LeftUnchanged(), [&]() -> int32_t {
    if (int32_t checked = CheckGivenManifest(edit, failure_text)) return checked;
    std::unique_ptr<RandomAccessFile> file;
    if (int32_t opened = OpenForWriting(target, file, failure_text)) return opened;
    return EditResourcesIn(*file, edit, PathText(target), report, failure_text, warn, plan_only);
  });
}

int32_t ChangeIconAndResources(const std::filesystem::path& icon, IconMode mode, const std::filesystem::path& target,
                               const ResourceEdit& edit, IconChangeReport& icon_report, ResourceEditReport& report,
                               std::string& failure_text, const WarningSink& warn, bool plan_only) {
  return Caught(failure_text, LeftUnchanged(), [&]() -> int32_t {
    IconHalf half{mode, PathText(icon), {}};
    if (int32_t loaded = half.Load(icon, failure_text, warn)) return loaded;
    if (int32_t checked = CheckGivenManifest(edit, failure_text)) return checked;
    std::unique_ptr<RandomAccessFile> file;
    if (int32_t opened = OpenForWriting(target, file, failure_text)) return opened;
    const std::string path = PathText(target);
    // Both halves are tried first with their writes kept in memory: the
    // resources are planned on the program as the icon change leaves it,
    // and a refusal of either comes before any byte is written.
    {
      OverlayFile overlay(*file);
      IconChangeReport tried_icon;
      ResourceEditReport tried;
      if (int32_t result = half.Run(overlay, path, tried_icon, failure_text, warn)) return result;
      if (int32_t result = EditResourcesIn(overlay, edit, path, tried, failure_text, warn, false)) return result;
      if (plan_only) {
        icon_report = std::move(tried_icon);
        report = std::move(tried);
        return kSuccess;
      }
    }
    JournalFile journal(*file);
    int32_t result = half.Run(journal, path, icon_report, failure_text, {});
    if (result == kSuccess) result = EditResourcesIn(journal, edit, path, report, failure_text, {}, false);
    if (result != kSuccess && !journal.Undo()) return WriteFailed(path, false, failure_text);
    return result;
  });
}

namespace {

int32_t PlanReading(const Program& program, ProgramResources& out, std::string& failure_text) {
  const RandomAccessFile& target = program.file;
  const std::string& target_path = program.path;
  const PeHeaders h = ReadPeHeaders(target);
  if (!h.NamesResourceData()) return kSuccess;
  ResourceSection section;
  if (int32_t found = FindResourceSection(program, section, failure_text)) return found;
  const ResourceTree tree = ReadResourceTree(ResourceSectionReader(target, section), section.root);
  const bool dll = Reader(target, 0, target.Length()).U16(h.file_header + 18) & 0x2000;
  const Reader file(target, 0, target.Length());
  for (const TypeNode& t : tree.types) {
    if (t.id.named || (t.id.number != kRtVersion && t.id.number != kRtManifest)) continue;
    for (const NameNode& n : t.names) {
      if (t.id.number == kRtManifest && n.id != ResourceId::Number(dll ? 2 : 1)) continue;
      for (const LanguageNode& l : n.languages) {
        const int64_t at = h.FileOffset(l.data.rva, l.data.size);
        const bool version = t.id.number == kRtVersion;
        if (at < 0) {
          return Fail(version ? kVersionDamaged : kManifestRefused,
                      target_path + ": a resource's data does not lie in the file's sections.", failure_text);
        }
        std::vector<uint8_t> bytes(l.data.size);
        file.Bytes(at, bytes.data(), l.data.size);
        std::string why;
        if (version) {
          std::optional<VersionBlock> root = ReadVersionInfo(bytes, why);
          if (!root) return Fail(kVersionDamaged, "The version resource of " + target_path + " is damaged: " + why + ".", failure_text);
          ListVersionInfo(*root, l.language, out);
        } else if (!out.has_manifest) {
          std::optional<std::string> level = ExecutionLevel(bytes, why);
          if (!level) return Fail(kManifestRefused, "The manifest of " + target_path + " cannot be read: " + why + ".", failure_text);
          out.has_manifest = true;
          out.execution_level = *level;
        }
      }
    }
  }
  return kSuccess;
}

// The reading's planner, reporting into `out`.
ModePlanner Reading(ProgramResources& out) {
  return [&out](const Program& program, FileChange&, std::string& failure_text) {
    return PlanReading(program, out, failure_text);
  };
}

}  // namespace

int32_t ReadResourcesIn(const RandomAccessFile& target, const std::string& target_path, ProgramResources& out,
                        std::string& failure_text, const WarningSink& warn) {
  return ReadOn(target, target_path, Reading(out), failure_text, warn);
}

int32_t ReadProgramResources(const std::filesystem::path& target, ProgramResources& resources,
                             std::string& failure_text, const WarningSink& warn) {
  ProgramResources read;
  int32_t result = OpenAndRead(target, Reading(read), failure_text, warn);
  if (result == kSuccess) resources = std::move(read);
  return result;
}

}  // namespace vantorel::engine
