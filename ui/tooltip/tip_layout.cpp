#include "ui/tooltip/tip_layout.h"

#include <QFontMetrics>

#include <algorithm>

namespace helicordia::tip {

QColor ColourFromValue(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t ValueFromColour(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
           static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

TipGeometry LayoutTip(const TipContent &content, const QFont &textFont, const QFont &titleFont, int iconSize)
{
    TipGeometry geometry;
    const int left = 1 + TipPadding + content.margin.left;
    int y = 1 + TipPadding + content.margin.top;
    int width = 0;

    const bool wraps = content.maxWidth > 0;
    const int wrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs | (wraps ? Qt::TextWordWrap : 0);
    constexpr int Unlimited = 1 << 20;

    if (!content.title.isEmpty()) {
        // The title wraps too, beside the icon, so that a long one keeps the
        // tip within its maximum width.
        const QFontMetrics metrics(titleFont);
        const int iconWidth = content.hasIcon ? iconSize + TipGap : 0;
        const int limit = wraps ? std::max(content.maxWidth - iconWidth, 1) : Unlimited;
        const QRect bounds = metrics.boundingRect(QRect(0, 0, limit, Unlimited), wrapFlags, content.title);
        const int lineHeight = std::max(content.hasIcon ? iconSize : 0, metrics.height());
        if (content.hasIcon)
            geometry.iconRect = QRect(left, y + (lineHeight - iconSize) / 2, iconSize, iconSize);
        const int firstLineOffset = (lineHeight - metrics.height()) / 2;
        geometry.titleRect = QRect(left + iconWidth, y + firstLineOffset, bounds.width(), bounds.height());
        geometry.titleFlags = wrapFlags;
        width = iconWidth + bounds.width();
        y += std::max(lineHeight, firstLineOffset + bounds.height());
        if (!content.text.isEmpty())
            y += TipGap;
    }

    const QFontMetrics metrics(textFont);
    geometry.textFlags = wrapFlags;
    const int limit = wraps ? content.maxWidth : Unlimited;
    const QRect bounds =
        content.text.isEmpty() ? QRect() : metrics.boundingRect(QRect(0, 0, limit, Unlimited), wrapFlags, content.text);
    geometry.textRect = QRect(left, y, bounds.width(), bounds.height());
    width = std::max(width, bounds.width());
    y += bounds.height();

    geometry.size =
        QSize(left + width + content.margin.right + TipPadding + 1, y + content.margin.bottom + TipPadding + 1);
    return geometry;
}

QPoint KeepOnScreen(QPoint topLeft, QSize size, const QRect &screen)
{
    const int x = std::max(screen.left(), std::min(topLeft.x(), screen.right() + 1 - size.width()));
    const int y = std::max(screen.top(), std::min(topLeft.y(), screen.bottom() + 1 - size.height()));
    return QPoint(x, y);
}

QPoint PlaceTip(QPoint pointer, QSize size, const QRect &screen)
{
    QPoint topLeft(pointer.x(), pointer.y() + PointerClearance);
    if (topLeft.y() + size.height() > screen.bottom() + 1)
        topLeft.setY(pointer.y() - size.height() - 2);
    return KeepOnScreen(topLeft, size, screen);
}

} // namespace helicordia::tip
