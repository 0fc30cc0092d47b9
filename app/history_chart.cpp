#include "app/history_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace helicordia {

HistoryChart::HistoryChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("historyChart"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setRecords({}, QDate::currentDate());
}

void HistoryChart::setRecords(const std::vector<HistoryRecord> &records, QDate today)
{
    today_ = today;
    days_ = History::heardPerDay(records, today, Days);
    update();
}

QColor HistoryChart::endingColour(TreatmentEnding ending)
{
    switch (ending) {
    case TreatmentEnding::Completed: return QColor(46, 139, 87);
    case TreatmentEnding::Stopped: return QColor(70, 110, 190);
    case TreatmentEnding::ProgramEnded: return QColor(150, 150, 160);
    case TreatmentEnding::Interrupted: return QColor(200, 70, 55);
    }
    return Qt::black;
}

// The top of the scale: the largest day rounded up to a step that reads well.
int HistoryChart::scaleMinutes() const
{
    int most = 0;
    for (const History::DayTotals &day : days_) {
        int sum = 0;
        for (int seconds : day)
            sum += seconds;
        most = std::max(most, (sum + 59) / 60);
    }
    // Each a multiple of 4, so that the four grid steps are whole minutes.
    for (int step : {4, 8, 20, 40, 60, 120, 180, 240, 360, 480, 720, 1440})
        if (most <= step)
            return step;
    return (most + 1439) / 1440 * 1440;
}

void HistoryChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    painter.setPen(palette().text().color());
    painter.drawText(QRect(8, 4, width() - 16, line), Qt::AlignLeft | Qt::AlignVCenter,
                     tr("Minutes heard per day, last %1 days").arg(Days));
    drawLegend(painter, QRect(8, 4, width() - 16, line));

    const int top = 4 + line + line / 2;
    const int scale = scaleMinutes();
    const int labelWidth = metrics.horizontalAdvance(QString::number(scale)) + 8;
    const QRect plot(8 + labelWidth, top, width() - 16 - labelWidth, height() - top - line - 8);
    if (plot.width() < Days || plot.height() < 10)
        return;
    // Grid lines with their minutes: four steps.
    QColor grid = palette().text().color();
    grid.setAlpha(50);
    for (int i = 0; i <= 4; ++i) {
        const double y = plot.bottom() - plot.height() * i / 4.0;
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(palette().text().color());
        painter.drawText(QRectF(0, y - line / 2.0, plot.left() - 4, line), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(scale * i / 4));
    }
    const double slot = double(plot.width()) / Days;
    const double barWidth = std::max(1.0, slot * 0.7);
    for (int d = 0; d < int(days_.size()); ++d) {
        const double x = plot.left() + slot * d + (slot - barWidth) / 2;
        double y = plot.bottom() + 1;
        for (int e = 0; e < TreatmentEndingCount; ++e) {
            const double h = days_[std::size_t(d)][std::size_t(e)] / 60.0 / scale * plot.height();
            if (h <= 0)
                continue;
            painter.fillRect(QRectF(x, y - h, barWidth, h), endingColour(TreatmentEnding(e)));
            y -= h;
        }
        const QDate date = today_.addDays(d + 1 - Days);
        if ((Days - 1 - d) % 7 == 0) {
            painter.setPen(palette().text().color());
            painter.drawText(QRectF(x + barWidth / 2 - 40, plot.bottom() + 2, 80, line), Qt::AlignCenter,
                             QLocale().toString(date, QStringLiteral("d MMM")));
        }
    }
}

void HistoryChart::drawLegend(QPainter &painter, const QRect &area) const
{
    const QFontMetrics metrics(font());
    const int box = metrics.ascent() - 2;
    int x = area.right();
    for (int e = TreatmentEndingCount - 1; e >= 0; --e) {
        const QString text = History::endingText(TreatmentEnding(e));
        x -= metrics.horizontalAdvance(text);
        painter.setPen(palette().text().color());
        painter.drawText(QRect(x, area.top(), metrics.horizontalAdvance(text) + 2, area.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
        x -= box + 4;
        painter.fillRect(QRect(x, area.center().y() - box / 2, box, box), endingColour(TreatmentEnding(e)));
        x -= 14;
    }
}

} // namespace helicordia
