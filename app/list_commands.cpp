#include "app/list_commands.h"

#include "catalogue/cataloguelistmodel.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTreeView>

namespace helicordia {

ListCommands::ListCommands(QTreeView *list, QLineEdit *searchBox, QWidget *window)
    : QObject(window), list_(list), searchBox_(searchBox), menu_(new QMenu(window))
{
    menu_->setObjectName(QStringLiteral("listMenu"));
    menu_->setAccessibleName(tr("List commands"));
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &ListCommands::listMenuRequested);
    // Every command is enabled while the menu is closed, so that its key can
    // reach it; its own check decides then.
    connect(menu_, &QMenu::aboutToHide, this, [this] {
        for (const Command &command : commands_)
            command.action->setEnabled(true);
    });
    list_->installEventFilter(this);
    searchBox_->installEventFilter(this);
}

QAction *ListCommands::add(const char *objectName, const char *text, const QKeySequence &key, std::function<void()> run,
                           std::function<bool()> enabled)
{
    auto *action = new QAction(tr(text), this);
    action->setObjectName(QLatin1String(objectName));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    list_->addAction(action);
    searchBox_->addAction(action);
    menu_->addAction(action);
    commands_.push_back({action, enabled, text});
    connect(action, &QAction::triggered, this, [this, run = std::move(run), index = commands_.size() - 1] {
        if (canRun(commands_[index]))
            run();
    });
    return action;
}

void ListCommands::addSeparator()
{
    menu_->addSeparator();
}

void ListCommands::retranslate()
{
    menu_->setAccessibleName(tr("List commands"));
    for (const Command &command : commands_)
        command.action->setText(tr(command.text));
}

void ListCommands::popup(const QPoint &globalPos)
{
    for (const Command &command : commands_)
        command.action->setEnabled(canRun(command));
    menu_->popup(globalPos);
}

void ListCommands::listMenuRequested(const QPoint &pos)
{
    // The menu is about the row under the pointer.
    const QModelIndex under = list_->indexAt(pos);
    if (under.isValid())
        list_->setCurrentIndex(under);
    popup(list_->viewport()->mapToGlobal(pos));
}

bool ListCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride || (watched != searchBox_ && watched != list_))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence pressed(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    for (const Command &command : commands_) {
        if (command.action->shortcut() != pressed || !canRun(command))
            continue;
        // Not claimed by the search box's editing: the command's key runs it.
        event->ignore();
        return true;
    }
    return false;
}

UnplayableRowsDelegate::UnplayableRowsDelegate(QAbstractItemDelegate *inner, QObject *parent)
    : QStyledItemDelegate(parent), inner_(inner)
{
}

void UnplayableRowsDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.startsWith(QChar(OwnEntryMarker)) || index.data(CatalogueListModel::PlayableRole).toBool()) {
        inner_->paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem grey(option);
    grey.palette.setColor(QPalette::Text, QColor(128, 128, 128));
    QStyledItemDelegate::paint(painter, grey, index);
}

QSize UnplayableRowsDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return inner_->sizeHint(option, index);
}

} // namespace helicordia
