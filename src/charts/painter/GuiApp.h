#pragma once

namespace oruk {

// Fonts and images need a QGuiApplication. Creates one (offscreen when no display platform is set)
// when the process has none yet; programs without windows (the command line, tests, benchmarks)
// call this before drawing.
void EnsureGuiApplication();

} // namespace oruk
