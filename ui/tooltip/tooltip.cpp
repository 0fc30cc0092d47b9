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

std::uint32_t ColourValue(std::int32_t clr)
{
    return static_cast<std::uint32_t>(clr);
}

unsigned DelayType(std::int32_t dwType)
{
    return static_cast<unsigned>(dwType & 3);
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
    const std::size_t count = window_->GetToolCount();
    if (count > 32767)
        throw TooltipError(TooltipError::Kind::Overflow, "too many tools");
    return static_cast<std::int16_t>(count);
}

bool cTooltip::FindTool(std::uintptr_t id, ToolInfo &record, bool withText) const
{
    record.cbSize = ToolInfoSize;
    std::span<char> text;
    if (withText) {
        readBuffer_.fill('\0', textBufferLength_);
        text = std::span<char>(readBuffer_.data(), static_cast<std::size_t>(readBuffer_.size()));
    }
    const std::int16_t count = ToolCount();
    for (std::int16_t index = 0; index < count; ++index) {
        if (window_->EnumTools(static_cast<std::size_t>(index), record, text) && record.uId == id)
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
    return window_->AddTool(record, text);
}

bool cTooltip::RemoveTool(QWidget *ctrl)
{
    QWidget *tool = ControlWindow(ctrl);
    ToolInfo record;
    if (!window_ || !FindTool(WindowId(tool), record, false))
        return false;
    window_->DelTool(record);
    return true;
}

QString cTooltip::ToolText(QWidget *ctrl) const
{
    QWidget *tool = ControlWindow(ctrl);
    ToolInfo record;
    if (!window_ || !FindTool(WindowId(tool), record, true))
        return QString();
    // Up to the first NUL, and never past the buffer's end.
    const qsizetype end = readBuffer_.indexOf('\0');
    return QString::fromLocal8Bit(end < 0 ? readBuffer_ : readBuffer_.first(end));
}

void cTooltip::ToolText(QWidget *ctrl, const QString &sText)
{
    QWidget *tool = ControlWindow(ctrl);
    ToolInfo record;
    if (!window_ || !FindTool(WindowId(tool), record, false))
        return;
    const QByteArray text = sText.toLocal8Bit();
    GrowTextBuffer(text.size());
    window_->UpdateTipText(record, text);
}

std::int32_t cTooltip::BackColor() const
{
    return window_ ? static_cast<std::int32_t>(window_->GetTipBkColor()) : 0;
}

void cTooltip::BackColor(std::int32_t clr)
{
    if (window_)
        window_->SetTipBkColor(ColourValue(clr));
}

std::int32_t cTooltip::ForeColor() const
{
    return window_ ? static_cast<std::int32_t>(window_->GetTipTextColor()) : 0;
}

void cTooltip::ForeColor(std::int32_t clr)
{
    if (window_)
        window_->SetTipTextColor(ColourValue(clr));
}

std::int32_t cTooltip::DelayTime(std::int32_t dwType) const
{
    return window_ ? window_->GetDelayTime(DelayType(dwType)) : 0;
}

void cTooltip::DelayTime(std::int32_t dwType, std::int32_t dwMilliSecs)
{
    if (window_)
        window_->SetDelayTime(DelayType(dwType), dwMilliSecs);
}

std::int32_t cTooltip::Margin(std::int32_t dwType) const
{
    if (!window_)
        return 0;
    const Rect margins = window_->GetMargin();
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
    Rect margins = window_->GetMargin();
    switch (dwType) {
    case 0: margins.left = cPixels; break;
    case 1: margins.top = cPixels; break;
    case 2: margins.right = cPixels; break;
    case 3: margins.bottom = cPixels; break;
    default: break;
    }
    window_->SetMargin(margins);
}

std::int16_t cTooltip::MaxTipWidth() const
{
    if (!window_)
        return 0;
    const auto low = static_cast<std::uint16_t>(window_->GetMaxTipWidth() & 0xFFFF);
    return static_cast<std::int16_t>(low);
}

void cTooltip::MaxTipWidth(std::int16_t cx)
{
    if (window_)
        window_->SetMaxTipWidth(cx >= 1 ? cx : -1);
}

void cTooltip::SendTitle(std::int32_t icon)
{
    window_->SetTitle(icon, title_.toLocal8Bit());
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
