// The table of containers: one row per kind, with what each mode does to the
// check it keeps of itself. --add-sizes refuses the kinds its row refuses;
// --list and the dry runs print a row as one line.
#include <array>

#include "container.h"
#include "errors/failures.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

using enum CheckOutcome;
using enum ContainerKind;

// A payload after the sections must keep ending the file: the programs find it
// from there (or at offsets kept elsewhere), and nothing proves they would find
// it again after a section added at the end.
constexpr const char* kPayloadEndsTheFile = "its payload is appended data that must keep ending the file";
constexpr const char* kOnlyIcons = "only the icon resources change";

constexpr std::array<ContainerFacts, 9> kContainers = {{
    {None, "program", "is a program", "", Kept, "", Kept, ""},
    {Nsis, "NSIS installer", "is an NSIS installer",
     "it checks the CRC-32 of its bytes from offset 512 before it shows anything", Repaired,
     "the CRC-32 is updated by exactly what changes", Refused, kPayloadEndsTheFile},
    {NsisUnchecked, "NSIS installer without its CRC check", "is an NSIS installer built with its CRC check off",
     "it checks nothing of itself", Kept, "its payload stays where it finds it", Refused, kPayloadEndsTheFile},
    {InnoSetup, "Inno Setup installer", "is an Inno Setup installer",
     "its loader finds its data through offsets and the file's total size, kept in RCDATA #11111 under a CRC "
     "of their own",
     Kept, "nothing moves and the file keeps its length", Refused,
     "its loader finds its payload (appended data, or files beside it) through the offsets and the file's total "
     "size it keeps in RCDATA #11111, which a longer file would no longer match"},
    {SevenZipSfx, "7-Zip self-extracting archive", "is a 7-Zip self-extracting archive",
     "its module finds the archive after the program by its signature, and the archive checks its own CRCs", Kept,
     "the archive is not touched and stays where it is", Refused,
     "its archive is appended data that must keep ending the file"},
    {Bun, "Bun single-file program", "is a Bun single-file program", "it finds its modules in its section .bun",
     Kept, kOnlyIcons, Kept, "the new section comes after the program's, and .bun keeps its place and bytes"},
    {NodeSea, "Node single executable application", "is a Node single executable application",
     "node finds the application in RCDATA \"NODE_SEA_BLOB\"", Kept, kOnlyIcons, Kept,
     "the new resource tree names the blob where it is"},
    {DebugData, "debug data after the last section", "carries debug data after its last section",
     "debuggers find it through the debug directory", Kept, "it stays where it is", Refused,
     "it must keep its place at the end of the file"},
    {UnknownData, "unknown data after the last section", "carries appended data after its last section",
     "what the program reads there cannot be told", Kept, "it stays where it is and the file keeps its length",
     Refused, "an installer's or archive's payload must keep ending the file"},
}};

constexpr bool RowsInKindOrder() {
  for (size_t i = 0; i < kContainers.size(); ++i) {
    if (static_cast<size_t>(kContainers[i].kind) != i) return false;
  }
  return true;
}
static_assert(RowsInKindOrder(), "the table of containers is indexed by kind");

}  // namespace

const ContainerFacts& FactsOf(ContainerKind kind) { return kContainers.at(static_cast<size_t>(kind)); }

std::string ContainerRefusal(const Container& container, const std::string& path) {
  const ContainerFacts& facts = FactsOf(container.kind);
  return path + " " + facts.is + " (" + container.seen + "): " + facts.add_sizes_why +
         ", so nothing can be added after it." + kUnchanged;
}

}  // namespace vantorel::engine
