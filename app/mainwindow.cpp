#include "app/mainwindow.h"

#include "app/background.h"
#include "app/hovertip.h"
#include "app/main_window_access.h"
#include "app/recentfile.h"
#include "app/recentlocation.h"
#include "app/settings.h"
#include "app/startupfiles.h"
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "catalogue/entrytext.h"
#include "catalogue/recentlist.h"
#include "links/maker.h"
#include "platform/application.h"
#include "platform/platform.h"
#include "treatment/own_treatments.h"
#include "treatment/treatment_finder.h"
#include "ui/about/about_window.h"
#include "ui/link_label.h"
#include "ui/picture_label.h"
#include "ui/tooltip/tooltip.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTreeView>
#include <QUrl>
#include <QVersionNumber>

#include <optional>

namespace helicordia {

namespace {

// The client area is 9345 x 6795 twips (623 x 453 pixels). Below it lies a
// band of frame, so that the window holds its whole outline: the outline's
// bottom corners reach down to pixel row 456.
constexpr int WindowWidth = 623;
constexpr int WindowHeight = 457;

// The outline, in window pixels, filled by the alternate rule.
QPolygon Outline()
{
    return QPolygon({{15, 2},    {608, 2},   {612, 3},   {616, 6},   {618, 9},  {619, 15}, {619, 445},
                     {617, 451}, {615, 453}, {612, 455}, {610, 457}, {15, 457}, {9, 455},  {6, 453},
                     {3, 451},   {2, 445},   {2, 15},    {3, 12},    {6, 7},    {9, 3},    {15, 1}});
}

// The band across the top, above the first row of controls, by which the
// window is dragged; inside the outline.
const QRect TitleBand(15, 2, 594, 34);

} // namespace

MainWindow::MainWindow(Platform &platform, QWidget *parent)
    : ShapedWindow(Outline(), parent), platform_(platform), links_(platform)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(WindowWidth, WindowHeight);
    setMouseTracking(true);
    setBackgroundColour(QColor(214, 222, 232));
    buildControls();
    buildListCommands();
    InstallMainWindowAccess(*this);
}

MainWindow::~MainWindow() = default;

QString MainWindow::TitleText()
{
    const QVersionNumber v = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    return ApplicationTitle +
           QStringLiteral(" ver. %1.%2.%3").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion());
}

void MainWindow::Fail(const QString &text)
{
    platform_.message(ApplicationTitle, text);
    platform_.endProgram(1);
}

bool MainWindow::Form_Load()
{
    // Let pending window messages run.
    QCoreApplication::processEvents();

    // The picture and the catalogue, if they were read ahead.
    std::optional<StartupFiles> ahead;
    if (filesAhead_ && !filesAhead_->taken())
        ahead = filesAhead_->take();
    StartupFiles *readAhead = ahead ? &*ahead : nullptr;

    // Background picture.
    if (!LoadBackground(readAhead))
        return false;

    // Recent list.
    LoadRecent();

    // Number of catalogue lines.
    catalogue_.setCatalogueLineCount(Catalogue::ShippedLineCount);

    // Outline.
    applyOutline();

    // Settings.
    LoadSettings();

    // Title.
    titleLabel_->setText(TitleText());

    // Hover tips over the list.
    CreateListTooltip();

    // The passive labels start empty.
    blankLabel_->setText(QString());
    matchCountLabel_->setText(QString());

    // Catalogue.
    if (!LoadCatalogueFile(readAhead))
        return false;
    model_ = std::make_unique<CatalogueListModel>(catalogue_);
    catalogueList_->setModel(model_.get());
    LoadOwnTreatments();

    // Every entry.
    FillList(QString());
    loaded_ = true;
    return true;
}

void MainWindow::LoadRecent()
{
    recentPath_ = RecentFilePath(platform_);
    QString skipped;
    recent_ = LoadRecentList(recentPath_, &skipped);
    if (!skipped.isEmpty())
        platform_.message(ApplicationTitle, tr("%1\n\nThe recent list starts empty.").arg(skipped));
    recentList_->clear();
    recentList_->addItems(recent_);
}

bool MainWindow::LoadBackground(StartupFiles *ahead)
{
    QImage picture;
    QString error;
    const bool read =
        ahead ? ahead->pictureRead : LoadBackgroundPicture(platform_.dataFile(BackgroundFileName), picture, &error);
    if (ahead) {
        picture = std::move(ahead->picture);
        error = ahead->pictureError;
    }
    if (!read) {
        Fail(error);
        return false;
    }
    setBackground(std::move(picture));
    return true;
}

