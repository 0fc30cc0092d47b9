// A tooltip window that writes down every message it is sent, one line each,
// and answers through a real tooltip control behind it.
#pragma once

#include "ui/tooltip/tooltip.h"
#include "ui/tooltip/tooltip_control.h"

#include <QStringList>
#include <QWidget>

#include <iterator>
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
        case TTM_ADDTOOLA:
        case TTM_DELTOOLA:
        case TTM_UPDATETIPTEXTA:
        case TTM_ENUMTOOLSA: {
            const auto *r = reinterpret_cast<const ToolInfo *>(lParam);
            line += QStringLiteral(" {%1 %2 %3 %4")
                        .arg(r->cbSize)
                        .arg(r->uFlags)
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
        case TTM_SETTITLEA: line += " \"" + QString::fromLocal8Bit(reinterpret_cast<const char *>(lParam)) + '"'; break;
        case TTM_SETDELAYTIME:
        case TTM_SETMAXTIPWIDTH: line += ' ' + QString::number(lParam); break;
        default: break;
        }
        log_ << line;
        if (msg == TTM_GETTOOLCOUNT && toolCount)
            return *toolCount;
        return real.SendMessage(msg, wParam, lParam);
    }

    static QString Name(unsigned msg)
    {
        static const char *const names[] = {"TTM_SETDELAYTIME",
                                            "TTM_ADDTOOLA",
                                            "TTM_DELTOOLA",
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            "TTM_UPDATETIPTEXTA",
                                            "TTM_GETTOOLCOUNT",
                                            "TTM_ENUMTOOLSA",
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            "TTM_SETTIPBKCOLOR",
                                            "TTM_SETTIPTEXTCOLOR",
                                            "TTM_GETDELAYTIME",
                                            "TTM_GETTIPBKCOLOR",
                                            "TTM_GETTIPTEXTCOLOR",
                                            "TTM_SETMAXTIPWIDTH",
                                            "TTM_GETMAXTIPWIDTH",
                                            "TTM_SETMARGIN",
                                            "TTM_GETMARGIN",
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            "TTM_SETTITLEA"};
        const unsigned i = msg - tip::TTM_SETDELAYTIME;
        return i < std::size(names) && names[i] ? names[i] : QString::number(msg, 16);
    }

    TooltipControl real{nullptr, tip::TTS_ALWAYSTIP};
    std::optional<tip::LResult> toolCount; // a count to report instead of the real one

private:
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
