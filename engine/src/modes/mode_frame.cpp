// The frame every mode runs in (mode_frame.h).
#include "mode_frame.h"

#include <new>
#include <stdexcept>

#include "errors/failures.h"
#include "errors/guarded.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "pe/pe_layout.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

int32_t FailureThrown(std::string& failure_text, const std::string& tail) {
  try {
    throw;
  } catch (const EngineError& e) {
    return Fail(e.number(), ErrorDescription(e.number()) + tail, failure_text);
  } catch (const std::bad_alloc&) {
    return Fail(kOutOfMemory, ErrorDescription(kOutOfMemory) + tail, failure_text);
  } catch (const std::length_error&) {
    return Fail(kOutOfMemory, ErrorDescription(kOutOfMemory) + tail, failure_text);
  } catch (const std::exception& e) {
    return Fail(kUnexpected, std::string("Unexpected error: ") + e.what() + tail, failure_text);
  } catch (...) {
    return Fail(kUnexpected, "Unexpected error" + tail, failure_text);
  }
}

}  // namespace

const std::string& LeftUnchanged() {
  static const std::string tail = std::string(".") + kUnchanged;
  return tail;
}

int32_t Caught(std::string& failure_text, const std::string& tail, const std::function<int32_t()>& body) {
  try {
    return body();
  } catch (...) {
    return FailureThrown(failure_text, tail);
  }
}

TargetFacts Examine(const RandomAccessFile& file, bool signature) {
  TargetFacts facts;
  facts.program = Is_Valid_PE(file);
  facts.is_signed = signature && facts.program && IsSigned(file);
  return facts;
}

int32_t PlanAndWrite(const RandomAccessFile& file, RandomAccessFile* writable, const std::string& path,
                     const TargetFacts& facts, const ModePlanner& plan, std::string& failure_text,
                     const WarningSink& warn) {
  if (!facts.program) return Fail(kNotWin32Executable, NotWin32Text(path), failure_text);
  FileChange change;
  if (int32_t planned = plan({file, path, warn}, change, failure_text)) return planned;
  bool restored = false;
  if (writable && !ApplyChange(*writable, change, restored)) return WriteFailed(path, restored, failure_text);
  return kSuccess;
}

int32_t RunOn(RandomAccessFile& file, const std::string& path, const ModePlanner& plan, bool plan_only,
              std::string& failure_text, const WarningSink& warn) {
  return Caught(failure_text, LeftUnchanged(), [&] {
    TargetFacts facts = Examine(file);
    return PlanAndWrite(file, plan_only ? nullptr : &file, path, facts, plan, failure_text, warn);
  });
}

int32_t ReadOn(const RandomAccessFile& file, const std::string& path, const ModePlanner& plan,
               std::string& failure_text, const WarningSink& warn, const std::string& tail) {
  return Caught(failure_text, tail, [&] {
    TargetFacts facts = Examine(file);
    return PlanAndWrite(file, nullptr, path, facts, plan, failure_text, warn);
  });
}

int32_t OpenForWriting(const std::filesystem::path& target, std::unique_ptr<RandomAccessFile>& file,
                       std::string& failure_text) {
  std::string reason;
  file = OpenImageFile(target, Access::ReadWrite, reason);
  return file ? kSuccess : Fail(kOpenFailed, OpenFailureText(PathText(target), reason), failure_text);
}

int32_t OpenAndRead(const std::filesystem::path& target, const ModePlanner& plan, std::string& failure_text,
                    const WarningSink& warn, const std::string& tail) {
  return Caught(failure_text, tail, [&] {
    const std::string path = PathText(target);
    std::string reason;
    auto file = OpenImageFile(target, Access::Read, reason);
    if (!file) return Fail(kOpenFailed, OpenFailureText(path, reason), failure_text);
    TargetFacts facts = Examine(*file);
    return PlanAndWrite(*file, nullptr, path, facts, plan, failure_text, warn);
  });
}

int32_t WriteFailed(const std::string& target_path, bool restored, std::string& failure_text) {
  return Fail(kWriteFailed,
              "Failed to write to " + target_path +
                  (restored ? ". The target was left unchanged."
                            : ". The target may be damaged; restore it from its backup."),
              failure_text);
}

bool IsSignedProgram(const std::filesystem::path& target) {
  try {
    auto file = OpenImageFile(target, Access::Read);
    return file && Examine(*file, true).is_signed;
  } catch (const std::exception&) {
    return false;
  }
}

int32_t FindResourceSection(const Program& program, ResourceSection& section, std::string& failure_text) {
  section = Find_Resource_Tree(program.file, program.warn);
  if (section.root <= kHeadersEnd) return Fail(kNoResourceTree, NoTreeText(program.path), failure_text);
  return kSuccess;
}

}  // namespace vantorel::engine
