// A tooltip window that writes down every message it is sent, one line each
// (the message, its wParam, then what its lParam carries), and answers through
// a real tooltip control behind it.
#pragma once

#include "ui/tooltip/tooltip.h"
#include "ui/tooltip/tooltip_control.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

namespace helicordia::testing {

class RecordingControl : public tip::TooltipWindow {
public:
    explicit RecordingControl(QStringList &log) : log_(log) {}

    void SetDelayTime(unsigned type, std::int32_t ms) override
    {
        Log("TTM_SETDELAYTIME", type, QString::number(ms));
        real.SetDelayTime(type, ms);
    }
    std::int32_t GetDelayTime(unsigned type) override
    {
        Log("TTM_GETDELAYTIME", type);
        return real.GetDelayTime(type);
    }
    bool AddTool(const tip::ToolInfo &tool, QByteArrayView text) override
    {
        Log("TTM_ADDTOOLA", 0, Record(tool, text));
        return real.AddTool(tool, text);
    }
    void DelTool(const tip::ToolInfo &tool) override
    {
        Log("TTM_DELTOOLA", 0, Record(tool, ""));
        real.DelTool(tool);
    }
    void UpdateTipText(const tip::ToolInfo &tool, QByteArrayView text) override
    {
        Log("TTM_UPDATETIPTEXTA", 0, Record(tool, text));
        real.UpdateTipText(tool, text);
    }
    std::size_t GetToolCount() override
    {
        Log("TTM_GETTOOLCOUNT", 0);
        return toolCount ? *toolCount : real.GetToolCount();
    }
    bool EnumTools(std::size_t index, tip::ToolInfo &tool, std::span<char> text) override
    {
        Log("TTM_ENUMTOOLSA", index, Record(tool));
        return real.EnumTools(index, tool, text);
    }
    void SetTipBkColor(std::uint32_t colour) override
    {
        Log("TTM_SETTIPBKCOLOR", colour);
        real.SetTipBkColor(colour);
    }
    void SetTipTextColor(std::uint32_t colour) override
    {
        Log("TTM_SETTIPTEXTCOLOR", colour);
        real.SetTipTextColor(colour);
    }
    std::uint32_t GetTipBkColor() override
    {
        Log("TTM_GETTIPBKCOLOR", 0);
        return real.GetTipBkColor();
    }
    std::uint32_t GetTipTextColor() override
    {
        Log("TTM_GETTIPTEXTCOLOR", 0);
        return real.GetTipTextColor();
    }
    void SetMaxTipWidth(std::int32_t width) override
    {
        Log("TTM_SETMAXTIPWIDTH", 0, QString::number(width));
        real.SetMaxTipWidth(width);
    }
    std::int32_t GetMaxTipWidth() override
    {
        Log("TTM_GETMAXTIPWIDTH", 0);
        return real.GetMaxTipWidth();
    }
    void SetMargin(const tip::Rect &m) override
    {
        Log("TTM_SETMARGIN", 0, QStringLiteral("{%1 %2 %3 %4}").arg(m.left).arg(m.top).arg(m.right).arg(m.bottom));
        real.SetMargin(m);
    }
    tip::Rect GetMargin() override
    {
        Log("TTM_GETMARGIN", 0);
        return real.GetMargin();
    }
    void SetTitle(int icon, QByteArrayView title) override
    {
        Log("TTM_SETTITLEA", static_cast<unsigned>(icon), Quoted(title));
        real.SetTitle(icon, title);
    }

    TooltipControl real{nullptr, tip::TTS_ALWAYSTIP};
    std::optional<std::size_t> toolCount; // a count to report instead of the real one

private:
    void Log(const char *message, std::uint64_t wParam, const QString &lParam = QString())
    {
        log_ << QString::fromLatin1(message) + ' ' + QString::number(wParam) + (lParam.isNull() ? "" : ' ' + lParam);
    }
    static QString Quoted(QByteArrayView text) { return '"' + QString::fromLocal8Bit(text) + '"'; }
    static QString Name(std::uintptr_t id) { return id ? reinterpret_cast<QWidget *>(id)->objectName() : "0"; }
    // A tool record: size, flags, container and tool, then the text it carries.
    static QString Record(const tip::ToolInfo &r, std::optional<QByteArrayView> text = std::nullopt)
    {
        const QString fields =
            QStringLiteral("{%1 %2 %3 %4").arg(r.cbSize).arg(r.uFlags).arg(Name(tip::WindowId(r.hwnd)), Name(r.uId));
        return fields + (text ? ' ' + Quoted(*text) : QString()) + '}';
    }

    QStringList &log_;
};

// A cTooltip whose window is a RecordingControl writing into `log`; `made`
// counts the windows made and `last` points at the newest.
inline cTooltip RecordingTooltip(QStringList &log, int *made = nullptr, RecordingControl **last = nullptr)
{
    return cTooltip([&log, made, last](QWidget *, unsigned) -> std::unique_ptr<tip::TooltipWindow> {
        auto control = std::make_unique<RecordingControl>(log);
        if (made)
            ++*made;
        if (last)
            *last = control.get();
        return control;
    });
}

} // namespace helicordia::testing
