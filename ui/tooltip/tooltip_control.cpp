#include "ui/tooltip/tooltip_control.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace helicordia {

using namespace tip;

namespace {

QWidget *WidgetOf(std::uintptr_t id)
{
    return reinterpret_cast<QWidget *>(id);
}

bool HasIcon(int icon)
{
    return icon == TTI_INFO || icon == TTI_WARNING || icon == TTI_ERROR;
}

QStyle::StandardPixmap IconPixmap(int icon)
{
    switch (icon) {
    case TTI_WARNING: return QStyle::SP_MessageBoxWarning;
    case TTI_ERROR: return QStyle::SP_MessageBoxCritical;
    default: return QStyle::SP_MessageBoxInformation;
    }
}

} // namespace

TooltipControl::TooltipControl(QWidget *owner, unsigned style)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput),
      owner_(owner),
      style_(style)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(QToolTip::font());
    const QPalette palette = QToolTip::palette();
    back_ = ValueFromColour(palette.color(QPalette::ToolTipBase));
    fore_ = ValueFromColour(palette.color(QPalette::ToolTipText));
    for (QTimer *timer : {&showTimer_, &popTimer_, &reshowWindow_, &relayoutTimer_})
        timer->setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &TooltipControl::showTimerElapsed);
    connect(&popTimer_, &QTimer::timeout, this, &TooltipControl::popTimerElapsed);
    connect(&reshowWindow_, &QTimer::timeout, this, &TooltipControl::reshowWindowElapsed);
    connect(&relayoutTimer_, &QTimer::timeout, this, &TooltipControl::relayoutTimerElapsed);
}

TooltipControl::~TooltipControl()
{
    if (watchingApp_)
        qApp->removeEventFilter(this);
    for (const Tool &tool : tools_)
        if (tool.flags & TTF_SUBCLASS)
            Unwatch(WidgetOf(tool.id));
}

void TooltipControl::SetDelayTime(unsigned type, std::int32_t ms)
{
    switch (type) {
    case TTDT_AUTOMATIC:
        initial_ = ms < 0 ? DefaultInitial : ms;
        autoPop_ = ms < 0 ? DefaultAutoPop : ms * 10;
        reshow_ = ms < 0 ? DefaultReshow : ms / 5;
        break;
    case TTDT_RESHOW: reshow_ = ms < 0 ? DefaultReshow : ms; break;
    case TTDT_AUTOPOP: autoPop_ = ms < 0 ? DefaultAutoPop : ms; break;
    case TTDT_INITIAL: initial_ = ms < 0 ? DefaultInitial : ms; break;
    default: return;
    }
    // A shown tip keeps the time it was shown with: the list sets its delays
    // again at every move, and that must not keep the tip up for as long as
    // the pointer moves.
}

std::int32_t TooltipControl::GetDelayTime(unsigned type)
{
    switch (type) {
    case TTDT_RESHOW: return reshow_;
    case TTDT_AUTOPOP: return autoPop_;
    default: return initial_;
    }
}

bool TooltipControl::AddTool(const ToolInfo &tool, QByteArrayView text)
{
    if ((tool.uFlags & TTF_IDISHWND) && tool.uId == 0)
        return false;
    tools_.push_back({tool.uFlags, tool.hwnd, tool.uId, text.toByteArray()});
    if ((tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS)) == (TTF_IDISHWND | TTF_SUBCLASS))
        Watch(WidgetOf(tool.uId));
    return true;
}

void TooltipControl::DelTool(const ToolInfo &record)
{
    const Tool *tool = FindTool(record);
    if (!tool)
        return;
    const std::uintptr_t id = tool->id;
    const bool watched = tool->flags & TTF_SUBCLASS;
    tools_.erase(tools_.begin() + (tool - tools_.data()));
    if (watched && std::none_of(tools_.begin(), tools_.end(), [id](const Tool &t) { return t.id == id; }))
        Unwatch(WidgetOf(id));
    if (id == current_) {
        HideTip(State::Idle);
        current_ = 0;
    }
}

void TooltipControl::UpdateTipText(const ToolInfo &record, QByteArrayView text)
{
    Tool *tool = FindTool(record);
    if (tool && tool->text != text) {
        tool->text = text.toByteArray();
        TextChanged(*tool);
    }
}

