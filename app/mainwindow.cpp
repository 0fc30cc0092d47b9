#include "app/mainwindow.h"

#include "app/artwork.h"
#include "app/background.h"
#include "app/main_window_access.h"
#include "app/recentfile.h"
#include "app/recentlocation.h"
#include "app/settings.h"
#include "app/startupfiles.h"
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "catalogue/entrytext.h"
#include "catalogue/hovertip.h"
#include "catalogue/recentlist.h"
#include "links/maker.h"
#include "platform/application.h"
#include "platform/platform.h"
#include "ui/about/form2.h"
#include "ui/button_art.h"
#include "ui/layout.h"
#include "ui/link_label.h"
#include "ui/list_view.h"
#include "ui/picture_label.h"
#include "ui/tooltip/tooltip.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QTreeView>
#include <QUrl>
#include <QVersionNumber>

#include <optional>

namespace helicordia {

namespace {

// Client area 9345 x 6795 twips.
constexpr int WindowWidth = 623;
constexpr int WindowHeight = 453;

// The outline, in window pixels, filled by the alternate rule.
const QPolygon &Outline()
{
    static const QPolygon polygon({{15, 2},    {608, 2},   {612, 3},   {616, 6},   {618, 9},  {619, 15}, {619, 445},
                                   {617, 451}, {615, 453}, {612, 455}, {610, 457}, {15, 457}, {9, 455},  {6, 453},
                                   {3, 451},   {2, 445},   {2, 15},    {3, 12},    {6, 7},    {9, 3},    {15, 1}});
    return polygon;
}

// The band across the top, above the first row of controls, by which the
// window is dragged; inside the outline.
const QRect TitleBand(15, 2, 594, 34);

// Every control, in the order it is made (later ones lie above earlier ones).
const ControlPlace MainControls[] = {
    {"Label4", 120, 90, 6810, 330, {9.75, true}, true}, // the title drags the window
    {"Image2", 8550, 90, 315, 315, {}, true},
    {"Image4", 8865, 90, 315, 315, {}, true},
    {"Find", 120, 540, 2130, 285, {9.75, true}},
    {"Text1", 2280, 480, 2760, 375, {9.75}, true},
    {"ImgSearch", 5040, 435, 480, 480, {}, true},
    {"Label3", 5880, 540, 570, 285, {9.75, true}},
    {"Image3", 6600, 450, 480, 480, {}, true},
    {"Label1_0", 7440, 525, 1305, 240, {9.75, true, true}, true},
    {"Image1", 8820, 525, 240, 240, {}, true},
    {"Label1_2", 3240, 840, 630, 240, {8.25, false, true}, true},
    // The two passive labels let the mouse through to what lies under them
    // ("Recent" is partly covered by Label2(2)).
    {"Label2_2", 3150, 945, 2055, 255, {9.75}},
    // The match count sits on the row above the list, at its right end, where
    // it stays readable whatever the list shows.
    {"Label2_3", 7050, 795, 2100, 240, {9.75, true}},
    {"lv", 30, 1050, 9195, 5715, {9}, true},
    {"List2", 60, 1200, 9105, 2010, {9}}, // shown over the list on demand
};

void SetTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

const LinkLabel::Colours LinkColours{QColor(0, 0, 255), QColor(255, 0, 0), QColor(0, 255, 255)};
const QColor DarkGrey(64, 64, 64);

} // namespace

MainWindow::MainWindow(Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), platform_(platform), links_(platform)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(WindowWidth, WindowHeight);
    setMouseTracking(true);
    buildControls();
    InstallMainWindowAccess(*this);
}

MainWindow::~MainWindow() = default;

Layout MainWindow::controls()
{
    return MainControls;
}

