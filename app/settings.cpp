#include "app/settings.h"

#include <QCoreApplication>

#include <QSettings>
#include <cmath>

namespace helicordia {

namespace {
const QString Group = QStringLiteral("Startup");
}

std::optional<bool> TextToBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (ok && std::isfinite(number))
        return number != 0.0;
    return std::nullopt;
}

std::optional<int> TextToTwips(const QString &text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number) || number < -2147483648.0 || number > 2147483647.0)
        return std::nullopt;
    return static_cast<int>(std::nearbyint(number)); // halves to even
}

LoadedSettings ReadSettings(QSettings &store)
{
    LoadedSettings loaded;
    store.contains(Group); // reads the file
    if (store.status() == QSettings::FormatError) {
        // A damaged file holds nothing to trust: start from the defaults; the
        // file is rewritten clean at exit.
        loaded.romanianChecked = false;
        loaded.leftTwips = DefaultWindowEdgeTwips;
        loaded.topTwips = DefaultWindowEdgeTwips;
        return loaded;
    }
    store.beginGroup(Group);
    loaded.romanianChecked = TextToBool(store.value(QStringLiteral("DictLang"), QStringLiteral("False")).toString());
    loaded.leftTwips = TextToTwips(store.value(QStringLiteral("Left"), DefaultWindowEdgeTwips).toString());
    loaded.topTwips = TextToTwips(store.value(QStringLiteral("Top"), DefaultWindowEdgeTwips).toString());
    store.endGroup();
    return loaded;
}

bool WriteSettings(QSettings &store, const SettingsToSave &values, QString *error)
{
    if (!store.isWritable()) {
        if (error)
            *error = QCoreApplication::translate("Settings", "The settings store %1 cannot be written.")
                         .arg(store.fileName());
        return false;
    }
    auto write = [&store, &values] {
        store.beginGroup(Group);
        store.setValue(QStringLiteral("DictLang"),
                       values.romanianChecked ? QStringLiteral("True") : QStringLiteral("False"));
        store.setValue(QStringLiteral("Left"), QString::number(values.leftTwips));
        store.setValue(QStringLiteral("Top"), QString::number(values.topTwips));
        store.setValue(QStringLiteral("Width"), QString::number(values.widthTwips));
        store.setValue(QStringLiteral("Height"), QString::number(values.heightTwips));
        store.endGroup();
        store.sync();
    };
    if (store.status() == QSettings::FormatError)
        store.clear();
    write();
    bool written = store.status() == QSettings::NoError;
    if (store.status() == QSettings::FormatError) {
        // The file could not be parsed: it is replaced by a clean one. The
        // read error stays on the store, so the file is read back to check.
        store.clear();
        write();
        QSettings check(store.fileName(), store.format());
        written = check.status() == QSettings::NoError &&
                  check.value(Group + QStringLiteral("/Left")).toString() == QString::number(values.leftTwips);
    }
    if (!written) {
        if (error)
            *error = QCoreApplication::translate("Settings", "The settings could not be written to %1.")
                         .arg(store.fileName());
        return false;
    }
    return true;
}

QPoint ReachablePosition(const QPoint &position, const QRect &titleBand, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return position;
    const QRect band = titleBand.translated(position);
    for (const QRect &screen : screens) {
        const QRect seen = screen.intersected(band);
        if (seen.width() >= MinimumVisibleTitle && seen.height() >= MinimumVisibleTitle)
            return position;
    }
    return {TwipsToPixels(DefaultWindowEdgeTwips), TwipsToPixels(DefaultWindowEdgeTwips)};
}

} // namespace helicordia