bool TooltipControl::EnumTools(std::size_t index, ToolInfo &record, std::span<char> text)
{
    if (index >= tools_.size())
        return false;
    const Tool &tool = tools_[index];
    record.uFlags = tool.flags;
    record.hwnd = tool.container;
    record.uId = tool.id;
    if (!text.empty()) {
        const std::size_t length = std::min(text.size() - 1, static_cast<std::size_t>(tool.text.size()));
        std::copy_n(tool.text.constData(), length, text.data());
        text[length] = '\0';
    }
    return true;
}

void TooltipControl::SetColour(std::uint32_t &colour, std::uint32_t value)
{
    value &= 0xFFFFFF;
    if (colour != value) {
        colour = value;
        update();
    }
}

void TooltipControl::SetMaxTipWidth(std::int32_t width)
{
    const int previous = maxWidth_;
    maxWidth_ = width > 0 ? width : -1;
    if (maxWidth_ != previous)
        AppearanceChanged();
}

void TooltipControl::SetMargin(const Rect &margin)
{
    if (margin != margin_) {
        margin_ = margin;
        AppearanceChanged();
    }
}

void TooltipControl::SetTitle(int icon, QByteArrayView title)
{
    const QString text = QString::fromLocal8Bit(title);
    if (icon != icon_ || text != title_) {
        icon_ = icon;
        title_ = text;
        AppearanceChanged();
    }
}

TooltipControl::Tool *TooltipControl::FindTool(const ToolInfo &record)
{
    auto found = std::find_if(tools_.begin(), tools_.end(), [&record](const Tool &tool) {
        return tool.id == record.uId && tool.container == record.hwnd;
    });
    return found == tools_.end() ? nullptr : &*found;
}

const TooltipControl::Tool *TooltipControl::CurrentTool() const
{
    auto found = std::find_if(tools_.begin(), tools_.end(), [this](const Tool &tool) { return tool.id == current_; });
    return found == tools_.end() ? nullptr : &*found;
}

// A scrolling control gets its mouse events on its viewport: both are watched.
void TooltipControl::Watch(QWidget *tool)
{
    tool->installEventFilter(this);
    tool->setMouseTracking(true);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(tool)) {
        area->viewport()->installEventFilter(this);
        area->viewport()->setMouseTracking(true);
    }
    connect(tool, &QObject::destroyed, this, &TooltipControl::ToolDestroyed, Qt::UniqueConnection);
}

void TooltipControl::Unwatch(QWidget *tool)
{
    tool->removeEventFilter(this);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(tool))
        area->viewport()->removeEventFilter(this);
    disconnect(tool, &QObject::destroyed, this, &TooltipControl::ToolDestroyed);
}

void TooltipControl::ToolDestroyed(QObject *gone)
{
    const auto id = reinterpret_cast<std::uintptr_t>(gone);
    std::erase_if(tools_, [id](const Tool &tool) { return tool.id == id; });
    if (id == current_) {
        HideTip(State::Idle);
        current_ = 0;
    }
}

QWidget *TooltipControl::ToolOf(QObject *watched) const
{
    for (const Tool &tool : tools_) {
        QWidget *widget = WidgetOf(tool.id);
        if (!(tool.flags & TTF_SUBCLASS))
            continue;
        if (watched == widget)
            return widget;
        if (auto *area = qobject_cast<QAbstractScrollArea *>(widget); area && watched == area->viewport())
            return widget;
    }
    return nullptr;
}

bool TooltipControl::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (QWidget *tool = ToolOf(watched))
            PointerMoved(tool, static_cast<QMouseEvent *>(event)->globalPosition());
        break;
    case QEvent::Enter:
        if (QWidget *tool = ToolOf(watched))
            PointerMoved(tool, static_cast<QEnterEvent *>(event)->globalPosition());
        break;
    case QEvent::Leave:
    case QEvent::Hide:
        if (QWidget *tool = ToolOf(watched))
            PointerLeft(tool);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        // Watched on the tools, and on the whole program while a tip shows.
        if (state_ == State::Shown)
            HideTip(State::Suppressed);
        else if (state_ == State::Waiting && ToolOf(watched)) {
            showTimer_.stop();
            state_ = State::Suppressed;
        }
        break;
    default: break;
    }
    return false;
}

