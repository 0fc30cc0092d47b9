// A window's controls as one table: where each lies (in twips, within its
// parent), the font it shows its text in, and whether the user clicks it.
// The window is built from the table; tests check the table's promises on the
// built window.
#pragma once

#include <QFont>
#include <QRect>

#include <span>

class QWidget;

namespace helicordia {

// Arial at the given size; a size of 0 keeps the font the control inherits.
struct FontStyle {
    qreal points = 0;
    bool bold = false;
    bool underline = false;
};

struct ControlPlace {
    const char *name;
    int left, top, width, height; // twips, within the parent
    FontStyle font{};
    bool clickable = false;
    const char *parent = nullptr; // a frame of the window; the window itself when null

    QRect pixels() const;
};

using Layout = std::span<const ControlPlace>;

QFont ArialFont(const FontStyle &style);

// The row of a control; a name that is not in the table is a programming
// error and ends the program.
const ControlPlace &PlaceOf(Layout layout, const char *name);

// Names the control, puts it in its place and gives it its font.
void Place(QWidget *control, Layout layout, const char *name);

// Stacks the window's controls in the table's order, later rows above
// earlier ones, however they were made.
void StackAsLaidOut(QWidget &window, Layout layout);

} // namespace helicordia
