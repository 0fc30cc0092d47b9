#include "ui/list_view.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QTreeView>

namespace helicordia {

// One row text, laid out on one line for a given width: the text itself when
// it fits, else its elided form.
struct CachedTextDelegate::LaidText {
    QTextLayout layout;
    int height = 0;   // of the line, as the style places it in the row
    qreal shift = 0;  // from the line's top to the drawn layout's top
};

CachedTextDelegate::CachedTextDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

CachedTextDelegate::~CachedTextDelegate() = default;

namespace {

// What the quick path draws: one line of left-aligned text, nothing else in the
// item, selected across its whole width.
bool PlainLine(const QStyleOptionViewItem &opt)
{
    constexpr auto extras = QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasCheckIndicator |
                            QStyleOptionViewItem::HasDecoration;
    return !(opt.features & extras) && opt.showDecorationSelected && !opt.text.isEmpty() &&
           !(opt.state & (QStyle::State_Editing | QStyle::State_HasFocus)) &&
           opt.direction == Qt::LeftToRight &&
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
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(width);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
}

} // namespace

const CachedTextDelegate::LaidText &CachedTextDelegate::laidOut(const QString &text,
                                                                const CacheState &state) const
{
    if (!(state == state_)) {
        cache_.clear();
        state_ = state;
    }
    if (const auto found = cache_.constFind(text); found != cache_.cend())
        return **found;
    if (cache_.size() >= MaxCached)
        cache_.clear();

    // As the style lays out an item's text: one line as wide as the text's
    // room, elided when the text is wider, centred vertically by the line's height.
    auto laid = std::make_shared<LaidText>();
    LayOutLine(laid->layout, text, state.font, state.width);
    const QTextLine line = laid->layout.lineAt(0);
    laid->height = static_cast<int>(line.height());
    if (line.naturalTextWidth() > state.width) {
        const qreal ascent = line.ascent();
        const QString elided =
            QFontMetrics(state.font).elidedText(text, state.elide, state.width, Qt::TextLongestVariant);
        laid->layout.clearLayout();
        LayOutLine(laid->layout, elided, state.font, state.width);
        laid->shift = ascent - laid->layout.lineAt(0).ascent();
    }
    return **cache_.insert(text, std::move(laid));
}

void CachedTextDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (!PlainLine(opt)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    // The style draws the item without its text: background, selection and
    // hover look exactly as they would with it.
    const QString text = std::exchange(opt.text, QString());
    opt.features &= ~QStyleOptionViewItem::HasDisplay;
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(margin, 0, -margin, 0);
    const qreal pixelRatio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    const LaidText &laid = laidOut(text, {opt.font, textRect.width(), opt.textElideMode, pixelRatio});

    QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const QPalette::ColorRole role =
        opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    const QPoint topLeft =
        QStyle::alignedRect(opt.direction, opt.displayAlignment, QSize(textRect.width(), laid.height), textRect)
            .topLeft();

    painter->save();
    painter->setClipRect(opt.rect);
    painter->setPen(opt.palette.color(group, role));
    laid.layout.lineAt(0).draw(painter, QPointF(topLeft.x(), topLeft.y() + laid.shift));
    painter->restore();
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
