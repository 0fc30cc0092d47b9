// The tip over the catalogue list: the hovered entry's short title with the
// information icon, its full name below, light yellow for a playable entry
// and pink for anything else.
#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace helicordia {

class cTooltip;

inline constexpr std::int32_t PlayableTipColour = 0xDCFFFF;    // light yellow
inline constexpr std::int32_t DescriptiveTipColour = 0xDC7DFF; // pink
inline constexpr std::int32_t HoverTipAutoPop = 4000;          // ms

// Brings the list's tip up to date for the item under the pointer: `itemText`
// is the hovered item's list text, or null over empty space (no tip then).
// For one of the user's own treatments, `ownProblem` says why it cannot be
// played (empty when it can; the tip is then light yellow); null for a
// catalogue entry. Registers the list on first use. A step that fails is
// skipped.
void UpdateListTip(cTooltip &tooltip, QWidget *list, const QString *itemText, const QString *ownProblem = nullptr);

} // namespace helicordia
