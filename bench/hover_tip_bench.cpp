// What one mouse move over the catalogue list costs in the main window with
// every entry listed: the list's own handling, the window's hover handler
// and the tooltip control, together. Each move lands on another item, so the
// tip's title, colour and text change every time.
//
//   ListMouseMove/0  the tip is not showing (the pointer is still travelling)
//   ListMouseMove/1  the tip is showing and takes each new entry in place
//   TipRelayout      the layout of a shown tip for a new entry; it waits for
//                    the event loop and runs once per entry, not per move
//
// Run with --benchmark_repetitions=N --benchmark_report_aggregates_only=true
// and read the median lines.
#include "app/mainwindow.h"
#include "catalogue/cataloguelistmodel.h"
#include "platform/platform.h"
#include "ui/tooltip/tooltip.h"
#include "ui/tooltip/tooltip_control.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

using namespace helicordia;

namespace {

// Shipped data from the source tree; settings and recent list in a scratch folder.
class BenchPlatform : public Platform {
public:
    QTemporaryDir scratch;
    void message(const QString &, const QString &text) override { qFatal("%s", qPrintable(text)); }
    void endProgram(int) override {}
    QString programFolder() const override { return scratch.path(); }
    QString installedDataFolder() const override
    {
        return QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../data");
    }
    std::unique_ptr<QSettings> openSettings() override
    {
        return std::make_unique<QSettings>(scratch.filePath("settings.ini"), QSettings::IniFormat);
    }
    bool openUrl(const QUrl &) override { return true; }
};

struct Window {
    BenchPlatform platform;
    MainWindow window{platform};
    QTreeView *list = nullptr;
    TooltipControl *control = nullptr;
    int rowHeight = 0;
    int rows = 0;

    Window()
    {
        if (!window.Form_Load())
            qFatal("start-up failed");
        window.show();
        list = window.catalogueList();
        control = dynamic_cast<TooltipControl *>(window.listTooltip()->hwnd());
        rowHeight = list->visualRect(list->model()->index(0, 0)).height();
        rows = list->viewport()->height() / rowHeight;
        if (list->model()->rowCount() != window.catalogue().catalogueLineCount())
            qFatal("the list does not hold the whole catalogue");
    }

    void moveTo(int row)
    {
        const QPointF at(60, row * rowHeight + rowHeight / 2);
        QMouseEvent event(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &event);
    }
};

void ListMouseMove(benchmark::State &state)
{
    Window w;
    const bool shown = state.range(0) != 0;
    w.moveTo(0);
    w.moveTo(1);
    if (shown)
        w.control->showTimerElapsed();
    int row = 2;
    for (auto _ : state) {
        w.moveTo(row);
        row = (row + 1) % w.rows;
    }
    if (w.control->tipShown() != shown)
        state.SkipWithError("the tip changed state");
}
BENCHMARK(ListMouseMove)->Arg(0)->Arg(1);

void TipRelayout(benchmark::State &state)
{
    Window w;
    w.moveTo(0);
    w.moveTo(1);
    w.control->showTimerElapsed();
    int row = 2;
    for (auto _ : state) {
        w.moveTo(row);
        w.control->relayoutTimerElapsed();
        row = (row + 1) % w.rows;
    }
}
BENCHMARK(TipRelayout);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