void MainWindow::buildControls()
{
    const Layout layout = controls();
    auto picture = [&](const char *name, const QPixmap &pixmap, const QString &tip) {
        auto *label = new PictureLabel(this);
        Place(label, layout, name);
        label->setPixmap(pixmap);
        label->setAlignment(Qt::AlignCenter);
        label->setToolTip(tip);
        return label;
    };
    auto link = [&](const char *name, const QString &text, const QColor &designColour) {
        auto *label = new LinkLabel(text, this);
        Place(label, layout, name);
        SetTextColour(label, designColour);
        label->setColours(LinkColours);
        return label;
    };
    auto label = [&](const char *name, const QString &text, const QColor &colour) {
        auto *l = new QLabel(text, this);
        Place(l, layout, name);
        SetTextColour(l, colour);
        return l;
    };

    Label4 = label("Label4", QString(), Qt::white);
    Label4->setMouseTracking(true);
    Label4->installEventFilter(this);

    Image2 = picture("Image2", buttonart::Minimise(QSize(21, 21)), QStringLiteral("Minimized"));
    Image4 = picture("Image4", buttonart::Close(QSize(21, 21)), QStringLiteral("Exit"));

    Find = label("Find", QStringLiteral("&Find health problems:"), DarkGrey);
    Find->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The captions keep the pointer to themselves: they neither drag the
    // window nor count as its background.
    Find->setAttribute(Qt::WA_NoMousePropagation);

    Text1 = new QLineEdit(this);
    Place(Text1, layout, "Text1");
    Text1->installEventFilter(this);
    Find->setBuddy(Text1);
    connect(Text1, &QLineEdit::textChanged, this, [this] { ImgSearch_Click(); });

    ImgSearch = picture("ImgSearch", artwork::searchButton(32), QString());
    ImgSearch->setHoverFrame(true);

    Label3 = label("Label3", QStringLiteral("Play"), DarkGrey);
    Label3->setAttribute(Qt::WA_NoMousePropagation);

    Image3 = picture("Image3", artwork::playButton(32), QString());
    Image3->setHoverFrame(true);

    Label1_0 = link("Label1_0", QStringLiteral("Options"), DarkGrey);
    Label1_0->setAlignment(Qt::AlignCenter);

    Image1 = picture("Image1", artwork::helpButton(16), QStringLiteral("Help"));
    Image1->setHoverFrame(true);

    Label1_2 = link("Label1_2", QStringLiteral("Recent"), QColor(0, 0, 192));

    Label2_2 = label("Label2_2", QString(), QColor(128, 128, 255));
    Label2_2->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label2_3 = label("Label2_3", QString(), QColor(40, 40, 150));
    Label2_3->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label2_3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2_3->setToolTip(QStringLiteral("Entries listed"));

    lv = new QTreeView(this);
    Place(lv, layout, "lv");
    SetUpListView(lv);
    lv->installEventFilter(this);
    // Every move over the items reaches lv_MouseMove, buttons or not.
    lv->viewport()->setMouseTracking(true);
    lv->viewport()->installEventFilter(this);
    connect(lv, &QTreeView::doubleClicked, this, [this] { Image3_Click(); });

    List2 = new QListWidget(this);
    Place(List2, layout, "List2");
    // Its pale background by palette: a style sheet would bring Qt's style
    // sheet machinery into every start.
    QPalette recentColours = List2->palette();
    recentColours.setColor(QPalette::Base, QColor(240, 240, 255));
    List2->setPalette(recentColours);
    List2->hide();
    List2->installEventFilter(this);
    connect(List2, &QListWidget::itemClicked, this, [this] { List2_Click(); });
    connect(List2, &QListWidget::itemActivated, this, [this] { List2_Click(); });

    mnuOptions = new QMenu(this);
    mnuAbout = mnuOptions->addAction(QStringLiteral("About"));
    mnuHelp = mnuOptions->addAction(QStringLiteral("Help"));
    mnuOptRom = mnuOptions->addAction(QStringLiteral("Interfata in limba Romana"));
    mnuOptEng = mnuOptions->addAction(QStringLiteral("English interface"));
    mnuOptions->addSeparator();
    mnuExit = mnuOptions->addAction(QStringLiteral("Exit"));
    mnuOptRom->setCheckable(true);
    mnuOptEng->setCheckable(true);
    mnuOptEng->setChecked(true);
    // The language items only carry their check marks: choosing one changes nothing.
    for (QAction *item : {mnuOptRom, mnuOptEng}) {
        connect(item, &QAction::triggered, item, [item](bool checked) { item->setChecked(!checked); });
    }

    connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
    connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
    connect(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });

    connect(Image2, &PictureLabel::clicked, this, [this] { Image2_Click(); });
    connect(Image4, &PictureLabel::clicked, this, [this] { Image4_Click(); });
    connect(ImgSearch, &PictureLabel::clicked, this, [this] { ImgSearch_Click(); });
    connect(Image3, &PictureLabel::clicked, this, [this] { Image3_Click(); });
    // Help opens on the press already, whichever button.
    connect(Image1, &PictureLabel::pressed, this, [this] { mnuHelp_Click(); });
    // The menu opens on the press, at the pointer, whichever button.
    connect(Label1_0, &LinkLabel::pressed, this, [this](QPoint at) { mnuOptions->popup(at); });
    connect(Label1_2, &LinkLabel::clicked, this, [this] { Label1_Click(2); });
}

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

    // Background picture.
    QImage picture;
    QString pictureError;
    const bool pictureRead =
        ahead ? ahead->pictureRead
              : LoadBackgroundPicture(platform_.dataFile(BackgroundFileName), picture, &pictureError);
    if (ahead) {
        picture = std::move(ahead->picture);
        pictureError = ahead->pictureError;
    }
    if (!pictureRead) {
        Fail(pictureError);
        return false;
    }
    background_ = picture;

    // Recent list.
    recentPath_ = RecentFilePath(platform_.programFolder());
    recent_ = LoadRecentList(recentPath_);
    List2->clear();
    List2->addItems(recent_);

    // Number of catalogue lines.
    catalogue_.setCatalogueLineCount(Catalogue::ShippedLineCount);

    // Outline.
    ApplyOutline();

    // Settings.
    LoadSettings();

    // Title.
    Label4->setText(TitleText());

    // Hover tips over the list.
    CreateListTooltip();

    // The passive labels start empty.
    Label2_2->setText(QString());
    Label2_3->setText(QString());

    // Catalogue.
    QString error;
    bool catalogueRead = false;
    if (ahead) {
        catalogueRead = ahead->catalogueRead;
        error = ahead->catalogueError;
        if (catalogueRead)
            catalogue_ = std::move(ahead->catalogue);
    } else {
        catalogueRead = catalogue_.LoadCatalogue(platform_.dataFile(CatalogueFileName), &error);
    }
    if (!catalogueRead) {
        Fail(QStringLiteral("Helicordia cannot start.\n\n") + error);
        return false;
    }
    model_ = std::make_unique<CatalogueListModel>(catalogue_);
    lv->setModel(model_.get());

    // Every entry.
    FillList(QString());
    return true;
}

