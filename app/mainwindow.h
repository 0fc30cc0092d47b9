// The main window: a shaped window without a title bar that lists the
// catalogue under a search box, keeps the recent list, and hands a chosen
// entry to the player.
#pragma once

#include "catalogue/catalogue.h"
#include "links/links.h"
#include "ui/layout.h"
#include "ui/window_drag.h"

#include <QImage>
#include <QPoint>
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

namespace helicordia {

class CatalogueListModel;
class cTooltip;
class Form2;
class LinkLabel;
class PictureLabel;
class Platform;
class StartupFilesAhead;

class MainWindow : public QWidget {
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
    void Form_Unload();

    void setPlayerStart(PlayerStart start) { playerStart_ = std::move(start); }
    // Form_Load takes the background picture and the catalogue from `ahead`
    // instead of reading them itself (the program reads them while the
    // windows are built).
    void useFilesReadAhead(StartupFilesAhead *ahead) { filesAhead_ = ahead; }

    // Search and lists.
    void FillList(const QString &search);
    void ImgSearch_Click();
    void AddRecent(const QString &name);
    void List2_Click();
    void Label1_Click(int index);
    // The play action (Play image and double click).
    void Image3_Click();

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
    QLineEdit *searchBox() const { return Text1; }
    QTreeView *catalogueList() const { return lv; }
    QListWidget *recentListBox() const { return List2; }
    QLabel *matchCountLabel() const { return Label2_3; }
    QLabel *titleLabel() const { return Label4; }
    const QStringList &recentNames() const { return recent_; }
    const Catalogue &catalogue() const { return catalogue_; }
    cTooltip *listTooltip() const { return ListTooltip.get(); }
    bool romanianChecked() const;
    bool englishChecked() const;
    QString selectedItemText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void CreateListTooltip();
    void ApplyOutline();
    void Form_GotFocus();
    void Form_MouseDown(Qt::MouseButtons buttons, QPointF posInWindow);
    void Form_MouseMove(Qt::MouseButtons buttons, QPointF posInWindow);
    void lv_MouseMove(QPointF posInList);
    void HoverReset();
    void Form_Resize();
    void Image2_Click();
    void Image4_Click();
    void mnuAbout_Click();
    void mnuHelp_Click();
    void mnuExit_Click();
    void ShowRecentList();
    void SelectFirstItem();
    void Fail(const QString &text);
    bool SaveRecent();

    Platform &platform_;
    LinkLauncher links_;
    Catalogue catalogue_;
    std::unique_ptr<CatalogueListModel> model_;
    QStringList recent_;
    QString recentPath_;
    QImage background_;
    PlayerStart playerStart_;
    StartupFilesAhead *filesAhead_ = nullptr;
    std::unique_ptr<cTooltip> ListTooltip;

    WindowDrag drag_;
    bool unloading_ = false;

    QLabel *Label4 = nullptr;       // title
    PictureLabel *Image2 = nullptr; // minimise
    PictureLabel *Image4 = nullptr; // close
    QLabel *Find = nullptr;
    QLineEdit *Text1 = nullptr; // search box
    PictureLabel *ImgSearch = nullptr;
    QLabel *Label3 = nullptr;       // "Play"
    PictureLabel *Image3 = nullptr; // play image
    LinkLabel *Label1_0 = nullptr;  // "Options"
    PictureLabel *Image1 = nullptr; // help
    LinkLabel *Label1_2 = nullptr;  // "Recent"
    QLabel *Label2_2 = nullptr;
    QLabel *Label2_3 = nullptr;   // match count
    QListWidget *List2 = nullptr; // recent list
    QTreeView *lv = nullptr;      // catalogue list
    Form2 *about_ = nullptr;      // made when first shown
    QMenu *mnuOptions = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuHelp = nullptr;
    QAction *mnuOptRom = nullptr;
    QAction *mnuOptEng = nullptr;
    QAction *mnuExit = nullptr;
};

} // namespace helicordia
