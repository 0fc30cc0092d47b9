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
// laid-out text (glyphs included) of up to MaxCached texts, and where the
// list's background is a plain colour, a picture of the whole item as last
// drawn in each look (selected or not, active or not), so that repainting a
// row is one copy of its pixels. The texts and pictures drawn least recently
// are the first to go when a new one needs room; the pictures together take
// at most MaxPictureBytes (in the main window's list some 40 kB each).
// Everything a kept text or picture depends on (font, palette, item size,
// eliding, pixel ratio) is checked at every paint, and any change empties the
// cache. Items the quick path does not cover (icons, check boxes, wrapped or
// multi-line text, other alignments) are drawn by the base class.
class CachedTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int MaxCached = 160;
    static constexpr qsizetype MaxPictureBytes = 4 << 20;

    explicit CachedTextDelegate(QObject *parent = nullptr);
    ~CachedTextDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    qsizetype cachedTexts() const { return cache_.size(); }
    qsizetype pictureBytes() const { return pictureBytes_; }

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
    // An item as the quick path draws it.
    struct Item;

    LaidText &laidOut(const QString &text, const CacheState &state) const;
    void makeRoom(qsizetype bytes) const;
    void dropPictures(LaidText &laid) const;
    void drawItem(QPainter &on, const Item &item) const;
    void paintItem(QPainter *painter, const Item &item) const;

    mutable CacheState state_;
    mutable QHash<QString, std::shared_ptr<LaidText>> cache_;
    mutable quint64 paints_ = 0;         // counts paints, for the age of a kept text
    mutable qsizetype pictureBytes_ = 0; // of every picture kept
};

// A one-column list of whole-row selectable, read-only rows without branches,
// drawn by a CachedTextDelegate owned by the view.
void SetUpListView(QTreeView *view);

} // namespace helicordia