bool MainWindow::LoadCatalogueFile(StartupFiles *ahead)
{
    QString error;
    bool read = false;
    if (ahead) {
        read = ahead->catalogueRead;
        error = ahead->catalogueError;
        if (read)
            catalogue_ = std::move(ahead->catalogue);
    } else {
        read = catalogue_.LoadCatalogue(platform_.dataFile(CatalogueFileName), &error);
    }
    if (!read)
        Fail(tr("Helicordia cannot start.\n\n%1").arg(error));
    return read;
}

void MainWindow::CreateListTooltip()
{
    if (!listTooltip_)
        listTooltip_ = std::make_unique<cTooltip>();
    listTooltip_->create(this);
    listTooltip_->MaxTipWidth(300);
    listTooltip_->DelayTime(2, 5000);
}

void MainWindow::LoadSettings()
{
    auto store = platform_.openSettings();
    if (!store) {
        if (const QString refusal = platform_.settingsRefusal(); !refusal.isEmpty())
            platform_.message(ApplicationTitle,
                              tr("%1\n\nThe window opens where it opens the first time.").arg(refusal));
        return;
    }
    const LoadedSettings loaded = ReadSettings(*store);
    // The stored choice sets the language before the window first shows.
    if (loaded.romanianChecked)
        chooseLanguage(*loaded.romanianChecked ? InterfaceLanguage::Romanian : InterfaceLanguage::English);
    QPoint position = pos();
    if (loaded.leftTwips)
        position.setX(TwipsToPixels(*loaded.leftTwips));
    if (loaded.topTwips)
        position.setY(TwipsToPixels(*loaded.topTwips));
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->geometry());
    move(ReachablePosition(position, TitleBand, screens));
}

bool MainWindow::SaveSettings()
{
    if (isMinimized() || isMaximized())
        showNormal();
    SettingsToSave values;
    values.romanianChecked = romanianItem_->isChecked();
    values.leftTwips = x() * TwipsPerPixel;
    values.topTwips = y() * TwipsPerPixel;
    values.widthTwips = width() * TwipsPerPixel;
    values.heightTwips = height() * TwipsPerPixel;
    QString error = tr("The settings store could not be opened.");
    auto store = platform_.openSettings();
    if (store && WriteSettings(*store, values, &error))
        return true;
    if (!store && !platform_.settingsRefusal().isEmpty())
        error = platform_.settingsRefusal();
    platform_.message(ApplicationTitle, tr("The window position and options could not be saved.\n\n%1").arg(error));
    return false;
}

bool MainWindow::SaveRecent()
{
    QString why;
    if (SaveRecentList(recentPath_, recent_, &why))
        return true;
    platform_.message(ApplicationTitle, tr("The recent list could not be saved.\n\n%1").arg(why));
    return false;
}

bool MainWindow::SaveAll()
{
    const bool settingsSaved = SaveSettings();
    const bool recentSaved = SaveRecent();
    return settingsSaved && recentSaved;
}

