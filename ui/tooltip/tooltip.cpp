#include "ui/tooltip/tooltip.h"

#include "ui/tooltip/tooltip_control.h"

#include <QByteArray>
#include <QWidget>

#include <algorithm>

namespace helicordia {

using namespace tip;

namespace {

QWidget *ControlWindow(QWidget *ctrl)
{
    if (!ctrl)
        throw TooltipError(TooltipError::Kind::NoControl, "the control has no window");
    return ctrl;
}

QWidget *ContainerWindow(QWidget *ctrl)
{
    QWidget *container = ctrl->parentWidget();
    if (!container)
        throw TooltipError(TooltipError::Kind::NoControl, "the control has no container");
    return container;
}

WParam ColourParam(std::int32_t clr)
{
    return static_cast<WParam>(static_cast<std::uint32_t>(clr));
}

WParam DelayType(std::int32_t dwType)
{
    return static_cast<WParam>(dwType & 3);
}

} // namespace

cTooltip::cTooltip()
    : cTooltip([](QWidget *owner, unsigned style) -> std::unique_ptr<TooltipWindow> {
          return std::make_unique<TooltipControl>(owner, style);
      })
{
}

cTooltip::cTooltip(WindowFactory factory) : factory_(std::move(factory)) {}

cTooltip::~cTooltip() = default;

LResult cTooltip::Send(unsigned msg, WParam wParam, LParam lParam) const
{
    return window_->SendMessage(msg, wParam, lParam);
}

bool cTooltip::create(QWidget *frm)
{
    if (!window_) {
        window_ = factory_(frm, TTS_ALWAYSTIP);
        if (window_ && (!title_.isEmpty() || icon_ != TTI_NONE))
            SendTitle(icon_);
    }
    return window_ != nullptr;
}

std::int16_t cTooltip::ToolCount() const
{
    if (!window_)
        return 0;
    const LResult count = Send(TTM_GETTOOLCOUNT, 0, 0);
    if (count > 32767 || count < -32768)
        throw TooltipError(TooltipError::Kind::Overflow, "too many tools");
    return static_cast<std::int16_t>(count);
}

bool cTooltip::FindTool(std::uintptr_t id, ToolInfo &record, bool withText) const
{
    record.cbSize = ToolInfoSize;
    if (withText) {
        readBuffer_.fill('\0', textBufferLength_);
        record.lpszText = readBuffer_.data();
    }
    const std::int16_t count = ToolCount();
    for (std::int16_t index = 0; index < count; ++index) {
        if (Send(TTM_ENUMTOOLSA, static_cast<WParam>(index), AsLParam(&record)) != 0 && record.uId == id)
            return true;
    }
    return false;
}

void cTooltip::GrowTextBuffer(qsizetype textLength)
{
    textBufferLength_ = std::max(textBufferLength_, static_cast<std::int32_t>(textLength + 1));
}

bool cTooltip::AddTool(QWidget *ctrl, const QString &sText)
{
    QWidget *tool = ControlWindow(ctrl);
    QWidget *container = ContainerWindow(tool);
    if (!window_)
        return false;
    ToolInfo found;
    if (FindTool(WindowId(tool), found, false))
        return false;

    ToolInfo record;
    record.cbSize = ToolInfoSize;
    record.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    record.hwnd = container;
    record.uId = WindowId(tool);
    QByteArray text;
    if (!sText.isEmpty()) {
        text = sText.toLocal8Bit();
    } else {
        const std::int16_t count = ToolCount();
        if (count == 32767)
            throw TooltipError(TooltipError::Kind::Overflow, "too many tools");
        text = "Tool" + QByteArray::number(count + 1);
    }
    GrowTextBuffer(text.size());
    record.lpszText = text.data();
    return Send(TTM_ADDTOOLA, 0, AsLParam(&record)) != 0;
}

bool cTooltip::RemoveTool(QWidget *ctrl)
{
    QWidget *tool = ControlWindow(ctrl);
    ToolInfo record;
    if (!window_ || !FindTool(WindowId(tool), record, false))
        return false;
    Send(TTM_DELTOOLA, 0, AsLParam(&record));
    return true;
}

QString cTooltip::ToolText(QWidget *ctrl) const
{
    QWidget *tool = ControlWindow(ctrl);
    ToolInfo record;
    if (!window_ || !FindTool(WindowId(tool), record, true))
        return QString();
    // Up to the first NUL, and never past the buffer's end.
    const char *text = record.lpszText;
    const auto length = static_cast<qsizetype>(std::find(text, text + textBufferLength_, '\0') - text);
    return QString::fromLocal8Bit(text, length);
}

void cTooltip::ToolText(QWidget *ctrl, const QString &sText)
{
    QWidget *tool = ControlWindow(ctrl);
    ToolInfo record;
    if (!window_ || !FindTool(WindowId(tool), record, false))
        return;
    QByteArray text = sText.toLocal8Bit();
    record.lpszText = text.data();
    GrowTextBuffer(text.size());
    Send(TTM_UPDATETIPTEXTA, 0, AsLParam(&record));
}

std::int32_t cTooltip::BackColor() const
{
    return window_ ? static_cast<std::int32_t>(Send(TTM_GETTIPBKCOLOR, 0, 0)) : 0;
}

void cTooltip::BackColor(std::int32_t clr)
{
    if (window_)
        Send(TTM_SETTIPBKCOLOR, ColourParam(clr), 0);
}

std::int32_t cTooltip::ForeColor() const
{
    return window_ ? static_cast<std::int32_t>(Send(TTM_GETTIPTEXTCOLOR, 0, 0)) : 0;
}

void cTooltip::ForeColor(std::int32_t clr)
{
    if (window_)
        Send(TTM_SETTIPTEXTCOLOR, ColourParam(clr), 0);
}

std::int32_t cTooltip::DelayTime(std::int32_t dwType) const
{
    return window_ ? static_cast<std::int32_t>(Send(TTM_GETDELAYTIME, DelayType(dwType), 0)) : 0;
}

void cTooltip::DelayTime(std::int32_t dwType, std::int32_t dwMilliSecs)
{
    if (window_)
        Send(TTM_SETDELAYTIME, DelayType(dwType), dwMilliSecs);
}

std::int32_t cTooltip::Margin(std::int32_t dwType) const
{
    if (!window_)
        return 0;
    Rect margins;
    Send(TTM_GETMARGIN, 0, AsLParam(&margins));
    switch (dwType) {
    case 0: return margins.left;
    case 1: return margins.top;
    case 2: return margins.right;
    case 3: return margins.bottom;
    default: return 0;
    }
}

void cTooltip::Margin(std::int32_t dwType, std::int32_t cPixels)
{
    if (!window_)
        return;
    Rect margins;
    Send(TTM_GETMARGIN, 0, AsLParam(&margins));
    switch (dwType) {
    case 0: margins.left = cPixels; break;
    case 1: margins.top = cPixels; break;
    case 2: margins.right = cPixels; break;
    case 3: margins.bottom = cPixels; break;
    default: break;
    }
    Send(TTM_SETMARGIN, 0, AsLParam(&margins));
}

std::int16_t cTooltip::MaxTipWidth() const
{
    if (!window_)
        return 0;
    const auto low = static_cast<std::uint16_t>(Send(TTM_GETMAXTIPWIDTH, 0, 0) & 0xFFFF);
    return static_cast<std::int16_t>(low);
}

void cTooltip::MaxTipWidth(std::int16_t cx)
{
    if (window_)
        Send(TTM_SETMAXTIPWIDTH, 0, cx >= 1 ? cx : -1);
}

void cTooltip::SendTitle(std::int32_t icon)
{
    QByteArray title = title_.toLocal8Bit();
    Send(TTM_SETTITLEA, static_cast<WParam>(icon), AsLParam(title.data()));
}

void cTooltip::Title(const QString &vData)
{
    title_ = vData;
    if (!title_.isEmpty() && window_)
        SendTitle(icon_);
}

void cTooltip::Icon(std::int32_t vData)
{
    icon_ = vData;
    if (window_ && !title_.isEmpty() && vData != TTI_NONE)
        SendTitle(vData);
}

} // namespace helicordia
