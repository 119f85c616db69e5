// What every mode takes as its icon: the icon file, or for a PNG picture the
// icon file made from it, held in memory; and icon files written from
// pictures.
#include "icon_source.h"

#include <new>

#include "picture.h"
#include "errors/failures.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "icons/icon_file.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

bool StartsAsPng(const RandomAccessFile& file) {
  uint8_t head[sizeof kPngSignature] = {};
  return file.Length() >= static_cast<int64_t>(sizeof head) && file.ReadAt(0, head, sizeof head) &&
         IsPng(head, sizeof head);
}

// The icon file made from the picture in `file`. A file larger than any
// picture may be is refused before it is read.
int32_t MadeIcon(const RandomAccessFile& file, const std::string& picture_path, const std::vector<int>& sizes,
                 std::vector<uint8_t>& ico, std::string& failure_text, const WarningSink& warn) {
  std::string too_large = FileSizeFault(file.Length());
  if (!too_large.empty()) return Fail(kPictureUnreadable, UnreadableText(picture_path, too_large), failure_text);
  std::vector<uint8_t> png(static_cast<size_t>(file.Length()));
  if (!file.ReadAt(0, png.data(), png.size())) {
    return Fail(kOpenFailed, OpenFailureText(picture_path, "It could not be read."), failure_text);
  }
  return PictureIconFile(png, picture_path, sizes, ico, failure_text, warn);
}

}  // namespace

int32_t LoadIcon(const std::filesystem::path& icon, bool first_only, IconSource& source, std::string& failure_text,
                 const WarningSink& warn) {
  const std::string icon_path = PathText(icon);
  const std::string not_an_icon = icon_path + " is not a valid icon resource file.";
  std::string reason;
  std::unique_ptr<RandomAccessFile> file = OpenImageFile(icon, Access::Read, reason);
  if (!file) return Fail(kOpenFailed, OpenFailureText(icon_path, reason), failure_text);
  source.picture = StartsAsPng(*file);
  if (source.picture) {
    std::vector<uint8_t> ico;
    if (int32_t made = MadeIcon(*file, icon_path, {}, ico, failure_text, warn)) return made;
    file = std::make_unique<MemoryFile>(std::move(ico));
  } else if (first_only) {
    IconImage image;
    if (!Is_Valid_Icon_File(*file)) return Fail(kNotIconFile, not_an_icon, failure_text);
    int32_t loaded = LoadFirstImage(*file, image);
    if (loaded == kNotIconFile) return Fail(kNotIconFile, not_an_icon, failure_text);
    if (loaded != kSuccess) return Fail(loaded, ErrorDescription(loaded), failure_text);
    source.images = {std::move(image)};
    return kSuccess;
  }
  std::string why;
  int32_t loaded = LoadIconImages(*file, source.images, why);
  if (loaded == kNotIconFile) return Fail(kNotIconFile, not_an_icon + " " + why + ".", failure_text);
  if (loaded != kSuccess) return Fail(loaded, ErrorDescription(loaded), failure_text);
  return kSuccess;
}

bool IsPictureFile(const std::filesystem::path& path) {
  try {
    auto file = OpenImageFile(path, Access::Read);
    return file && StartsAsPng(*file);
  } catch (const std::exception&) {
    return false;
  }
}

int32_t MakeIconFile(const std::filesystem::path& picture, const std::filesystem::path& ico,
                     const std::vector<int>& sizes, bool replace, std::string& failure_text,
                     const WarningSink& warn) {
  try {
    const std::string picture_path = PathText(picture), ico_path = PathText(ico);
    std::vector<uint8_t> bytes;
    {
      std::string reason;
      auto file = OpenImageFile(picture, Access::Read, reason);
      if (!file) return Fail(kOpenFailed, OpenFailureText(picture_path, reason), failure_text);
      if (!StartsAsPng(*file)) {
        return Fail(kPictureUnreadable,
                    UnreadableText(picture_path, "is not a PNG: it does not start with the PNG signature") +
                        " Nothing was written.",
                    failure_text);
      }
      int32_t made = MadeIcon(*file, picture_path, sizes, bytes, failure_text, warn);
      if (made != kSuccess) return Fail(made, failure_text + " Nothing was written.", failure_text);
    }
    if (IsSameFile(picture, ico)) {
      return Fail(kOutputFailed, ico_path + " is the picture itself. Nothing was written.", failure_text);
    }
    std::string why;
    switch (WriteNewFile(ico, bytes, replace, why)) {
      case NewFileResult::Written:
        return kSuccess;
      case NewFileResult::AlreadyExists:
        return Fail(kOutputExists, ico_path + " exists already and was kept.", failure_text);
      case NewFileResult::Failed:
        break;
    }
    return Fail(kOutputFailed, "Could not write " + ico_path + ". " + why, failure_text);
  } catch (const std::bad_alloc&) {
    return Fail(kOutOfMemory, ErrorDescription(kOutOfMemory) + ". Nothing was written.", failure_text);
  } catch (const std::exception& e) {
    return Fail(kUnexpected, std::string("Unexpected error: ") + e.what() + ". Nothing was written.", failure_text);
  }
}

}  // namespace vantorel::engine