void MainWindow::CreateListTooltip()
{
    if (!ListTooltip)
        ListTooltip = std::make_unique<cTooltip>();
    ListTooltip->create(this);
    ListTooltip->MaxTipWidth(300);
    ListTooltip->DelayTime(2, 5000);
}

void MainWindow::ApplyOutline()
{
    setMask(QRegion(Outline(), Qt::OddEvenFill));
}

void MainWindow::LoadSettings()
{
    auto store = platform_.openSettings();
    if (!store)
        return;
    const LoadedSettings loaded = ReadSettings(*store);
    if (loaded.romanianChecked) {
        mnuOptRom->setChecked(*loaded.romanianChecked);
        mnuOptEng->setChecked(!*loaded.romanianChecked);
    }
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
    values.romanianChecked = mnuOptRom->isChecked();
    values.leftTwips = x() * TwipsPerPixel;
    values.topTwips = y() * TwipsPerPixel;
    values.widthTwips = width() * TwipsPerPixel;
    values.heightTwips = height() * TwipsPerPixel;
    QString error = QStringLiteral("The settings store could not be opened.");
    auto store = platform_.openSettings();
    if (store && WriteSettings(*store, values, &error))
        return true;
    platform_.message(ApplicationTitle,
                      QStringLiteral("The window position and options could not be saved.\n\n") + error);
    return false;
}

