// The main window: a shaped window without a title bar that lists the
// catalogue under a search box, keeps the recent list, and hands a chosen
// entry to the player.
#pragma once

#include "app/language.h"
#include "catalogue/catalogue.h"
#include "catalogue/entrytext.h"
#include "links/links.h"
#include "ui/layout.h"
#include "ui/shaped_window.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QTreeView;
class QListWidgetItem;
class ToneEngine;

namespace helicordia {

class ListCommands;
class OwnTreatmentActions;
class SessionActions;
class OwnTreatments;
class TreatmentFinder;
class CatalogueListModel;
class cTooltip;
class AboutWindow;
class LinkLabel;
class PictureLabel;
class Platform;
class StartupFilesAhead;
struct StartupFiles;

class MainWindow : public ShapedWindow {
    Q_OBJECT
public:
    // Called with the entry number, its name (untrimmed) and its frequency list.
    using PlayerStart = std::function<void(int numar, const QString &description, const QString &frecvente)>;

    explicit MainWindow(Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up. Returns false when a step failed: the user has been told and the
    // program has been ended (through the platform's endProgram).
    bool Form_Load();
    // Shutdown: settings, recent list, outline, then the end of the program.
    // Before Form_Load has finished, the program ends without writing.
    void Form_Unload();
    bool loaded() const { return loaded_; }

    void setPlayerStart(PlayerStart start) { playerStart_ = std::move(start); }
    // What "History…" (Ctrl+H) in the list's menu opens.
    void setShowHistory(std::function<void()> show) { showHistory_ = std::move(show); }
    // Form_Load takes the background picture and the catalogue from `ahead`
    // instead of reading them itself (the program reads them while the
    // windows are built).
    void useFilesReadAhead(StartupFilesAhead *ahead) { filesAhead_ = ahead; }

    // Search and lists.
    void FillList(const QString &search);
    void searchButton_Click();
    void AddRecent(const QString &name);
    void recentList_Click();
    void recentLink_Click();
    // The play action (the Play picture and a double click in the list).
    void playButton_Click();

    // The user's own treatments, listed after the catalogue (mainwindow_own.cpp).
    OwnTreatments &ownTreatments() { return *own_; }
    // Finds a treatment among the catalogue and the user's own.
    const TreatmentFinder &finder() const { return *finder_; }
    // The commands of the list's context menu and their keys.
    ListCommands &listCommands() { return *listCommands_; }
    OwnTreatmentActions &ownActions() { return *ownActions_; }
    SessionActions &sessionActions() { return *sessionActions_; }
    // The engine that "Listen" in the treatment editor plays through.
    void setToneEngine(ToneEngine &engine);
    // The entry selected in the list; an invalid one when none is.
    EntryRef selectedEntry() const;
    // Searches again and selects `entry` (the search box is emptied when
    // the entry is not listed otherwise), or else the row `row` (the last
    // one when there are fewer), or else the first.
    void showEntry(EntryRef entry, int row = -1);

    // Settings.
    void LoadSettings();
    // Returns false when the store could not be written (already reported).
    bool SaveSettings();
    // Saves settings and recent list; used before any end of the program.
    // Returns false when either could not be written (already reported).
    bool SaveAll();
    // Where the recent list is read from and written to.
    const QString &recentFilePath() const { return recentPath_; }

    // Every control of the window: place, font, and whether it is clicked.
    static Layout controls();

    // The title text: "Helicordia ver. " + major.minor.revision.
    static QString TitleText();

    // Read access for tests and the program's own wiring.
    QLineEdit *searchBox() const { return searchBox_; }
    QTreeView *catalogueList() const { return catalogueList_; }
    QListWidget *recentList() const { return recentList_; }
    QLabel *matchCountLabel() const { return matchCountLabel_; }
    QLabel *titleLabel() const { return titleLabel_; }
    const QStringList &recentNames() const { return recent_; }
    const Catalogue &catalogue() const { return catalogue_; }
    cTooltip *listTooltip() const { return listTooltip_.get(); }
    bool romanianChecked() const;
    bool englishChecked() const;
    // The Options menu's language items: the check marks move and every open
    // window switches to `language`.
    void chooseLanguage(InterfaceLanguage language);
    InterfaceLanguage language() const { return language_.current(); }
    QString selectedItemText() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void backgroundHovered() override;

private:
    // Building the controls (mainwindow_controls.cpp).
    void buildControls();
    void buildSearchRow(Layout layout);
    void buildLinks(Layout layout);
    void buildLists(Layout layout);
    void buildOptionsMenu();
    void buildListCommands();
    // Writes every text of the window in the current language (mainwindow_language.cpp).
    void retranslate();
    void LoadOwnTreatments();

    bool LoadBackground(StartupFiles *ahead);
    bool LoadCatalogueFile(StartupFiles *ahead);
    void CreateListTooltip();
    void Form_GotFocus();
    void catalogueList_MouseMove(QPointF posInList);
    void Form_Resize();
    void aboutItem_Click();
    void helpItem_Click();
    void exitItem_Click();
    void ShowRecentList();
    void SelectFirstItem();
    void Fail(const QString &text);
    bool SaveRecent();
    void LoadRecent();

    Platform &platform_;
    Language language_{platform_};
    LinkLauncher links_;
    Catalogue catalogue_;
    std::unique_ptr<CatalogueListModel> model_;
    std::unique_ptr<OwnTreatments> own_;
    std::unique_ptr<TreatmentFinder> finder_;
    ListCommands *listCommands_ = nullptr;
    OwnTreatmentActions *ownActions_ = nullptr;
    SessionActions *sessionActions_ = nullptr;
    QStringList recent_;
    QString recentPath_;
    PlayerStart playerStart_;
    std::function<void()> showHistory_;
    StartupFilesAhead *filesAhead_ = nullptr;
    std::unique_ptr<cTooltip> listTooltip_;
    bool unloading_ = false;
    bool loaded_ = false; // Form_Load has finished

    QLabel *titleLabel_ = nullptr;
    QLabel *searchCaption_ = nullptr; // "Find health problems:"
    QLineEdit *searchBox_ = nullptr;
    PictureLabel *searchButton_ = nullptr;
    QLabel *playCaption_ = nullptr; // "Play"
    PictureLabel *playButton_ = nullptr;
    LinkLabel *optionsLink_ = nullptr;
    PictureLabel *helpButton_ = nullptr;
    LinkLabel *recentLink_ = nullptr;
    QLabel *blankLabel_ = nullptr; // always empty
    QLabel *matchCountLabel_ = nullptr;
    QTreeView *catalogueList_ = nullptr;
    QListWidget *recentList_ = nullptr; // shown over the catalogue list on demand
    AboutWindow *about_ = nullptr;      // made when first shown
    QMenu *optionsMenu_ = nullptr;
    QAction *aboutItem_ = nullptr;
    QAction *helpItem_ = nullptr;
    QAction *romanianItem_ = nullptr;
    QAction *englishItem_ = nullptr;
    QAction *exitItem_ = nullptr;
};

} // namespace helicordia
