// The section an earlier --add-sizes run added, told from anything else of
// its name: a section is used again only when it is provably ours, since
// what is written into it replaces what it held.
#pragma once

#include "icon_model.h"
#include "pe_headers.h"
#include "reader.h"
#include "resource_tree.h"

namespace vantorel::engine {

// The last section, when it is one an earlier run added, or null: named and
// flagged as ours; last in the table, in the file (nothing of the program's
// follows it) and in memory; named by no entry point and no data directory
// but the resources'; holding no data of the tree `old` but icons and groups
// the new tree points elsewhere; and either starting with our mark or
// holding nothing but the tree (at its start, as we lay it out) and that
// data. However often Vantorel runs, a program then gains one section.
const SectionHeader* EarlierSection(const Reader& file, const PeHeaders& h, const ResourceTree& old,
                                    const IconModel& model);

}  // namespace vantorel::engine
