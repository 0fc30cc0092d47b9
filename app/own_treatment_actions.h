// What the list's commands do with the user's own treatments: make one (new,
// or a copy of a catalogue entry) in the editor, edit one, delete one and
// undo that, import a file of them, export them all. OwnTreatments does the
// work and keeps the file; this asks the user and shows the result.
#pragma once

#include <QObject>

#include <functional>

class ToneEngine;

namespace helicordia {

class ListCommands;
class MainWindow;
class OwnTreatments;
class Platform;
class TreatmentEditor;

class OwnTreatmentActions : public QObject {
    Q_OBJECT
public:
    OwnTreatmentActions(MainWindow &window, OwnTreatments &own, Platform &platform);

    // Adds the commands to the list's menu and keys.
    void addCommands(ListCommands &commands);
    // The engine "Listen" plays through; none: no Listen.
    void setToneEngine(ToneEngine *engine) { engine_ = engine; }

    // The commands, on the list's selected entry where they need one.
    void newTreatment();
    void copyToOwn();
    void editSelected();
    void deleteSelected();
    void undoDelete();
    void importTreatments();
    void exportTreatments();

    // The editor's OK: saves the treatment (`editing`: the user's entry being
    // edited, 0 for a new one), asking first when another of the user's own
    // has the name. True when it was saved: the list then shows it selected.
    bool saveTreatment(int editing, const QString &name, const QString &frequencies);
    // Adds the lines of a file in the catalogue's format once the user agreed
    // to the summary. True when something was added.
    bool importFile(const QString &path);

    // Where tests put their own hands: how a file is chosen (an empty path
    // gives up), and how the editor is run (modal by default).
    using FileChooser = std::function<QString(bool forSaving, const QString &suggested)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    using EditorRunner = std::function<void(TreatmentEditor &)>;
    void setEditorRunner(EditorRunner runner) { runEditor_ = std::move(runner); }

private:
    void openEditor(const QString &title, int editing, const QString &name, const QString &frequencies);
    bool selectedIsOwn() const;
    bool canDelete() const;
    bool canUndo() const;
    void report(const QString &error);

    MainWindow &window_;
    OwnTreatments &own_;
    Platform &platform_;
    ToneEngine *engine_ = nullptr;
    FileChooser chooseFile_;
    EditorRunner runEditor_;
    // The last delete came after the last typing in the search box, so that
    // Ctrl+Z there undoes the delete rather than the typing.
    bool deleteIsLatest_ = false;
};

} // namespace helicordia
