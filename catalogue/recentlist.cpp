#include "catalogue/recentlist.h"

namespace helicordia {

void AddRecent(QStringList &recent, const QString &name)
{
    if (name.size() < 2)
        return;
    if (!recent.isEmpty() && recent.first() == QStringView(name).chopped(1))
        recent.removeFirst();
    const QString lower = name.toLower();
    recent.removeIf([&lower](const QString &item) { return item.toLower() == lower; });
    recent.prepend(name);
}

} // namespace helicordia
