// A tooltip window that writes down every message it is sent, one line each,
// and answers through a real tooltip control behind it.
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

    tip::LResult SendMessage(unsigned msg, tip::WParam wParam, tip::LParam lParam) override
    {
        using namespace tip;
        QString line = Name(msg) + ' ' + QString::number(wParam);
        switch (msg) {
        case TTM_ADDTOOLA: case TTM_DELTOOLA: case TTM_UPDATETIPTEXTA: case TTM_ENUMTOOLSA: {
            const auto *r = reinterpret_cast<const ToolInfo *>(lParam);
            line += QStringLiteral(" {%1 %2 %3 %4").arg(r->cbSize).arg(r->uFlags)
                        .arg(r->hwnd ? r->hwnd->objectName() : "0")
                        .arg(r->uId ? reinterpret_cast<QWidget *>(r->uId)->objectName() : "0");
            if (msg != TTM_ENUMTOOLSA)
                line += " \"" + QString::fromLocal8Bit(r->lpszText) + '"';
            line += '}';
            break;
        }
        case TTM_SETMARGIN: {
            const auto *r = reinterpret_cast<const Rect *>(lParam);
            line += QStringLiteral(" {%1 %2 %3 %4}").arg(r->left).arg(r->top).arg(r->right).arg(r->bottom);
            break;
        }
        case TTM_SETTITLEA:
            line += " \"" + QString::fromLocal8Bit(reinterpret_cast<const char *>(lParam)) + '"';
            break;
        case TTM_SETDELAYTIME: case TTM_SETMAXTIPWIDTH:
            line += ' ' + QString::number(lParam);
            break;
        default:
            break;
        }
        log_ << line;
        if (msg == TTM_GETTOOLCOUNT && toolCount)
            return *toolCount;
        return real.SendMessage(msg, wParam, lParam);
    }

    static QString Name(unsigned msg)
    {
        using namespace tip;
        switch (msg) {
        case TTM_SETDELAYTIME: return "TTM_SETDELAYTIME";
        case TTM_ADDTOOLA: return "TTM_ADDTOOLA";
        case TTM_DELTOOLA: return "TTM_DELTOOLA";
        case TTM_UPDATETIPTEXTA: return "TTM_UPDATETIPTEXTA";
        case TTM_GETTOOLCOUNT: return "TTM_GETTOOLCOUNT";
        case TTM_ENUMTOOLSA: return "TTM_ENUMTOOLSA";
        case TTM_SETTIPBKCOLOR: return "TTM_SETTIPBKCOLOR";
        case TTM_SETTIPTEXTCOLOR: return "TTM_SETTIPTEXTCOLOR";
        case TTM_GETDELAYTIME: return "TTM_GETDELAYTIME";
        case TTM_GETTIPBKCOLOR: return "TTM_GETTIPBKCOLOR";
        case TTM_GETTIPTEXTCOLOR: return "TTM_GETTIPTEXTCOLOR";
        case TTM_SETMAXTIPWIDTH: return "TTM_SETMAXTIPWIDTH";
        case TTM_GETMAXTIPWIDTH: return "TTM_GETMAXTIPWIDTH";
        case TTM_SETMARGIN: return "TTM_SETMARGIN";
        case TTM_GETMARGIN: return "TTM_GETMARGIN";
        case TTM_SETTITLEA: return "TTM_SETTITLEA";
        default: return QString::number(msg, 16);
        }
    }

    TooltipControl real{nullptr, tip::TTS_ALWAYSTIP};
    std::optional<tip::LResult> toolCount;  // a count to report instead of the real one

private:
    QStringList &log_;
};

// A cTooltip whose window is a RecordingControl writing into `log`; `made`
// counts the windows made and `last` points at the newest.
inline cTooltip RecordingTooltip(QStringList &log, int *made = nullptr,
                                 RecordingControl **last = nullptr)
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

}  // namespace helicordia::testing
