// The main window's controls: where each lies, how it looks, and what it is
// connected to.
#include "app/artwork.h"
#include "app/mainwindow.h"
#include "ui/layout.h"
#include "ui/link_label.h"
#include "ui/list_view.h"
#include "ui/picture_label.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTreeView>

namespace helicordia {

namespace {

// Every control, in the order it is made (later ones lie above earlier ones).
const ControlPlace MainControls[] = {
    {"titleLabel", 120, 90, 6810, 330, {9.75, true}, true}, // the title drags the window
    {"minimiseButton", 8550, 90, 315, 315, {}, true},
    {"closeButton", 8865, 90, 315, 315, {}, true},
    {"searchCaption", 120, 540, 2130, 285, {9.75, true}},
    {"searchBox", 2280, 480, 2760, 375, {9.75}, true},
    {"searchButton", 5040, 435, 480, 480, {}, true},
    {"playCaption", 5880, 540, 570, 285, {9.75, true}},
    {"playButton", 6600, 450, 480, 480, {}, true},
    {"optionsLink", 7440, 525, 1305, 240, {9.75, true, true}, true},
    {"helpButton", 8820, 525, 240, 240, {}, true},
    {"recentLink", 3240, 840, 630, 240, {8.25, false, true}, true},
    // The two passive labels let the mouse through to what lies under them
    // ("Recent" is partly covered by the blank one).
    {"blankLabel", 3150, 945, 2055, 255, {9.75}},
    // The match count sits on the row above the list, at its right end, where
    // it stays readable whatever the list shows.
    {"matchCountLabel", 7050, 795, 2100, 240, {9.75, true}},
    {"catalogueList", 30, 1050, 9195, 5715, {9}, true},
    {"recentList", 60, 1200, 9105, 2010, {9}}, // shown over the list on demand
};

void SetTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

const LinkLabel::Colours LinkColours{QColor(0, 0, 255), QColor(255, 0, 0), QColor(0, 255, 255)};
const QColor DarkGrey(64, 64, 64);

QLabel *AddLabel(QWidget *window, Layout layout, const char *name, const QString &text, const QColor &colour)
{
    auto *label = new QLabel(text, window);
    Place(label, layout, name);
    SetTextColour(label, colour);
    return label;
}

LinkLabel *AddLink(QWidget *window, Layout layout, const char *name, const QString &text, const QColor &designColour)
{
    auto *link = new LinkLabel(text, window);
    Place(link, layout, name);
    SetTextColour(link, designColour);
    link->setColours(LinkColours);
    return link;
}

} // namespace

Layout MainWindow::controls()
{
    return MainControls;
}

void MainWindow::buildControls()
{
    const Layout layout = controls();
    titleLabel_ = AddLabel(this, layout, "titleLabel", QString(), Qt::white);
    addDragHandle(titleLabel_);
    addTitleButtons(layout);
    buildSearchRow(layout);
    buildLinks(layout);
    buildLists(layout);
    buildOptionsMenu();
    retranslate();
}

void MainWindow::buildSearchRow(Layout layout)
{
    searchCaption_ = AddLabel(this, layout, "searchCaption", QString(), DarkGrey);
    searchCaption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The captions keep the pointer to themselves: they neither drag the
    // window nor count as its background.
    searchCaption_->setAttribute(Qt::WA_NoMousePropagation);

    searchBox_ = new QLineEdit(this);
    Place(searchBox_, layout, "searchBox");
    searchBox_->installEventFilter(this);
    searchCaption_->setBuddy(searchBox_);
    connect(searchBox_, &QLineEdit::textChanged, this, [this] { searchButton_Click(); });

    searchButton_ = addPicture(layout, "searchButton", artwork::searchButton(32));
    searchButton_->setHoverFrame(true);
    connect(searchButton_, &PictureLabel::clicked, this, [this] { searchButton_Click(); });

    playCaption_ = AddLabel(this, layout, "playCaption", QString(), DarkGrey);
    playCaption_->setAttribute(Qt::WA_NoMousePropagation);

    playButton_ = addPicture(layout, "playButton", artwork::playButton(32));
    playButton_->setHoverFrame(true);
    connect(playButton_, &PictureLabel::clicked, this, [this] { playButton_Click(); });
}

void MainWindow::buildLinks(Layout layout)
{
    optionsLink_ = AddLink(this, layout, "optionsLink", QString(), DarkGrey);
    optionsLink_->setAlignment(Qt::AlignCenter);
    // The menu opens on the press, at the pointer, whichever button.
    connect(optionsLink_, &LinkLabel::pressed, this, [this](QPoint at) { optionsMenu_->popup(at); });

    helpButton_ = addPicture(layout, "helpButton", artwork::helpButton(16));
    helpButton_->setHoverFrame(true);
    // Help opens on the press already, whichever button.
    connect(helpButton_, &PictureLabel::pressed, this, [this] { helpItem_Click(); });

    recentLink_ = AddLink(this, layout, "recentLink", QString(), QColor(0, 0, 192));
    connect(recentLink_, &LinkLabel::clicked, this, [this] { recentLink_Click(); });

    blankLabel_ = AddLabel(this, layout, "blankLabel", QString(), QColor(128, 128, 255));
    blankLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);