bool MainWindow::SaveRecent()
{
    QString why;
    if (SaveRecentList(recentPath_, recent_, &why))
        return true;
    platform_.message(ApplicationTitle, QStringLiteral("The recent list could not be saved to \"%1\".\n\n%2")
                                            .arg(QDir::toNativeSeparators(recentPath_), why));
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
    // A failed save is reported; the other one still runs.
    const bool saved = SaveAll();
    clearMask();
    platform_.endProgram(saved ? 0 : 1);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

bool MainWindow::romanianChecked() const
{
    return mnuOptRom->isChecked();
}

bool MainWindow::englishChecked() const
{
    return mnuOptEng->isChecked();
}

// ---- search and lists ----

void MainWindow::FillList(const QString &search)
{
    if (!model_)
        return;
    Label2_3->setText(QString());
    model_->FillList(search);
    Label2_3->setText(model_->matchCountText());
    SelectFirstItem();
}

void MainWindow::SelectFirstItem()
{
    if (!model_ || model_->rowCount() == 0)
        return;
    const QModelIndex first = model_->index(0, 0);
    lv->setCurrentIndex(first);
    lv->scrollToTop();
}

void MainWindow::ImgSearch_Click()
{
    FillList(Text1->text().trimmed());
    Text1->setFocus(Qt::OtherFocusReason);
}

void MainWindow::AddRecent(const QString &name)
{
    helicordia::AddRecent(recent_, name);
    List2->clear();
    List2->addItems(recent_);
}

void MainWindow::List2_Click()
{
    List2->hide();
    QListWidgetItem *item = List2->currentItem();
    if (item)
        Text1->setText(item->text());
    ImgSearch_Click();
    // Hiding the list may already have handed the focus to the search box, so
    // select its text here: the next keystroke replaces the chosen name.
    Text1->selectAll();
}

void MainWindow::Label1_Click(int index)
{
    if (index == 2)
        ShowRecentList();
}

void MainWindow::ShowRecentList()
{
    List2->show();
    List2->raise();
    List2->setFocus(Qt::OtherFocusReason);
}

QString MainWindow::selectedItemText() const
{
    const QModelIndex current = lv->currentIndex();
    if (!model_ || !current.isValid())
        return QString();
    return model_->itemText(current.row());
}

void MainWindow::Image3_Click()
{
    const QString text = selectedItemText();
    if (text.isEmpty())
        return; // nothing listed, nothing to play
    if (text.startsWith(QLatin1Char('_'))) {
        platform_.message(ApplicationTitle, NotPlayableMessage(text));
        return;
    }
    const int number = EntryNumber(text);
    const QString name = EntryName(text);
    const QString frequencies = EntryFrequencies(catalogue_.entry(number));
    AddRecent(name.trimmed());
    if (playerStart_)
        playerStart_(number, name, frequencies);
}

// ---- window behaviour ----

void MainWindow::Form_GotFocus()
{
    Text1->setFocus(Qt::ActiveWindowFocusReason);
    if (!Text1->text().isEmpty())
        Text1->selectAll();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !List2->isVisible())
        Form_GotFocus();
    // Coming back from the taskbar counts as a resize.
    if (event->type() == QEvent::WindowStateChange &&
        (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized) && !isMinimized())
        Form_Resize();
    QWidget::changeEvent(event);
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(214, 222, 232));
    if (!background_.isNull())
        painter.drawImage(0, 0, background_);
}

