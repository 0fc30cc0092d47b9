// The main window's stored preferences: the two language check marks and the
// window position, in the per-user settings store (application "Verbarium",
// group "Startup").
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QSettings;

namespace helicordia {

// Positions and sizes are in twips, 15 to a pixel.
constexpr int TwipsPerPixel = 15;
constexpr int DefaultWindowEdgeTwips = 3000;

// What the store gave back. A value that was stored but could not be
// converted is left empty, so the window keeps what it had.
struct LoadedSettings {
    std::optional<bool> romanianChecked; // "DictLang"
    std::optional<int> leftTwips;        // "Left"
    std::optional<int> topTwips;         // "Top"
};

struct SettingsToSave {
    bool romanianChecked = false;
    int leftTwips = 0;
    int topTwips = 0;
    int widthTwips = 0;
    int heightTwips = 0;
};

// Reads the stored values; missing keys give the defaults (False, 3000, 3000).
LoadedSettings ReadSettings(QSettings &store);

// Writes "DictLang", "Left", "Top", "Width", "Height" in that order. Returns
// false with a reason when the store could not be written.
bool WriteSettings(QSettings &store, const SettingsToSave &values, QString *error);

// The text-to-boolean rule of the store: "True"/"False" in any case, or a
// number (non-zero is true). Anything else gives no value.
std::optional<bool> TextToBool(const QString &text);

// The text-to-number rule for the window edges: a decimal number, rounded to
// a whole twip. Anything else gives no value.
std::optional<int> TextToTwips(const QString &text);

// A stored position that leaves the window wholly outside every screen would
// make a window without a title bar unreachable: it goes back to the default.
// A window that is at least partly visible stays where it was stored.
QPoint ReachablePosition(const QRect &windowPixels, const QList<QRect> &screens);

} // namespace helicordia
