#pragma once
// The program from start to end: application object, settings, translation,
// the main window, the -d files and the event loop.

namespace korvane {

int runKorvane(int &argc, char **argv);

} // namespace korvane
