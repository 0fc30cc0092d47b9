#include "app/main_window_access.h"

#include "app/mainwindow.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeView>

#include <algorithm>

namespace helicordia {

namespace {

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Modifiers that change what a key means (the keypad flag does not).
Qt::KeyboardModifiers Meaningful(Qt::KeyboardModifiers modifiers)
{
    return modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

MainWindowKeys::MainWindowKeys(MainWindow &window) : QObject(&window), window_(window)
{
    window.searchBox()->installEventFilter(this);
    window.recentList()->installEventFilter(this);
}

bool MainWindowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = Meaningful(key->modifiers());
    const bool press = event->type() == QEvent::KeyPress;

    if (watched == window_.recentList()) {
        if (press && key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
            window_.recentList()->hide();
            window_.searchBox()->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return false;
    }

    if (modifiers == Qt::ControlModifier && IsEnter(key->key())) {
        // The release must not run the search: it would replace the selection.
        if (press)
            window_.playButton_Click();
        return true;
    }
    if (!press)
        return false;
    if (modifiers == Qt::ControlModifier && key->key() == Qt::Key_R) {
        window_.recentLink_Click();
        QListWidget *recent = window_.recentList();
        if (recent->currentRow() < 0 && recent->count() > 0)
            recent->setCurrentRow(0);
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
        if (modifiers != Qt::NoModifier)
            return false;
        MoveSelection(key->key());
        return true;
    default: return false;
    }
}

void MainWindowKeys::MoveSelection(int key)
{
    QTreeView *list = window_.catalogueList();
    const QAbstractItemModel *model = list->model();
    if (!model || model->rowCount() == 0)
        return;
    const int rows = model->rowCount();
    const int current = list->currentIndex().isValid() ? list->currentIndex().row() : -1;
    const int rowHeight = std::max(1, list->sizeHintForRow(0));
    const int page = std::max(1, list->viewport()->height() / rowHeight - 1);
    int next = current;
    switch (key) {
    case Qt::Key_Down: next = current + 1; break;
    case Qt::Key_Up: next = current - 1; break;
    case Qt::Key_PageDown: next = current + page; break;
    case Qt::Key_PageUp: next = current - page; break;
    default: break;
    }
    const QModelIndex index = model->index(std::clamp(next, 0, rows - 1), 0);
    list->setCurrentIndex(index);
    list->scrollTo(index);
}

void InstallMainWindowAccess(MainWindow &window)
{
    new MainWindowKeys(window);
    DescribeMainWindow(window);
}

void DescribeMainWindow(MainWindow &window)
{
    const auto describe = [&window](const char *objectName, const QString &name, const QString &description) {
        if (auto *widget = window.findChild<QWidget *>(QLatin1String(objectName))) {
            if (!name.isEmpty())
                widget->setAccessibleName(name);
            widget->setAccessibleDescription(description);
        }
    };
    window.setWindowTitle(QStringLiteral("Helicordia"));
    window.setAccessibleName(QStringLiteral("Helicordia"));
    describe("searchBox", MainWindowKeys::tr("Find health problems"),
             MainWindowKeys::tr("Filters the list as you type. Down, Up, Page Down and Page Up move the selection, "
                                "Ctrl+Enter plays it, Ctrl+R opens the recent list"));
    describe("searchButton", MainWindowKeys::tr("Search"), MainWindowKeys::tr("Runs the search again (Enter)"));
    describe("playButton", MainWindowKeys::tr("Play"), MainWindowKeys::tr("Plays the selected entry (Ctrl+Enter)"));
    describe("helpButton", MainWindowKeys::tr("Help"), MainWindowKeys::tr("Opens the help page"));
    describe("minimiseButton", MainWindowKeys::tr("Minimise"), QString());
    describe("closeButton", MainWindowKeys::tr("Exit"), MainWindowKeys::tr("Ends the program (Ctrl+Q)"));
    describe("optionsLink", QString(), MainWindowKeys::tr("Opens the options menu"));
    describe("recentLink", QString(), MainWindowKeys::tr("Opens the recent list (Ctrl+R)"));
    describe("recentList", MainWindowKeys::tr("Recent list"),
             MainWindowKeys::tr("The entries played lately, newest first. Enter picks one, Escape closes the list"));
    describe("catalogueList", MainWindowKeys::tr("Catalogue"),
             MainWindowKeys::tr("Entries marked # can be played, entries marked _ are headings or notes, "
                                "entries marked + are your own treatments. The right-click menu makes, "
                                "edits, deletes, imports and exports your own"));
    describe("matchCountLabel", QString(), MainWindowKeys::tr("Entries listed"));
}

QuitKey::QuitKey(std::function<void()> quit, QObject *parent) : QObject(parent), quit_(std::move(quit)) {}

bool QuitKey::eventFilter(QObject *watched, QEvent *event)
{
    Q_UNUSED(watched);
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Q && Meaningful(key->modifiers()) == Qt::ControlModifier && !key->isAutoRepeat()) {
            quit_();
            return true;
        }
    }
    return false;
}

} // namespace helicordia
