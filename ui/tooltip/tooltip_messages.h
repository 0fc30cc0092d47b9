// The vocabulary spoken between the tooltip object and a tooltip control:
// flags, the tool record, and the calls a control answers, one typed call for
// each tooltip message (named after it).
//
// Texts cross as 8-bit strings in the system's code page (UTF-8 on this
// platform); lengths of texts and buffers count those 8-bit units. A text
// read back is copied into a buffer given with its size, never past it.
#pragma once

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <span>

class QWidget;

namespace helicordia::tip {

// Window style: a rectangular tip shown whether or not the owner is active.
inline constexpr unsigned TTS_ALWAYSTIP = 0x01;

// Tool flags: the tool's id is its window; the control watches that window.
inline constexpr unsigned TTF_IDISHWND = 0x01;
inline constexpr unsigned TTF_SUBCLASS = 0x10;

// Delay types.
inline constexpr unsigned TTDT_AUTOMATIC = 0;
inline constexpr unsigned TTDT_RESHOW = 1;
inline constexpr unsigned TTDT_AUTOPOP = 2;
inline constexpr unsigned TTDT_INITIAL = 3;

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
// with lParam. A tool is known by its container and id together.
inline constexpr std::uint32_t ToolInfoSize = 44;

struct ToolInfo {
    std::uint32_t cbSize = 0;
    std::uint32_t uFlags = 0;
    QWidget *hwnd = nullptr; // the tool's container
    std::uintptr_t uId = 0;  // with TTF_IDISHWND: the tool's own widget
};

inline std::uintptr_t WindowId(const QWidget *widget)
{
    return reinterpret_cast<std::uintptr_t>(widget);
}

// Anything that answers tooltip messages: the tooltip control, or a test's
// stand-in that records them.
class TooltipWindow {
public:
    virtual ~TooltipWindow() = default;

    // TTM_SETDELAYTIME, TTM_GETDELAYTIME: a delay type (0..3) in
    // milliseconds; a negative time restores the type's default.
    virtual void SetDelayTime(unsigned type, std::int32_t ms) = 0;
    virtual std::int32_t GetDelayTime(unsigned type) = 0;

    // TTM_ADDTOOLA: registers a tool with its tip text; false when refused.
    virtual bool AddTool(const ToolInfo &tool, QByteArrayView text) = 0;
    // TTM_DELTOOLA: removes the tool, if it is registered.
    virtual void DelTool(const ToolInfo &tool) = 0;
    // TTM_UPDATETIPTEXTA: gives the tool a new tip text, if it is registered.
    virtual void UpdateTipText(const ToolInfo &tool, QByteArrayView text) = 0;
    // TTM_GETTOOLCOUNT
    virtual std::size_t GetToolCount() = 0;
    // TTM_ENUMTOOLSA: fills `tool` with the tool at `index` and copies its
    // tip text into `text`, cut to fit and ended by a NUL (nothing when
    // `text` is empty). False when there is no tool at `index`.
    virtual bool EnumTools(std::size_t index, ToolInfo &tool, std::span<char> text) = 0;

    // TTM_SETTIPBKCOLOR, TTM_SETTIPTEXTCOLOR, TTM_GETTIPBKCOLOR,
    // TTM_GETTIPTEXTCOLOR: colours as 0x00BBGGRR.
    virtual void SetTipBkColor(std::uint32_t colour) = 0;
    virtual void SetTipTextColor(std::uint32_t colour) = 0;
    virtual std::uint32_t GetTipBkColor() = 0;
    virtual std::uint32_t GetTipTextColor() = 0;

    // TTM_SETMAXTIPWIDTH, TTM_GETMAXTIPWIDTH: pixels; -1 is no limit, and
    // setting 0 or less removes the limit.
    virtual void SetMaxTipWidth(std::int32_t width) = 0;
    virtual std::int32_t GetMaxTipWidth() = 0;

    // TTM_SETMARGIN, TTM_GETMARGIN
    virtual void SetMargin(const Rect &margin) = 0;
    virtual Rect GetMargin() = 0;

    // TTM_SETTITLEA: the title line and its icon (TTI_*).
    virtual void SetTitle(int icon, QByteArrayView title) = 0;
};

} // namespace helicordia::tip
