// What earlier --add-sizes runs left at the end of a program, told from
// anything else: the section one added (used again only when it is provably
// ours, since what is written into it replaces what it held), and the
// unfinished tail of one that was stopped while it appended.
#pragma once

#include "icons/icon_model.h"
#include "pe/pe_headers.h"
#include "files/reader.h"
#include "resources/resource_tree.h"

namespace vantorel::engine {

struct EarlierSection {
  const SectionHeader* header = nullptr;
  // The part the program uses now, counted from the section's start: the
  // span of what the resource directory and the tree's data name in it.
  int64_t live_from = 0, live_to = 0;
};

// The last section, when it is one an earlier run added, or null: named and
// flagged as ours; last in the table, in the file (nothing of the program's
// follows it) and in memory; named by no entry point and no data directory
// but the resources'; holding no data of the tree `old` but icons, groups,
// the version and the manifest (each left where it is, as the live part);
// and either starting with our mark or
// holding nothing but the tree (at its start, as we lay it out) and that
// data. However often Vantorel runs, a program then gains one section.
EarlierSection FindEarlierSection(const Reader& file, const PeHeaders& h, const ResourceTree& old,
                                  const IconModel& model);

}  // namespace vantorel::engine
