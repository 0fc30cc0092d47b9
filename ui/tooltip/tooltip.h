// cTooltip: attaches pop-up tips (title line with an icon, colours, maximum
// width, delay times) to a window's controls. It owns one tooltip control and
// talks to it only through tooltip messages; it keeps what the control cannot
// give back: the title, the icon and the size of the buffer for reading a
// tip text.
//
// A control is any widget: its window handle is the widget itself, its
// container is the widget's parent. A tool is known by its widget alone.
#pragma once

#include "ui/tooltip/tooltip_messages.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

class QWidget;

namespace helicordia {

// Raised to the caller by operations on a control that cannot be a tool (no
// widget, or no container) and when the tool count does not fit 16 bits.
class TooltipError : public std::runtime_error {
public:
    enum class Kind { NoControl, Overflow };
    TooltipError(Kind kind, const char *what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

class cTooltip {
public:
    // Makes the tooltip window for an owner and a window style; returns null
    // when it cannot be made.
    using WindowFactory = std::function<std::unique_ptr<tip::TooltipWindow>(QWidget *owner, unsigned style)>;

    // The default factory makes the program's own tooltip control.
    cTooltip();
    explicit cTooltip(WindowFactory factory);
    ~cTooltip();
    cTooltip(const cTooltip &) = delete;
    cTooltip &operator=(const cTooltip &) = delete;

    // Makes the tooltip window once; true when one exists afterwards.
    bool create(QWidget *frm);

    bool AddTool(QWidget *ctrl, const QString &sText = QString());
    bool RemoveTool(QWidget *ctrl);

    std::int32_t BackColor() const;
    void BackColor(std::int32_t clr);

    std::int32_t DelayTime(std::int32_t dwType) const;
    void DelayTime(std::int32_t dwType, std::int32_t dwMilliSecs);

    std::int32_t ForeColor() const;
    void ForeColor(std::int32_t clr);

    // The tooltip window; null before create.
    tip::TooltipWindow *hwnd() const { return window_.get(); }

    // Sides: 0 left, 1 top, 2 right, 3 bottom.
    std::int32_t Margin(std::int32_t dwType) const;
    void Margin(std::int32_t dwType, std::int32_t cPixels);

    // -1 reads "no limit"; writing 0 or less removes the limit.
    std::int16_t MaxTipWidth() const;
    void MaxTipWidth(std::int16_t cx);

    std::int16_t ToolCount() const;

    QString ToolText(QWidget *ctrl) const;
    void ToolText(QWidget *ctrl, const QString &sText);

    void Title(const QString &vData);
    QString Title() const { return title_; }

    void Icon(std::int32_t vData);
    std::int32_t Icon() const { return icon_; }

    // Length, in 8-bit units, of the buffer a tip text is read back into.
    std::int32_t TextBufferLength() const { return textBufferLength_; }

private:
    bool FindTool(std::uintptr_t id, tip::ToolInfo &record, bool withText) const;
    void GrowTextBuffer(qsizetype textLength);
    void SendTitle(std::int32_t icon);

    WindowFactory factory_;
    std::unique_ptr<tip::TooltipWindow> window_;
    std::int32_t textBufferLength_ = 0;
    QString title_;
    std::int32_t icon_ = 0;
    mutable QByteArray readBuffer_; // a tool's text is read back into this
};

} // namespace helicordia
