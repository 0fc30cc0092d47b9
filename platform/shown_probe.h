// For measuring start-up from outside: with HELICORDIA_SHOWN_PROBE set in the
// environment, the first time the window has been painted the process writes
// "shown" and its resident memory to standard output; with the value "exit"
// it then ends at once (status 0, nothing saved). Without the variable this
// does nothing. bench/startup.py times the program and an empty window this way.
#pragma once

class QWidget;

namespace helicordia {

void WatchFirstPaint(QWidget &window);

} // namespace helicordia
