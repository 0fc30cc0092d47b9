// The vocabulary spoken between the tooltip object and a tooltip control:
// message numbers, flags, the tool record, and the one call a control answers.
//
// Texts cross as 8-bit strings in the system's code page (UTF-8 on this
// platform); lengths of texts and buffers count those 8-bit units.
#pragma once

#include <cstdint>

class QWidget;

namespace helicordia::tip {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// Messages, by their published names and values.
inline constexpr unsigned TTM_SETDELAYTIME = 0x0403;
inline constexpr unsigned TTM_ADDTOOLA = 0x0404;
inline constexpr unsigned TTM_DELTOOLA = 0x0405;
inline constexpr unsigned TTM_UPDATETIPTEXTA = 0x040C;
inline constexpr unsigned TTM_GETTOOLCOUNT = 0x040D;
inline constexpr unsigned TTM_ENUMTOOLSA = 0x040E;
inline constexpr unsigned TTM_SETTIPBKCOLOR = 0x0413;
inline constexpr unsigned TTM_SETTIPTEXTCOLOR = 0x0414;
inline constexpr unsigned TTM_GETDELAYTIME = 0x0415;
inline constexpr unsigned TTM_GETTIPBKCOLOR = 0x0416;
inline constexpr unsigned TTM_GETTIPTEXTCOLOR = 0x0417;
inline constexpr unsigned TTM_SETMAXTIPWIDTH = 0x0418;
inline constexpr unsigned TTM_GETMAXTIPWIDTH = 0x0419;
inline constexpr unsigned TTM_SETMARGIN = 0x041A;
inline constexpr unsigned TTM_GETMARGIN = 0x041B;
inline constexpr unsigned TTM_SETTITLEA = 0x0420;

// Window style: a rectangular tip shown whether or not the owner is active.
inline constexpr unsigned TTS_ALWAYSTIP = 0x01;

// Tool flags: the tool's id is its window; the control watches that window.
inline constexpr unsigned TTF_IDISHWND = 0x01;
inline constexpr unsigned TTF_SUBCLASS = 0x10;

// Delay types.
inline constexpr WParam TTDT_AUTOMATIC = 0;
inline constexpr WParam TTDT_RESHOW = 1;
inline constexpr WParam TTDT_AUTOPOP = 2;
inline constexpr WParam TTDT_INITIAL = 3;

// Title icons.
inline constexpr int TTI_NONE = 0;
inline constexpr int TTI_INFO = 1;
inline constexpr int TTI_WARNING = 2;
inline constexpr int TTI_ERROR = 3;

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect &) const = default;
};

// The tool record. cbSize carries the size of the classic record that ends
// with lParam.
inline constexpr std::uint32_t ToolInfoSize = 44;

struct ToolInfo {
    std::uint32_t cbSize = 0;
    std::uint32_t uFlags = 0;
    QWidget *hwnd = nullptr; // the tool's container
    std::uintptr_t uId = 0;  // with TTF_IDISHWND: the tool's own widget
    Rect rect;
    void *hinst = nullptr;
    char *lpszText = nullptr; // NUL-terminated; a buffer to fill when reading
    LParam lParam = 0;
};

inline std::uintptr_t WindowId(const QWidget *widget)
{
    return reinterpret_cast<std::uintptr_t>(widget);
}

template <typename T> LParam AsLParam(T *pointer)
{
    return reinterpret_cast<LParam>(pointer);
}

// Anything that answers tooltip messages: the tooltip control, or a test's
// stand-in that records them.
class TooltipWindow {
public:
    virtual ~TooltipWindow() = default;
    virtual LResult SendMessage(unsigned msg, WParam wParam, LParam lParam) = 0;
};

} // namespace helicordia::tip