    matchCountLabel_ = AddLabel(this, layout, "matchCountLabel", QString(), QColor(40, 40, 150));
    matchCountLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    matchCountLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void MainWindow::buildLists(Layout layout)
{
    catalogueList_ = new QTreeView(this);
    Place(catalogueList_, layout, "catalogueList");
    SetUpListView(catalogueList_);
    catalogueList_->installEventFilter(this);
    // Every move over the items reaches catalogueList_MouseMove, buttons or not.
    catalogueList_->viewport()->setMouseTracking(true);
    catalogueList_->viewport()->installEventFilter(this);
    connect(catalogueList_, &QTreeView::doubleClicked, this, [this] { playButton_Click(); });

    recentList_ = new QListWidget(this);
    Place(recentList_, layout, "recentList");
    // Its pale background by palette: a style sheet would bring Qt's style
    // sheet machinery into every start.
    QPalette recentColours = recentList_->palette();
    recentColours.setColor(QPalette::Base, QColor(240, 240, 255));
    recentList_->setPalette(recentColours);
    recentList_->hide();
    recentList_->installEventFilter(this);
    connect(recentList_, &QListWidget::itemClicked, this, [this] { recentList_Click(); });
    connect(recentList_, &QListWidget::itemActivated, this, [this] { recentList_Click(); });
}

void MainWindow::buildOptionsMenu()
{
    optionsMenu_ = new QMenu(this);
    optionsMenu_->setObjectName(QStringLiteral("optionsMenu"));
    aboutItem_ = optionsMenu_->addAction(QString());
    helpItem_ = optionsMenu_->addAction(QString());
    // The language items read the same in both languages, so that the way
    // back is always found.
    romanianItem_ = optionsMenu_->addAction(QStringLiteral("Interfata in limba Romana"));
    englishItem_ = optionsMenu_->addAction(QStringLiteral("English interface"));
    optionsMenu_->addSeparator();
    exitItem_ = optionsMenu_->addAction(QString());
    romanianItem_->setObjectName(QStringLiteral("romanianItem"));
    englishItem_->setObjectName(QStringLiteral("englishItem"));
    romanianItem_->setCheckable(true);
    englishItem_->setCheckable(true);
    englishItem_->setChecked(true);
    connect(romanianItem_, &QAction::triggered, this, [this] { chooseLanguage(InterfaceLanguage::Romanian); });
    connect(englishItem_, &QAction::triggered, this, [this] { chooseLanguage(InterfaceLanguage::English); });

    connect(aboutItem_, &QAction::triggered, this, [this] { aboutItem_Click(); });
    connect(helpItem_, &QAction::triggered, this, [this] { helpItem_Click(); });
    connect(exitItem_, &QAction::triggered, this, [this] { exitItem_Click(); });
}

} // namespace helicordia
