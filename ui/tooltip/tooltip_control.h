// The tooltip control: a small top-level window that answers the tooltip
// messages, keeps the tool records, watches each tool's own mouse events and
// shows the tip of the tool under the pointer.
//
// Timing: the tip shows once the pointer has rested on a tool for the initial
// delay, or for the reshow delay when the pointer comes from a shown tip (on
// another tool, or on a tool it left less than a reshow delay ago). The tip
// hides once the auto-pop delay has passed since it showed (moving on does
// not extend it), when the pointer leaves the tool, on a mouse press or a
// key, or when the tool's text becomes empty. A shown tip whose text or title
// changes (the pointer is on another row of the tool) is laid out anew beside
// the pointer. After hiding on its own or on a press, it stays away while the
// pointer stays on the tool, unless the tool's text changes: then it shows
// again after the initial delay.
#pragma once

#include "ui/tooltip/tip_layout.h"
#include "ui/tooltip/tooltip_messages.h"

#include <QByteArray>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace helicordia {

class TooltipControl : public QWidget, public tip::TooltipWindow {
    Q_OBJECT
public:
    static constexpr int DefaultInitial = 500;
    static constexpr int DefaultAutoPop = 5000;
    static constexpr int DefaultReshow = 100;

    TooltipControl(QWidget *owner, unsigned style);
    ~TooltipControl() override;

    // The tooltip messages.
    void SetDelayTime(unsigned type, std::int32_t ms) override;
    std::int32_t GetDelayTime(unsigned type) override;
    bool AddTool(const tip::ToolInfo &tool, QByteArrayView text) override;
    void DelTool(const tip::ToolInfo &tool) override;
    void UpdateTipText(const tip::ToolInfo &tool, QByteArrayView text) override;
    std::size_t GetToolCount() override { return tools_.size(); }
    bool EnumTools(std::size_t index, tip::ToolInfo &tool, std::span<char> text) override;
    void SetTipBkColor(std::uint32_t colour) override { SetColour(back_, colour); }
    void SetTipTextColor(std::uint32_t colour) override { SetColour(fore_, colour); }
    std::uint32_t GetTipBkColor() override { return back_; }
    std::uint32_t GetTipTextColor() override { return fore_; }
    void SetMaxTipWidth(std::int32_t width) override;
    std::int32_t GetMaxTipWidth() override { return maxWidth_; }
    void SetMargin(const tip::Rect &margin) override;
    tip::Rect GetMargin() override { return margin_; }
    void SetTitle(int icon, QByteArrayView title) override;

    // Timers, reachable so that tests can run them without waiting.
    const QTimer &showTimer() const { return showTimer_; }
    const QTimer &popTimer() const { return popTimer_; }
    const QTimer &relayoutTimer() const { return relayoutTimer_; }
    void showTimerElapsed();
    void popTimerElapsed();
    void relayoutTimerElapsed();
    void reshowWindowElapsed() { reshowWindow_.stop(); }

    // What the shown tip holds.
    bool tipShown() const { return state_ == State::Shown; }
    QString shownTitle() const { return content_.title; }
    int shownIcon() const { return icon_; }
    QString shownText() const { return content_.text; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    enum class State { Idle, Waiting, Shown, Suppressed };
    struct Tool {
        std::uint32_t flags = 0;
        QWidget *container = nullptr;
        std::uintptr_t id = 0;
        QByteArray text;
    };

    Tool *FindTool(const tip::ToolInfo &record);
    void SetColour(std::uint32_t &colour, std::uint32_t value);
    const Tool *CurrentTool() const;
    void Watch(QWidget *tool);
    void Unwatch(QWidget *tool);
    void ToolDestroyed(QObject *gone);
    QWidget *ToolOf(QObject *watched) const;

    void PointerMoved(QWidget *tool, QPointF globalPosition);
    void PointerLeft(QWidget *tool);
    void TextChanged(const Tool &tool);
    void StartWaiting(int delay);
    void ShowTip();
    void HideTip(State next);
    void Relayout();
    void AppearanceChanged();
    QRect ScreenAtPointer() const;

    State state_ = State::Idle;
    std::uintptr_t current_ = 0; // tool under the pointer
    QPoint pointer_;
    std::vector<Tool> tools_;
    QPointer<QWidget> owner_;
    unsigned style_ = 0;

    int initial_ = DefaultInitial;
    int autoPop_ = DefaultAutoPop;
    int reshow_ = DefaultReshow;
    std::uint32_t back_ = 0;
    std::uint32_t fore_ = 0;
    int maxWidth_ = -1;
    tip::Rect margin_;
    int icon_ = tip::TTI_NONE;
    QString title_;

    tip::TipContent content_;
    tip::TipGeometry geometry_;
    QTimer showTimer_;
    QTimer popTimer_;
    QTimer reshowWindow_;
    QTimer relayoutTimer_;
    bool watchingApp_ = false;
};

} // namespace helicordia
