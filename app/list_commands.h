// The commands on the catalogue list: its context menu, and the same commands
// on keys that work in the list and in the search box alike. Each command is
// one add() call; the main window gathers every group of them in one place
// (MainWindow::buildListCommands), so that a new group is one line there.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QStyledItemDelegate>

#include <functional>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;
class QTreeView;

namespace helicordia {

class ListCommands : public QObject {
    Q_OBJECT
public:
    ListCommands(QTreeView *list, QLineEdit *searchBox, QWidget *window);

    // A command: `run` when chosen from the menu or by its key, if `enabled`
    // (given) says it can run now; the menu shows it greyed otherwise. In the
    // search box, a key the text would use itself (Delete, Ctrl+Z) goes to
    // the command only while the command is enabled, so `enabled` decides.
    // `text` is the English caption, marked QT_TRANSLATE_NOOP("helicordia::ListCommands",
    // "…"): the menu shows it in the current language.
    QAction *add(const char *objectName, const char *text, const QKeySequence &key, std::function<void()> run,
                 std::function<bool()> enabled = {});
    void addSeparator();
    // Writes the captions in the current language.
    void retranslate();

    QMenu *menu() const { return menu_; }
    // Opens the menu at `globalPos`, each command enabled as it can run now.
    void popup(const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Command {
        QAction *action;
        std::function<bool()> enabled;
        const char *text;
    };
    bool canRun(const Command &command) const { return !command.enabled || command.enabled(); }
    void listMenuRequested(const QPoint &pos);

    QTreeView *list_;
    QLineEdit *searchBox_;
    QMenu *menu_;
    std::vector<Command> commands_;
};

// Draws the user's own treatments that cannot be played in grey, and every
// other row by the list's own delegate.
class UnplayableRowsDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    UnplayableRowsDelegate(QAbstractItemDelegate *inner, QObject *parent);
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QAbstractItemDelegate *inner_;
};

} // namespace helicordia
