#include "app/own_treatment_actions.h"

#include "app/list_commands.h"
#include "app/mainwindow.h"
#include "app/treatment_editor.h"
#include "platform/application.h"
#include "platform/platform.h"
#include "platform/user_files.h"
#include "treatment/own_import.h"
#include "treatment/own_treatments.h"
#include "treatment/treatment_finder.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTreeView>

namespace helicordia {

OwnTreatmentActions::OwnTreatmentActions(MainWindow &window, OwnTreatments &own, Platform &platform)
    : QObject(&window), window_(window), own_(own), platform_(platform)
{
    chooseFile_ = [this](bool forSaving, const QString &suggested) {
        const QString filter = tr("Text files (*.txt);;All files (*)");
        return forSaving ? QFileDialog::getSaveFileName(&window_, tr("Export my treatments"), suggested, filter)
                         : QFileDialog::getOpenFileName(&window_, tr("Import treatments"), QString(), filter);
    };
    runEditor_ = [](TreatmentEditor &editor) { editor.exec(); };
    connect(window.searchBox(), &QLineEdit::textEdited, this, [this] { deleteIsLatest_ = false; });
}

void OwnTreatmentActions::addCommands(ListCommands &commands)
{
    commands.add("newTreatmentItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "New treatment…"),
                 QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newTreatment(); });
    commands.add(
        "copyToOwnItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "Copy to my treatments…"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { copyToOwn(); },
        [this] {
            const EntryRef entry = window_.selectedEntry();
            const auto found = window_.finder().entry(entry);
            return !entry.own && found && found->playable();
        });
    commands.add(
        "editItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "Edit…"), QKeySequence(Qt::Key_F2),
        [this] { editSelected(); }, [this] { return selectedIsOwn(); });
    commands.add(
        "deleteItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "Delete"), QKeySequence(QKeySequence::Delete),
        [this] { deleteSelected(); }, [this] { return canDelete(); });
    commands.add(
        "undoDeleteItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "Undo delete"),
        QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undoDelete(); }, [this] { return canUndo(); });
    commands.addSeparator();
    commands.add("importItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "Import…"), QKeySequence(),
                 [this] { importTreatments(); });
    commands.add("exportItem", QT_TRANSLATE_NOOP("helicordia::ListCommands", "Export my treatments…"), QKeySequence(),
                 [this] { exportTreatments(); });
}

bool OwnTreatmentActions::selectedIsOwn() const
{
    const EntryRef entry = window_.selectedEntry();
    return entry.own && entry.number <= own_.count();
}

bool OwnTreatmentActions::canDelete() const
{
    // In the search box, Delete edits the text while it has something to delete.
    const QLineEdit *box = window_.searchBox();
    const bool textUsesKey = box->hasFocus() && (box->hasSelectedText() || box->cursorPosition() < box->text().size());
    return selectedIsOwn() && !textUsesKey;
}

bool OwnTreatmentActions::canUndo() const
{
    return own_.canUndoRemove() && (deleteIsLatest_ || !window_.searchBox()->hasFocus());
}

void OwnTreatmentActions::report(const QString &error)
{
    if (!error.isEmpty())
        platform_.message(ApplicationTitle, error);
}

void OwnTreatmentActions::openEditor(const QString &title, int editing, const QString &name, const QString &frequencies)
{
    TreatmentEditor editor(
        title, name, frequencies,
        [this, editing](const QString &newName, const QString &newFrequencies) {
            return saveTreatment(editing, newName, newFrequencies);
        },
        engine_, platform_, &window_);
    runEditor_(editor);
}

void OwnTreatmentActions::newTreatment()
{
    openEditor(tr("New treatment"), 0, QString(), QString());
}

void OwnTreatmentActions::copyToOwn()
{
    const auto found = window_.finder().entry(window_.selectedEntry());
    if (found && found->playable() && !found->entry.own)
        openEditor(tr("Copy to my treatments"), 0, found->name.trimmed(), found->frequencies);
}

void OwnTreatmentActions::editSelected()
{
    const EntryRef entry = window_.selectedEntry();
    if (!entry.own || entry.number > own_.count())
        return;
    const bool separated = FindEntrySeparator(own_.line(entry.number)) >= 0;
    openEditor(tr("Edit treatment %1").arg(EntryIdText(entry)), entry.number,
               separated ? own_.name(entry.number) : own_.line(entry.number).trimmed(), own_.frequencies(entry.number));
}

bool OwnTreatmentActions::saveTreatment(int editing, const QString &name, const QString &frequencies)
{
    const TreatmentCheck check(name, frequencies);
    if (!check.canSave()) {
        report(check.problems().join(QLatin1Char('\n')));
        return false;
    }
    const int other = own_.findName(name, editing);
    if (other > 0 && !platform_.question(ApplicationTitle, tr("Your treatment %1 is already named «%2». Replace it?")
                                                               .arg(EntryIdText({true, other}), name.trimmed())))
        return false;
    QString error;
    int saved = 0;
    if (other > 0) {
        error = own_.replace(other, check.line(), editing);
        saved = editing > 0 && editing < other ? other - 1 : other;
    } else if (editing > 0) {
        error = own_.replace(editing, check.line());
        saved = editing;
    } else {
        error = own_.add({check.line()});
        saved = own_.count();
    }
    report(error);
    if (error.isEmpty())
        window_.showEntry({true, saved});
    return error.isEmpty();
}

void OwnTreatmentActions::deleteSelected()
{
    const EntryRef entry = window_.selectedEntry();
    if (!entry.own)
        return;
    const int row = window_.catalogueList()->currentIndex().row();
    const QString error = own_.remove(entry.number);
    report(error);
    if (!error.isEmpty())
        return;
    deleteIsLatest_ = true;
    window_.showEntry({}, row);
}

void OwnTreatmentActions::undoDelete()
{
    int number = 0;
    const QString error = own_.undoRemove(&number);
    report(error);
    deleteIsLatest_ = false;
    if (error.isEmpty() && number > 0)
        window_.showEntry({true, number});
}

void OwnTreatmentActions::importTreatments()
{
    const QString path = chooseFile_(false, QString());
    if (!path.isEmpty())
        importFile(path);
}

bool OwnTreatmentActions::importFile(const QString &path)
{
    const FileRead file = ReadRegularFile(path, OwnTreatments::MaxFileBytes);
    if (!file.error.isEmpty() || file.missing) {
        report(file.missing ? tr("\"%1\" does not exist.").arg(QDir::toNativeSeparators(path)) : file.error);
        return false;
    }
    const ImportPlan plan(file.bytes, own_);
    if (plan.lines().isEmpty()) {
        report(plan.summary() + QStringLiteral("\n\n") + tr("Nothing was imported."));
        return false;
    }
    if (!platform_.question(ApplicationTitle, plan.summary() + QStringLiteral("\n\n") + tr("Add them?")))
        return false;
    const int first = own_.count() + 1;
    const QString error = own_.add(plan.lines());
    report(error);
    if (error.isEmpty())
        window_.showEntry({true, first});
    return error.isEmpty();
}

void OwnTreatmentActions::exportTreatments()
{
    const QString path = chooseFile_(true, QDir::home().filePath(QLatin1String(OwnTreatmentsFileName)));
    if (!path.isEmpty())
        report(WriteFileAtomically(path, own_.fileBytes()));
}

} // namespace helicordia
