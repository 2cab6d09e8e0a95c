#pragma once
// What the players' targets write besides laid-out images: MAME's ZIP for
// each game of its software list, RetroArch's playlist and ES-DE's game list.

#include <set>
#include <string>
#include <vector>

#include "export/export_targets.h"
#include "run/copy_state.h"

// Whether the run's catalogue names software entries, as MAME wants; says
// so in one line naming the target when it does not.
bool catalogue_has_software_names();

// Writes a2600/SOFTWARE.zip under the target root for every software entry
// all of whose ROMs are among `images`; names, in one line each, an entry
// some of whose ROMs are missing. Returns the images placed as they are:
// none, as the ZIPs hold copies of them.
std::set<const StagedImage*> place_mame_sets(const std::vector<const StagedImage*>& images);

// RetroArch's playlist or ES-DE's game list of the images placed, each at
// `paths[i]` (from the target root; empty when it went nowhere), beside them.
void write_player_file(const ExportTarget& target, const std::vector<const StagedImage*>& images,
                       const std::vector<std::string>& paths);
