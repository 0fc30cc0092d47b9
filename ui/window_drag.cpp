#include "ui/window_drag.h"

#include "ui/twips.h"

#include <algorithm>
#include <limits>

namespace helicordia {

namespace {

// Any place on a desktop of any width: only what an int cannot hold is cut.
constexpr long long MinTwips = std::numeric_limits<int>::min();
constexpr long long MaxTwips = std::numeric_limits<int>::max();

int ClampTwips(long long twips)
{
    return static_cast<int>(std::clamp(twips, MinTwips, MaxTwips));
}

} // namespace

int DragStepTwips(int windowTwips, int dragTwips, int pointerTwips)
{
    const long long v = ClampTwips(static_cast<long long>(windowTwips) - dragTwips + pointerTwips);
    long long q = v / DragStepTwipsGrid;
    if (v % DragStepTwipsGrid != 0 && v < 0)
        --q;
    return static_cast<int>(q * DragStepTwipsGrid);
}

void WindowDrag::press(Qt::MouseButtons buttons, QPointF pointInWindow)
{
    active_ = buttons == Qt::LeftButton;
    if (!active_)
        return;
    dragX_ = ClampTwips(PixelsToTwips(pointInWindow.x()));
    dragY_ = ClampTwips(PixelsToTwips(pointInWindow.y()));
}

QPoint WindowDrag::step(QPoint windowPosition, Qt::MouseButtons buttons, QPointF pointerInWindow) const
{
    if (!active_ || buttons != Qt::LeftButton)
        return windowPosition;
    const int left = DragStepTwips(windowPosition.x() * TwipsPerPixel, dragX_, PixelsToTwips(pointerInWindow.x()));
    const int top = DragStepTwips(windowPosition.y() * TwipsPerPixel, dragY_, PixelsToTwips(pointerInWindow.y()));
    return {TwipsToPixels(left), TwipsToPixels(top)};
}

} // namespace helicordia
