#include "ui/layout.h"

#include "ui/twips.h"

#include <QWidget>

#include <cstdlib>
#include <cstring>

namespace helicordia {

QRect ControlPlace::pixels() const
{
    return TwipsRect(left, top, width, height);
}

QFont ArialFont(const FontStyle &style)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    font.setUnderline(style.underline);
    return font;
}

const ControlPlace &PlaceOf(Layout layout, const char *name)
{
    for (const ControlPlace &place : layout)
        if (std::strcmp(place.name, name) == 0)
            return place;
    qFatal("no control %s in the layout", name);
}

void Place(QWidget *control, Layout layout, const char *name)
{
    const ControlPlace &place = PlaceOf(layout, name);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(place.pixels());
    if (place.font.points > 0)
        control->setFont(ArialFont(place.font));
}

void StackAsLaidOut(QWidget &window, Layout layout)
{
    for (const ControlPlace &place : layout)
        if (auto *control = window.findChild<QWidget *>(QLatin1String(place.name)))
            control->raise();
}

} // namespace helicordia
