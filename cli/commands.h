// korvane-cli: the reader's actions for a terminal.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "framework/errors.h"

namespace Korvane_Cli {

// Runs one command line; returns the exit status: 0 when everything
// succeeded, 1 when a bank or action failed, 2 for a usage error, 130 after
// a stop request. Results go to `out`, failures and progress to `err`:
// bars redrawn in place when `progress_bars`, else one line per bank state.
// `clock` times the speed shown with the progress.
int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, std::istream& in,
        bool interactive, bool progress_bars = false, ZEKT_Tick_Source clock = ZEKT_Tick_Count);

}  // namespace Korvane_Cli
