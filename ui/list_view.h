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
// laid-out text of up to MaxCached texts. Everything a laid-out text depends
// on (font, width, eliding, pixel ratio) is checked at every paint, and any
// change empties the cache; colours are read from the palette at every paint.
// Items the quick path does not cover (icons, check boxes, wrapped or
// multi-line text, other alignments) are drawn by the base class.
class CachedTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int MaxCached = 256;

    explicit CachedTextDelegate(QObject *parent = nullptr);
    ~CachedTextDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

    qsizetype cachedTexts() const { return cache_.size(); }

private:
    struct LaidText;
    struct CacheState {
        QFont font;
        int width = -1;
        Qt::TextElideMode elide = Qt::ElideRight;
        qreal pixelRatio = 0;
        bool operator==(const CacheState &) const = default;
    };

    const LaidText &laidOut(const QString &text, const CacheState &state) const;

    mutable CacheState state_;
    mutable QHash<QString, std::shared_ptr<const LaidText>> cache_;
};

// A one-column list of whole-row selectable, read-only rows without branches,
// drawn by a CachedTextDelegate owned by the view.
void SetUpListView(QTreeView *view);

} // namespace helicordia
