// For measuring start-up from outside: with HELICORDIA_SHOWN_PROBE set in the
// environment, the first time the window has been painted the process writes
// "shown" and its resident memory to standard output; with the value "exit"
// it then ends at once (status 0, nothing saved). Without the variable this
// does nothing. bench/startup.py times the program and an empty window this way.
#pragma once

#include <functional>

class QWidget;

namespace helicordia {

void WatchFirstPaint(QWidget &window);

// Runs `action` once, from the event loop, after `window` has first been
// painted: for work the window need not wait for. Actions run in the reverse
// order of these calls.
void AfterFirstPaint(QWidget &window, std::function<void()> action);

} // namespace helicordia
