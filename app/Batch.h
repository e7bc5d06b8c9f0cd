#pragma once
// A whole job without a window: the same Body, settings, readers, writers and
// generation pass, driven from the command line. Messages go to standard error.

namespace korvane {

class Body;
struct BatchPlan;

// Opens the plan's data files and runs its actions in their fixed order on
// the (never shown) window. Returns the process exit code: 0 when everything
// was read and written, 1 otherwise.
int runBatch(Body &body, const BatchPlan &plan);

} // namespace korvane
