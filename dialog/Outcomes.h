// Where the outcomes of the file operations become what the user sees: one table gives each fault
// its message and icon, and says which faults the program cannot go on from.
#pragma once

#include "core/Outcome.h"

namespace quil {

struct App;

// Shows the message of each fault of `outcome`, in order; after a fault that the program cannot go
// on from, ends it with exit status 1. True when the operation was done.
bool ShowOutcome(App& app, const Outcome& outcome);

}  // namespace quil
