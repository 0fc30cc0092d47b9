// The one-column list of the main window: its settings, and an item delegate
// that keeps the laid-out text of the rows it has drawn, so that repainting
// the list does not lay the same text out again.
#pragma once

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>

#include <memory>

class QTextLayout;
class QTreeView;

namespace helicordia {

// Draws an item exactly as QStyledItemDelegate does (background, selection,
// hover, colours, eliding of text wider than the column), but keeps the
// laid-out text of up to MaxCached texts, and where the list's background is
// a plain colour, a picture of the whole item as last drawn in each look
// (selected or not, active or not), so that repainting a row is one copy of
// its pixels.
// Everything a kept text or picture depends on (font, palette, item size,
// eliding, pixel ratio) is checked at every paint, and any change empties the
// cache. At most MaxCached texts are kept, each with at most two pictures (in
// the main window's list some 35 kB each, so at most about 3.4 MB). Items the quick path does not cover (icons, check boxes, wrapped or
// multi-line text, other alignments) are drawn by the base class.
class CachedTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int MaxCached = 48;

    explicit CachedTextDelegate(QObject *parent = nullptr);
    ~CachedTextDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    qsizetype cachedTexts() const { return cache_.size(); }

private:
    struct LaidText;
    struct CacheState {
        QFont font;
        QSize item;
        QRect text; // within the item
        Qt::TextElideMode elide = Qt::ElideRight;
        qreal pixelRatio = 0;
        qint64 palette = 0;
        bool operator==(const CacheState &) const = default;
    };

    LaidText &laidOut(const QString &text, const CacheState &state) const;

    mutable CacheState state_;
    mutable QHash<QString, std::shared_ptr<LaidText>> cache_;
};

// A one-column list of whole-row selectable, read-only rows without branches,
// drawn by a CachedTextDelegate owned by the view.
void SetUpListView(QTreeView *view);

} // namespace helicordia
