// How a tip looks and where it goes, without a window: colour values, the
// arrangement of icon, title and text inside the frame, and the placement
// near the pointer that keeps the tip on the screen.
#pragma once

#include "ui/tooltip/tooltip_messages.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

namespace helicordia::tip {

// Colour values are 0x00BBGGRR.
QColor ColourFromValue(std::uint32_t value);
std::uint32_t ValueFromColour(const QColor &colour);

// Space between the one-pixel frame and the content, before the margins.
inline constexpr int TipPadding = 3;
// Space between the icon and the title, and between the title line and text.
inline constexpr int TipGap = 4;
// The tip's top edge lies this far below the pointer (under the cursor).
inline constexpr int PointerClearance = 20;

struct TipContent {
    QString title;
    bool hasIcon = false;
    QString text;
    int maxWidth = -1; // title and text wrap at this width; 0 or less: no limit
    Rect margin;
};

struct TipGeometry {
    QSize size;
    QRect iconRect;  // empty without an icon
    QRect titleRect; // empty without a title
    QRect textRect;
    int titleFlags = 0;
    int textFlags = 0;
};

TipGeometry LayoutTip(const TipContent &content, const QFont &textFont, const QFont &titleFont, int iconSize);

// Top-left corner for a tip of `size` shown for a pointer at `pointer`:
// below the pointer when it fits, above it otherwise, always inside `screen`
// (starting at its top-left when the tip is larger than the screen).
QPoint PlaceTip(QPoint pointer, QSize size, const QRect &screen);

// Keeps a tip of `size` whose top-left is `topLeft` inside `screen`.
QPoint KeepOnScreen(QPoint topLeft, QSize size, const QRect &screen);

} // namespace helicordia::tip