void MainWindow::Form_MouseDown(Qt::MouseButtons buttons, QPointF posInWindow)
{
    drag_.press(buttons, posInWindow);
}

void MainWindow::HoverReset()
{
    Label1_0->showNormal();
    Label1_2->showNormal();
    for (PictureLabel *picture : {ImgSearch, Image1, Image3})
        if (picture->frameShape() != QFrame::NoFrame)
            picture->setFrameShape(QFrame::NoFrame);
}

void MainWindow::Form_MouseMove(Qt::MouseButtons buttons, QPointF posInWindow)
{
    // Moving over the window's background takes the hover looks away.
    HoverReset();
    move(drag_.step(pos(), buttons, posInWindow));
}

void MainWindow::Form_Resize()
{
    // The list's one column is as wide as the list's visible area, so that no
    // sideways scroll bar appears.
    lv->header()->resizeSection(0, lv->viewport()->width());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainWindow::Image2_Click()
{
    showMinimized();
}

void MainWindow::Image4_Click()
{
    close();
}

void MainWindow::mnuExit_Click()
{
    close();
}

void MainWindow::mnuAbout_Click()
{
    if (!about_) {
        about_ = new Form2(
            Form2::Links{[this](const QString &link) { links_.OpenLink(link); }, [this] { links_.MailCommand(); }},
            this);
    }
    about_->exec();
}

void MainWindow::mnuHelp_Click()
{
    // The help page ships beside the program.
    const QString page = platform_.dataFile(maker::helpFileName);
    if (!QFileInfo(page).isFile()) {
        platform_.message(ApplicationTitle,
                          QStringLiteral("The help page \"%1\" is missing.").arg(QDir::toNativeSeparators(page)));
        return;
    }
    links_.OpenLink(QUrl::fromLocalFile(page).toString());
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    Form_MouseDown(event->buttons(), event->position());
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // The pointer's place is taken from its screen position: the window system
    // reports window-relative positions of events generated before our last
    // move arrived, which would make a dragged window run away.
    Form_MouseMove(event->buttons(), mapFromGlobal(event->globalPosition()));
}

void MainWindow::mouseReleaseEvent(QMouseEvent *)
{
    drag_.release();
}

// The tip over the list follows the entry under the pointer.
void MainWindow::lv_MouseMove(QPointF posInList)
{
    Form_MouseMove(Qt::NoButton, lv->viewport()->mapTo(this, posInList));
    if (!ListTooltip)
        return;
    const QModelIndex hovered = lv->indexAt(posInList.toPoint());
    const QString text = hovered.isValid() ? model_->itemText(hovered.row()) : QString();
    UpdateListTip(*ListTooltip, lv, hovered.isValid() ? &text : nullptr);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();

    const bool isMouse =
        type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease;
    if (watched == Label4 && isMouse) {
        // The title drags the window like its background. Only mouse events
        // are read as such: the filter sees every event the title gets.
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseButtonPress) {
            Form_MouseDown(mouse->buttons(), Label4->mapTo(this, mouse->position()));
            return true;
        }
        if (type == QEvent::MouseMove) {
            Form_MouseMove(mouse->buttons(), mapFromGlobal(mouse->globalPosition()));
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            drag_.release();
            return true;
        }
    } else if (watched == Text1) {
        if (type == QEvent::FocusIn) {
            // Select the whole search text, so that the next keystroke replaces it.
            Text1->setSelection(0, static_cast<int>(Text1->text().size()));
        } else if (type == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                ImgSearch_Click();
        }
    } else if (watched == lv->viewport() && type == QEvent::MouseMove) {
        lv_MouseMove(static_cast<QMouseEvent *>(event)->position());
    } else if (watched == lv && type == QEvent::KeyPress) {
        // No key plays an entry: typing in the list goes back to the search box.
        Text1->setFocus(Qt::OtherFocusReason);
        return true;
    } else if (watched == List2 && type == QEvent::FocusOut) {
        List2->hide();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace helicordia
