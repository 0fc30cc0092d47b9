// The picture above the history: the minutes heard on each of the last 30
// days as bars, each bar split by how the treatments ended. Drawn with the
// window's own painting at whatever size and scale factor the window has.
#pragma once

#include "treatment/history.h"

#include <QColor>
#include <QDate>
#include <QWidget>

#include <vector>

namespace helicordia {

class HistoryChart : public QWidget {
    Q_OBJECT
public:
    static constexpr int Days = 30;

    explicit HistoryChart(QWidget *parent = nullptr);

    void setRecords(const std::vector<HistoryRecord> &records, QDate today);
    // The seconds heard on each day shown, the first the earliest.
    const std::vector<History::DayTotals> &days() const { return days_; }

    static QColor endingColour(TreatmentEnding ending);

    QSize sizeHint() const override { return {720, 220}; }
    QSize minimumSizeHint() const override { return {360, 150}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawLegend(QPainter &painter, const QRect &area) const;
    int scaleMinutes() const;

    std::vector<History::DayTotals> days_;
    QDate today_;
};

} // namespace helicordia
