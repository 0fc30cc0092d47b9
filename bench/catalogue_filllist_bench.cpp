// How long one keystroke in the search box takes: FillList over the catalogue
// plus the rebuild of the list view attached to the model (its item layout
// once, as the window does it, and the selection of the first item). The
// *_Paint cases add a synchronous repaint of the visible rows. The list is the
// main window's: same place, font, settings and item delegate. Each case
// repeats one search, so the rows drawn are those of the last paint, except
// *_Paint_Typing: the searches typed letter by letter, each listing other rows
// first, over and over; and *_Paint_Typing_Fresh: the same with a list that has
// drawn none of the rows before (the cost of rows never shown yet).
//
// Run with --benchmark_repetitions=N --benchmark_report_aggregates_only=true
// and read the median lines.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "ui/layout.h"
#include "ui/list_view.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

using namespace helicordia;

namespace {

QString ShippedCataloguePath()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("db.db");
    if (QFileInfo::exists(beside))
        return beside;
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../data/db.db");
}

const Catalogue &ShippedCatalogue()
{
    static const std::unique_ptr<Catalogue> cat = [] {
        auto c = std::make_unique<Catalogue>();
        c->setCatalogueLineCount(Catalogue::ShippedLineCount);
        QString error;
        if (!c->LoadCatalogue(ShippedCataloguePath(), &error))
            qFatal("%s", qPrintable(error));
        return c;
    }();
    return *cat;
}

// A full table of 28300 lines: the shipped lines over and over, each copy
// numbered so that no two lines are equal.
const Catalogue &LargeCatalogue()
{
    static const std::unique_ptr<Catalogue> cat = [] {
        const Catalogue &shipped = ShippedCatalogue();
        auto c = std::make_unique<Catalogue>();
        c->setCatalogueLineCount(Catalogue::MaxEntries);
        for (int n = 1; n <= Catalogue::MaxEntries; ++n) {
            const int source = (n - 1) % Catalogue::ShippedLineCount + 1;
            const int copy = (n - 1) / Catalogue::ShippedLineCount + 1;
            QString line = shipped.entry(source);
            const qsizetype sep = line.indexOf(QStringLiteral(" - "));
            line.insert(sep >= 0 ? sep : line.size(), QStringLiteral(" copy %1").arg(copy));
            c->setEntry(n, line);
        }
        return c;
    }();
    return *cat;
}

// The list as the main window shows it: the window's own place, font, view
// settings and item delegate, and the search box beside it holding the focus,
// as it does while one types.
struct ListUnderTest {
    explicit ListUnderTest(const Catalogue &cat) : model(cat), view(&window), searchBox(&window)
    {
        Place(&searchBox, MainWindow::controls(), "searchBox");
        Place(&view, MainWindow::controls(), "catalogueList");
        SetUpListView(&view);
        view.setModel(&model);
        window.resize(view.geometry().right() + 10, view.geometry().bottom() + 10);
        window.show();
        window.activateWindow();
        searchBox.setFocus();
        QCoreApplication::processEvents();
    }

    // As the window does on a keystroke, and the repaint the event loop
    // would deliver next. Not inlined, so that a profiler can single one
    // keystroke out.
    [[gnu::noinline]] void search(const QString &text, bool paint)
    {
        model.FillList(text);
        if (model.rowCount() > 0) {
            view.setCurrentIndex(model.index(0, 0));
            view.scrollToTop();
        }
        if (paint)
            QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
    }

    // A new item delegate, which has drawn nothing yet.
    void forgetDrawnRows()
    {
        QAbstractItemDelegate *old = view.itemDelegate();
        view.setItemDelegate(new CachedTextDelegate(&view));
        delete old;
    }

    CatalogueListModel model;
    QWidget window;
    QTreeView view;
    QLineEdit searchBox;
};

