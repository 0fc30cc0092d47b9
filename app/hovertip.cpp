#include "app/hovertip.h"

#include "catalogue/entrytext.h"
#include "ui/tooltip/tooltip.h"

namespace helicordia {

namespace {

template <typename Step> void Try(Step step)
{
    try {
        step();
    } catch (const TooltipError &) {
    }
}

} // namespace

void UpdateListTip(cTooltip &tooltip, QWidget *list, const QString *itemText, const QString *ownProblem)
{
    Try([&] { tooltip.AddTool(list, QString()); });
    tooltip.DelayTime(2, HoverTipAutoPop);
    tooltip.Icon(1);
    if (itemText)
        tooltip.Title(EntryTitle(*itemText));
    QString tipText = itemText ? EntryName(*itemText) : QString();
    if (itemText && ownProblem && !ownProblem->isEmpty())
        tipText += u'\n' + *ownProblem;
    const bool playable = itemText && (ownProblem ? ownProblem->isEmpty() : itemText->startsWith(u'#'));
    tooltip.BackColor(playable ? PlayableTipColour : DescriptiveTipColour);
    Try([&] { tooltip.ToolText(list, tipText); });
}

} // namespace helicordia
