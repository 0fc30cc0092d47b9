#include "ui/list_view.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QTreeView>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <optional>

namespace helicordia {

// One row text, laid out on one line for a given width: the text itself when
// it fits, else its elided form.
struct CachedTextDelegate::LaidText {
    QTextLayout layout;
    int height = 0;   // of the line, as the style places it in the row
    qreal shift = 0;  // from the line's top to the drawn layout's top
    quint64 used = 0; // the paint that drew it last

    // The background the item is drawn on, and its state.
    struct Look {
        QRgb background = 0;
        QStyle::State state;
        bool operator==(const Look &) const = default;
    };
    // The whole item as drawn in a given look.
    struct Picture {
        Look look;
        QImage image;
    };
    QVarLengthArray<Picture, 2> pictures;
    std::optional<Look> drawn; // the look of the last item drawn without a picture
};

struct CachedTextDelegate::Item {
    QStyleOptionViewItem opt; // as the style draws the item, without its text
    QStyle *style = nullptr;
    LaidText *laid = nullptr;
    QPoint textTopLeft;
    QColor pen;
};

CachedTextDelegate::CachedTextDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

CachedTextDelegate::~CachedTextDelegate() = default;

namespace {

// What the quick path draws: one line of left-aligned text, nothing else in the
// item, selected across its whole width.
bool PlainLine(const QStyleOptionViewItem &opt)
{
    constexpr auto extras =
        QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
    return !(opt.features & extras) && opt.showDecorationSelected && !opt.text.isEmpty() &&
           !(opt.state & (QStyle::State_Editing | QStyle::State_HasFocus)) && opt.direction == Qt::LeftToRight &&
           (opt.displayAlignment & Qt::AlignHorizontal_Mask) == Qt::AlignLeft &&
           !opt.text.contains(QChar::LineSeparator) && !opt.text.contains(u'\n');
}

void LayOutLine(QTextLayout &layout, const QString &text, const QFont &font, int width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft);
    layout.setText(text);
    layout.setFont(font);
    layout.setTextOption(option);
    layout.setCacheEnabled(true); // keeps the glyphs for every draw, instead of shaping the text again
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(width);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
}

// The colour the list fills an item's place with before the item is drawn,
// when a picture of the item drawn on that colour can stand for the item: the
// view's own plain background, no brush of the item's own, and a painter that
// copies pixels one to one.
std::optional<QRgb> PlainBackground(const QStyleOptionViewItem &opt, const QPainter &painter)
{
    const auto *view = qobject_cast<const QAbstractItemView *>(opt.widget);
    if (!view || view->testAttribute(Qt::WA_StyleSheet) || (opt.features & QStyleOptionViewItem::Alternate) ||
        opt.backgroundBrush.style() != Qt::NoBrush)
        return std::nullopt;
    const QWidget *viewport = view->viewport();
    const QBrush &fill = viewport->palette().brush(viewport->backgroundRole());
    if (!viewport->autoFillBackground() || fill.style() != Qt::SolidPattern || !fill.isOpaque())
        return std::nullopt;
    const QTransform &transform = painter.worldTransform();
    if (transform.type() > QTransform::TxTranslate || transform.dx() != std::round(transform.dx()) ||
        transform.dy() != std::round(transform.dy()) || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver || !painter.device() ||
        painter.device()->devicePixelRatio() != 1.0)
        return std::nullopt;
    return fill.color().rgba();
}

} // namespace

CachedTextDelegate::LaidText &CachedTextDelegate::laidOut(const QString &text, const CacheState &state) const
{
    ++paints_;
    if (!(state == state_)) {
        cache_.clear();
        pictureBytes_ = 0;
        state_ = state;
    }
    if (const auto found = cache_.constFind(text); found != cache_.cend()) {
        (*found)->used = paints_;
        return **found;
    }
    if (cache_.size() >= MaxCached) {
        const auto oldest = std::min_element(cache_.begin(), cache_.end(),
                                             [](const auto &a, const auto &b) { return a->used < b->used; });
        dropPictures(**oldest);
        cache_.erase(oldest);
    }

    // As the style lays out an item's text: one line as wide as the text's
    // room, elided when the text is wider, centred vertically by the line's height.
    auto laid = std::make_shared<LaidText>();
    laid->used = paints_;
    const int width = state.text.width();
    LayOutLine(laid->layout, text, state.font, width);
    const QTextLine line = laid->layout.lineAt(0);
    laid->height = static_cast<int>(line.height());
    if (line.naturalTextWidth() > width) {
        const qreal ascent = line.ascent();
        const QString elided = QFontMetrics(state.font).elidedText(text, state.elide, width, Qt::TextLongestVariant);
        laid->layout.clearLayout();
        LayOutLine(laid->layout, elided, state.font, width);
        laid->shift = ascent - laid->layout.lineAt(0).ascent();
    }
    return **cache_.insert(text, std::move(laid));
}

