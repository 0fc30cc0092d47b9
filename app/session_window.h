// The session window: a small window of its own that lists the treatments of
// a session with their lengths (editable), the total and the repeat count,
// and moves, removes, opens, saves, plays and exports them. Session and
// SessionPlan do the work; this shows them and asks the user. Every change is
// kept in the last-session file, so the session is there at the next start.
#pragma once

#include "treatment/session.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace helicordia {

class Platform;
class PlayerExport;

class SessionWindow : public QWidget {
    Q_OBJECT
public:
    SessionWindow(const TreatmentFinder &finder, Platform &platform, QWidget *parent = nullptr);

    const Session &session() const { return session_; }
    SessionPlan plan() const { return SessionPlan(session_, finder_); }
    // Reads the last session from `path` (a missing file is an empty
    // session) and keeps every later change there.
    void keepIn(const QString &path);

    // Appends a treatment with the length its player suggests, and selects it.
    void addTreatment(const FoundTreatment &found);

    // The commands (buttons and keys); rows by the list's selection.
    void moveSelected(int step);
    void removeSelected();
    void clear();
    void open();
    void save();
    void play();
    void exportSession();
    bool openFile(const QString &path);
    bool saveFile(const QString &path);

    // Where Play sends the session (the player window).
    void setPlayer(std::function<void(const SessionPlan &)> play) { play_ = std::move(play); }
    // The volume an export is written at (0..1): the player's, as set.
    void setExportVolume(std::function<float()> volume) { exportVolume_ = std::move(volume); }
    // How a file is chosen (an empty path gives up): the file dialog unless
    // a test puts its own hand in.
    using FileChooser = std::function<QString(bool forSaving, const QString &suggested)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    void setExportFileChooser(std::function<QString(const QString &suggested, bool *wav16)> chooser);
    PlayerExport &exporter() { return *exporter_; }

    QTableWidget *list() const { return list_; }
    QSpinBox *repeatBox() const { return repeat_; }
    QLabel *totalLabel() const { return total_; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void buildButtons();
    void addButton(QPushButton *&button, const char *name, std::function<void()> run);
    void retranslate();
    void addKey(const QKeySequence &key, std::function<void()> run);
    void showSession(int selectRow);
    void lengthEdited(QTableWidgetItem *item);
    void changed(int selectRow);
    int selectedRow() const;
    void report(const QString &error);
    QString fileNameForExport() const;

    const TreatmentFinder &finder_;
    Platform &platform_;
    Session session_;
    QString keptIn_;
    QString filePath_; // the session file last opened or saved
    bool keepFailed_ = false;
    bool showing_ = false;
    std::function<void(const SessionPlan &)> play_;
    std::function<float()> exportVolume_;
    FileChooser chooseFile_;
    PlayerExport *exporter_ = nullptr;

    QTableWidget *list_ = nullptr;
    QLabel *repeatCaption_ = nullptr;
    QLabel *total_ = nullptr;
    QSpinBox *repeat_ = nullptr;
    QPushButton *upButton_ = nullptr, *downButton_ = nullptr, *removeButton_ = nullptr, *clearButton_ = nullptr;
    QPushButton *openButton_ = nullptr, *saveButton_ = nullptr, *playButton_ = nullptr, *exportButton_ = nullptr;
};

} // namespace helicordia