void MainWindow::Form_Unload()
{
    if (unloading_)
        return;
    unloading_ = true;
    // Before the start-up has finished, the settings and the recent list in
    // memory are not (all) the stored ones: nothing is written over them.
    if (!loaded_) {
        platform_.endProgram(0);
        return;
    }
    // A failed save is reported; the other one still runs.
    const bool saved = SaveAll();
    removeOutline();
    platform_.endProgram(saved ? 0 : 1);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

bool MainWindow::romanianChecked() const
{
    return romanianItem_->isChecked();
}

bool MainWindow::englishChecked() const
{
    return englishItem_->isChecked();
}

// ---- search and lists ----

void MainWindow::FillList(const QString &search)
{
    if (!model_)
        return;
    matchCountLabel_->setText(QString());
    model_->FillList(search);
    matchCountLabel_->setText(model_->matchCountText());
    SelectFirstItem();
}

void MainWindow::SelectFirstItem()
{
    if (!model_ || model_->rowCount() == 0)
        return;
    const QModelIndex first = model_->index(0, 0);
    catalogueList_->setCurrentIndex(first);
    catalogueList_->scrollToTop();
}

void MainWindow::searchButton_Click()
{
    FillList(searchBox_->text().trimmed());
    searchBox_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::AddRecent(const QString &name)
{
    helicordia::AddRecent(recent_, name);
    recentList_->clear();
    recentList_->addItems(recent_);
}

void MainWindow::recentList_Click()
{
    recentList_->hide();
    QListWidgetItem *item = recentList_->currentItem();
    if (item)
        searchBox_->setText(item->text());
    searchButton_Click();
    // Hiding the list may already have handed the focus to the search box, so
    // select its text here: the next keystroke replaces the chosen name.
    searchBox_->selectAll();
}

void MainWindow::recentLink_Click()
{
    ShowRecentList();
}

void MainWindow::ShowRecentList()
{
    recentList_->show();
    recentList_->raise();
    recentList_->setFocus(Qt::OtherFocusReason);
}

QString MainWindow::selectedItemText() const
{
    const QModelIndex current = catalogueList_->currentIndex();
    if (!model_ || !current.isValid())
        return QString();
    return model_->itemText(current.row());
}

void MainWindow::playButton_Click()
{
    const std::optional<FoundTreatment> found = finder_->entry(selectedEntry());
    if (!found)
        return; // nothing listed, nothing to play
    if (!found->playable()) {
        platform_.message(ApplicationTitle, found->refusal);
        return;
    }
    AddRecent(found->name.trimmed());
    if (playerStart_)
        playerStart_(PlayerNumber(found->entry), found->name, found->frequencies);
}

// ---- window behaviour ----

void MainWindow::Form_GotFocus()
{
    searchBox_->setFocus(Qt::ActiveWindowFocusReason);
    if (!searchBox_->text().isEmpty())
        searchBox_->selectAll();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !recentList_->isVisible())
        Form_GotFocus();
    // Coming back from the taskbar counts as a resize.
    if (event->type() == QEvent::WindowStateChange &&
        (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized) && !isMinimized())
        Form_Resize();
    ShapedWindow::changeEvent(event);
}

// Moving over the window's background takes the hover looks away.
void MainWindow::backgroundHovered()
{
    optionsLink_->showNormal();
    recentLink_->showNormal();
    for (PictureLabel *picture : {searchButton_, helpButton_, playButton_})
        if (picture->frameShape() != QFrame::NoFrame)
            picture->setFrameShape(QFrame::NoFrame);
}

void MainWindow::Form_Resize()
{
    // The list's one column is as wide as the list's visible area, so that no
    // sideways scroll bar appears.
    catalogueList_->header()->resizeSection(0, catalogueList_->viewport()->width());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainWindow::exitItem_Click()
{
    close();
}

void MainWindow::aboutItem_Click()
{
    if (!about_) {
        about_ = new AboutWindow(AboutWindow::Links{[this](const QString &link) { links_.OpenLink(link); },
                                                    [this] { links_.MailCommand(); }},
                                 this);
    }
    about_->exec();
}

void MainWindow::helpItem_Click()
{
    // The help page ships beside the program, one for each language.
    const QString page = platform_.dataFile(
        language_.current() == InterfaceLanguage::Romanian ? maker::romanianHelpFileName : maker::helpFileName);
    if (!QFileInfo(page).isFile()) {
        platform_.message(ApplicationTitle, tr("The help page \"%1\" is missing.").arg(QDir::toNativeSeparators(page)));
        return;
    }
    // With no program to show it, the user can still open the file another way.
    links_.OpenHelpPage(page, [window = QPointer<MainWindow>(this), page] {
        if (window)
            window->platform_.message(ApplicationTitle,
                                      tr("The help page could not be opened: no program to show it was found.\n\n"
                                         "You can open the file \"%1\" in a web browser.")
                                          .arg(QDir::toNativeSeparators(page)));
    });
}

// The tip over the list follows the entry under the pointer.
void MainWindow::catalogueList_MouseMove(QPointF posInList)
{
    backgroundMouseMove(Qt::NoButton, catalogueList_->viewport()->mapTo(this, posInList));
    if (!listTooltip_)
        return;
    const QModelIndex hovered = catalogueList_->indexAt(posInList.toPoint());
    const QString text = hovered.isValid() ? model_->itemText(hovered.row()) : QString();
    const EntryRef entry = hovered.isValid() ? model_->entryAt(hovered.row()) : EntryRef{};
    const QString problem = entry.own ? own_->problem(entry.number) : QString();
    UpdateListTip(*listTooltip_, catalogueList_, hovered.isValid() ? &text : nullptr, entry.own ? &problem : nullptr);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == searchBox_) {
        if (type == QEvent::FocusIn) {
            // Select the whole search text, so that the next keystroke replaces it.
            searchBox_->setSelection(0, static_cast<int>(searchBox_->text().size()));
        } else if (type == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                searchButton_Click();
        }
    } else if (watched == catalogueList_->viewport() && type == QEvent::MouseMove) {
        catalogueList_MouseMove(static_cast<QMouseEvent *>(event)->position());
    } else if (watched == catalogueList_->viewport() && type == QEvent::Enter) {
        // The pointer can come onto the list without a move over it, for
        // instance back from over the tip: the tip describes the row it is on.
        catalogueList_MouseMove(static_cast<QEnterEvent *>(event)->position());
    } else if (watched == catalogueList_ && type == QEvent::KeyPress) {
        // No key plays an entry: typing in the list goes back to the search box.
        searchBox_->setFocus(Qt::OtherFocusReason);
        return true;
    } else if (watched == recentList_ && type == QEvent::FocusOut) {
        recentList_->hide();
    }
    return ShapedWindow::eventFilter(watched, event);
}

} // namespace helicordia