void CachedTextDelegate::dropPictures(LaidText &laid) const
{
    for (const LaidText::Picture &picture : laid.pictures)
        pictureBytes_ -= picture.image.sizeInBytes();
    laid.pictures.clear();
}

// Drops the pictures of the texts drawn least recently until a new picture
// of `bytes` fits.
void CachedTextDelegate::makeRoom(qsizetype bytes) const
{
    while (pictureBytes_ > 0 && pictureBytes_ + bytes > MaxPictureBytes) {
        LaidText *oldest = nullptr;
        for (const auto &laid : std::as_const(cache_))
            if (!laid->pictures.isEmpty() && (!oldest || laid->used < oldest->used))
                oldest = laid.get();
        dropPictures(*oldest);
    }
}

// As the style draws an item: first everything but the text (background,
// selection, hover), then the text, clipped to the item.
void CachedTextDelegate::drawItem(QPainter &on, const Item &item) const
{
    item.style->drawControl(QStyle::CE_ItemViewItem, &item.opt, &on, item.opt.widget);
    on.setClipRect(item.opt.rect);
    on.setPen(item.pen);
    item.laid->layout.lineAt(0).draw(&on, QPointF(item.textTopLeft.x(), item.textTopLeft.y() + item.laid->shift));
}

// A picture is made the second time an item is drawn in the same look, so
// that rows listed once while typing cost no more than drawing them.
void CachedTextDelegate::paintItem(QPainter *painter, const Item &item) const
{
    LaidText &laid = *item.laid;
    const std::optional<QRgb> background = PlainBackground(item.opt, *painter);
    constexpr QStyle::State looks =
        QStyle::State_Selected | QStyle::State_Active | QStyle::State_Enabled | QStyle::State_MouseOver;
    const LaidText::Look look{background.value_or(0), item.opt.state & looks};
    const auto picture = std::find_if(laid.pictures.begin(), laid.pictures.end(),
                                      [&](const LaidText::Picture &p) { return p.look == look; });
    if (background && picture != laid.pictures.end()) {
        painter->drawImage(item.opt.rect.topLeft(), picture->image);
    } else if (background && laid.drawn == look) {
        QImage image(item.opt.rect.size(), QImage::Format_RGB32);
        image.fill(*background);
        QPainter on(&image);
        on.translate(-item.opt.rect.topLeft());
        drawItem(on, item);
        on.end();
        painter->drawImage(item.opt.rect.topLeft(), image);
        if (laid.pictures.size() == laid.pictures.capacity()) {
            pictureBytes_ -= laid.pictures.front().image.sizeInBytes();
            laid.pictures.erase(laid.pictures.begin());
        }
        makeRoom(image.sizeInBytes());
        pictureBytes_ += image.sizeInBytes();
        laid.pictures.append({look, std::move(image)});
    } else {
        painter->save();
        drawItem(*painter, item);
        painter->restore();
        laid.drawn = look;
    }
}

void CachedTextDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    Item item;
    item.opt = option;
    initStyleOption(&item.opt, index);
    if (!PlainLine(item.opt)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QStyleOptionViewItem &opt = item.opt;
    const QWidget *widget = opt.widget;
    item.style = widget ? widget->style() : QApplication::style();

    // The style is left to draw the item without its text (background,
    // selection and hover look exactly as they would with it); the text is
    // drawn here from its kept layout.
    const QString text = std::exchange(item.opt.text, QString());
    item.opt.features &= ~QStyleOptionViewItem::HasDisplay;

    const int margin = item.style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect =
        item.style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(margin, 0, -margin, 0);
    const qreal pixelRatio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    item.laid = &laidOut(text, {opt.font, opt.rect.size(), textRect.translated(-opt.rect.topLeft()), opt.textElideMode,
                                pixelRatio, opt.palette.cacheKey()});

    QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
        group = QPalette::Inactive;
    item.pen =
        opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text);
    item.textTopLeft =
        QStyle::alignedRect(opt.direction, opt.displayAlignment, QSize(textRect.width(), item.laid->height), textRect)
            .topLeft();
    paintItem(painter, item);
}

void SetUpListView(QTreeView *view)
{
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setItemsExpandable(false);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAllColumnsShowFocus(true);
    view->header()->setStretchLastSection(true); // the one column fills the list at any size
    view->header()->setSectionsMovable(false);
    view->setItemDelegate(new CachedTextDelegate(view));
}

} // namespace helicordia
