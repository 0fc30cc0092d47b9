// Dragging a window without a title bar: a left press on the window starts a
// drag; while the left button alone is held, the window follows the pointer in
// steps of 32 twips. Both windows drag this way.
#pragma once

#include <QPoint>
#include <QPointF>

namespace helicordia {

// Window positions move in steps of this many twips while dragged.
constexpr int DragStepTwipsGrid = 32;

// One drag step, in twips: the window's new left (or top) for a press point
// and the pointer's position, both relative to the window. Floored to a
// multiple of 32 twips; any place on the desktop can be reached (a whole
// number of twips, as the position is stored).
int DragStepTwips(int windowTwips, int dragTwips, int pointerTwips);

class WindowDrag {
public:
    // A press at a point of the window (pixels). Only a press of the left
    // button alone starts a drag; any other ends the one running.
    void press(Qt::MouseButtons buttons, QPointF pointInWindow);
    void release() { active_ = false; }
    bool active() const { return active_; }

    // The window's place (pixels) for the pointer's place in the window while
    // the buttons are held, or the place it has when no drag runs.
    QPoint step(QPoint windowPosition, Qt::MouseButtons buttons, QPointF pointerInWindow) const;

private:
    bool active_ = false;
    int dragX_ = 0; // twips
    int dragY_ = 0;
};

} // namespace helicordia