void RunSearch(benchmark::State &state, const Catalogue &cat, const QString &text, bool paint)
{
    ListUnderTest list(cat);
    list.search(text, true); // warm up fonts and caches
    for (auto _ : state)
        list.search(text, paint);
    QCoreApplication::processEvents();
    state.counters["listed"] = list.model.rowCount();
    state.counters["matches"] = list.model.matchCount();
}

void RunTyping(benchmark::State &state, const Catalogue &cat, const char *word, bool fresh)
{
    ListUnderTest list(cat);
    QStringList typed;
    for (int n = 1; n <= static_cast<int>(qstrlen(word)); ++n)
        typed << QString::fromUtf8(word, n);
    qsizetype next = 0;
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            list.forgetDrawnRows();
            state.ResumeTiming();
        }
        list.search(typed[next++ % typed.size()], true);
    }
}

void BM_FillList_Shipped1553_Paint_Typing(benchmark::State &state, const char *word)
{
    RunTyping(state, ShippedCatalogue(), word, false);
}

void BM_FillList_Shipped1553_Paint_Typing_Fresh(benchmark::State &state, const char *word)
{
    RunTyping(state, ShippedCatalogue(), word, true);
}

void BM_FillList_Large28300_Paint_Typing(benchmark::State &state, const char *word)
{
    RunTyping(state, LargeCatalogue(), word, false);
}

void BM_FillList_Shipped1553(benchmark::State &state, const char *text)
{
    RunSearch(state, ShippedCatalogue(), QString::fromUtf8(text), false);
}

void BM_FillList_Shipped1553_Paint(benchmark::State &state, const char *text)
{
    RunSearch(state, ShippedCatalogue(), QString::fromUtf8(text), true);
}

void BM_FillList_Large28300(benchmark::State &state, const char *text)
{
    RunSearch(state, LargeCatalogue(), QString::fromUtf8(text), false);
}

void BM_FillList_Large28300_Paint(benchmark::State &state, const char *text)
{
    RunSearch(state, LargeCatalogue(), QString::fromUtf8(text), true);
}

// Model alone, without a view, to tell the search from the view's share.
void BM_FillList_Large28300_ModelOnly(benchmark::State &state, const char *text)
{
    CatalogueListModel model(LargeCatalogue());
    const QString search = QString::fromUtf8(text);
    for (auto _ : state)
        model.FillList(search);
    state.counters["listed"] = model.rowCount();
}

} // namespace

#define FILLLIST_CASE(fn, name, text) BENCHMARK_CAPTURE(fn, name, text)->Unit(benchmark::kMicrosecond)

FILLLIST_CASE(BM_FillList_Shipped1553, empty, "");
FILLLIST_CASE(BM_FillList_Shipped1553, a, "a");
FILLLIST_CASE(BM_FillList_Shipped1553, 528, "528");
FILLLIST_CASE(BM_FillList_Shipped1553, major, "Major");
FILLLIST_CASE(BM_FillList_Shipped1553, nomatch, "xyzzy");
FILLLIST_CASE(BM_FillList_Shipped1553_Paint, empty, "");
FILLLIST_CASE(BM_FillList_Shipped1553_Paint, 528, "528");
FILLLIST_CASE(BM_FillList_Shipped1553_Paint_Typing, octave, "octave");
FILLLIST_CASE(BM_FillList_Shipped1553_Paint_Typing_Fresh, octave, "octave");
FILLLIST_CASE(BM_FillList_Large28300, a, "a");
FILLLIST_CASE(BM_FillList_Large28300, empty, "");
FILLLIST_CASE(BM_FillList_Large28300, 528, "528");
FILLLIST_CASE(BM_FillList_Large28300_Paint, a, "a");
FILLLIST_CASE(BM_FillList_Large28300_Paint, 528, "528");
FILLLIST_CASE(BM_FillList_Large28300_Paint_Typing, octave, "octave");
FILLLIST_CASE(BM_FillList_Large28300_ModelOnly, a, "a");
FILLLIST_CASE(BM_FillList_Large28300_ModelOnly, 528, "528");

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