void TooltipControl::PointerMoved(QWidget *tool, QPointF globalPosition)
{
    pointer_ = globalPosition.toPoint();
    const std::uintptr_t id = WindowId(tool);
    switch (state_) {
    case State::Idle:
    case State::Waiting: {
        // Moving on over the tool whose tip is due keeps the delay chosen
        // when the wait began (a move can arrive twice while a tip shows:
        // through the tool and through the program-wide watch).
        const bool sameWait = state_ == State::Waiting && id == current_;
        current_ = id;
        StartWaiting(sameWait ? showTimer_.interval() : reshowWindow_.isActive() ? reshow_ : initial_);
        break;
    }
    case State::Shown:
        if (id != current_) {
            HideTip(State::Idle);
            current_ = id;
            StartWaiting(reshow_);
        }
        break;
    case State::Suppressed:
        if (id != current_) {
            current_ = id;
            StartWaiting(initial_);
        }
        break;
    }
}

void TooltipControl::PointerLeft(QWidget *tool)
{
    if (WindowId(tool) != current_)
        return;
    if (state_ == State::Shown)
        reshowWindow_.start(reshow_);
    HideTip(State::Idle);
    current_ = 0;
}

void TooltipControl::TextChanged(const Tool &tool)
{
    if (tool.id != current_)
        return;
    switch (state_) {
    case State::Shown:
        if (tool.text.isEmpty())
            HideTip(State::Waiting);
        else
            AppearanceChanged();
        break;
    case State::Suppressed:
    case State::Waiting:
        // The pointer rests on something new: its tip comes after the delay.
        if (!tool.text.isEmpty())
            StartWaiting(initial_);
        break;
    case State::Idle: break;
    }
}

void TooltipControl::StartWaiting(int delay)
{
    state_ = State::Waiting;
    showTimer_.start(std::max(0, delay));
}

void TooltipControl::showTimerElapsed()
{
    showTimer_.stop();
    const Tool *tool = CurrentTool();
    if (state_ != State::Waiting || !tool || tool->text.isEmpty())
        return;
    state_ = State::Shown;
    Relayout();
    move(PlaceTip(pointer_, geometry_.size, ScreenAtPointer()));
    show();
    popTimer_.start(std::max(0, autoPop_));
    if (!watchingApp_) {
        qApp->installEventFilter(this);
        watchingApp_ = true;
    }
}

void TooltipControl::popTimerElapsed()
{
    popTimer_.stop();
    if (state_ == State::Shown)
        HideTip(State::Suppressed);
}

void TooltipControl::HideTip(State next)
{
    showTimer_.stop();
    popTimer_.stop();
    relayoutTimer_.stop();
    if (watchingApp_) {
        qApp->removeEventFilter(this);
        watchingApp_ = false;
    }
    hide();
    state_ = next;
}

void TooltipControl::Relayout()
{
    const Tool *tool = CurrentTool();
    content_.title = title_;
    content_.hasIcon = HasIcon(icon_);
    content_.text = tool ? QString::fromLocal8Bit(tool->text) : QString();
    content_.maxWidth = maxWidth_;
    content_.margin = margin_;
    QFont bold = font();
    bold.setBold(true);
    geometry_ = LayoutTip(content_, font(), bold, style()->pixelMetric(QStyle::PM_SmallIconSize));
    resize(geometry_.size);
}

QRect TooltipControl::ScreenAtPointer() const
{
    const QScreen *screen = QGuiApplication::screenAt(pointer_);
    if (!screen)
        screen = owner_ ? owner_->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

// A shown tip that takes a new text or title describes what is now under the
// pointer (another row of a list), so it goes beside the pointer again: left
// where it was, it would stand over other rows. Laying out wrapped
// text costs far more than a mouse move may, so it waits for the event loop
// and is done once however many changes came before it.
void TooltipControl::AppearanceChanged()
{
    if (state_ == State::Shown && !relayoutTimer_.isActive())
        relayoutTimer_.start(0);
}

void TooltipControl::relayoutTimerElapsed()
{
    relayoutTimer_.stop();
    if (state_ != State::Shown)
        return;
    Relayout();
    move(PlaceTip(pointer_, geometry_.size, ScreenAtPointer()));
    update();
}

void TooltipControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor textColour = ColourFromValue(fore_);
    painter.fillRect(rect(), ColourFromValue(back_));
    painter.setPen(textColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!geometry_.iconRect.isEmpty())
        painter.drawPixmap(geometry_.iconRect,
                           style()->standardIcon(IconPixmap(icon_)).pixmap(geometry_.iconRect.size()));
    if (!geometry_.titleRect.isEmpty()) {
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(geometry_.titleRect, geometry_.titleFlags, content_.title);
        painter.setFont(font());
    }
    painter.drawText(geometry_.textRect, geometry_.textFlags, content_.text);
}

} // namespace helicordia
