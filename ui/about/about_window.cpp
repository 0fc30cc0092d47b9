#include "ui/about/about_window.h"

#include "links/maker.h"
#include "ui/about/about_text.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVersionNumber>

namespace helicordia {

namespace {

constexpr int TwipsPerPixel = 15;

QRect Twips(int left, int top, int width, int height)
{
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel};
}

QFont Arial(qreal points, bool bold = false, bool italic = false, bool underline = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

// A small picture beside the Orbitdeck link: a sound wave circling a disc.
QPixmap OrbitPicture()
{
    QPixmap pixmap(36, 29);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(15, 12), 14);
    glow.setColorAt(0.0, QColor(120, 200, 200));
    glow.setColorAt(1.0, QColor(0, 64, 64));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QRectF(9, 6.5, 16, 16));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 96, 128), 1.4));
    p.drawEllipse(QRectF(2, 9.5, 32, 10));
    QPainterPath wave;
    wave.moveTo(10, 14.5);
    wave.cubicTo(12.5, 9.5, 14.5, 9.5, 17, 14.5);
    wave.cubicTo(19.5, 19.5, 21.5, 19.5, 24, 14.5);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(wave);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 120, 30));
    p.drawEllipse(QRectF(29, 11.5, 4, 4));
    return pixmap;
}

} // namespace

QColor AboutWindow::LinkResting()
{
    return {0, 0, 255};
}

QColor AboutWindow::OrbitdeckLinkResting()
{
    return {0, 64, 64};
}

QColor AboutWindow::LinkUnderMouse()
{
    return {255, 0, 0};
}

AboutWindow::AboutWindow(Links links, QWidget *owner) : QDialog(owner), links_(std::move(links))
{
    setModal(true);
    setFixedSize(8595 / TwipsPerPixel, 6135 / TwipsPerPixel);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    titleLabel_ = new QLabel(this);
    titleLabel_->setGeometry(Twips(60, 45, 8475, 375));
    titleLabel_->setFont(Arial(9.75, true));

    linkFrame_ = new QFrame(this);
    linkFrame_->setGeometry(Twips(120, 360, 8355, 1845));
    linkFrame_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    linkFrame_->setMouseTracking(true);
    linkFrame_->installEventFilter(this);
    buildLinks();

    notesBox_ = new QPlainTextEdit(QStringLiteral("Text1"), this); // its design text, replaced at every showing
    notesBox_->setGeometry(Twips(120, 2220, 8415, 3375));
    notesBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    closeButton_ = new QPushButton(this);
    closeButton_->setGeometry(Twips(3720, 5700, 960, 405));
    connect(closeButton_, &QPushButton::clicked, this, [this] { closeButton_Click(); });

    const std::pair<QWidget *, const char *> names[] = {{titleLabel_, "titleLabel"},
                                                        {linkFrame_, "linkFrame"},
                                                        {webCaption_, "webCaption"},
                                                        {homePageLink_, "homePageLink"},
                                                        {mailCaption_, "mailCaption"},
                                                        {mailLink_, "mailLink"},
                                                        {kitDownloadLink_, "kitDownloadLink"},
                                                        {orbitdeckLink_, "orbitdeckLink"},
                                                        {orbitdeckPicture_, "orbitdeckPicture"},
                                                        {notesBox_, "notesBox"},
                                                        {closeButton_, "closeButton"}};
    for (const auto &[widget, name] : names)
        widget->setObjectName(QString::fromLatin1(name));

    linkFrame_MouseMove();
    retranslate();
}

// The texts of the window in the current language; the notes are written
// anew at every showing.
void AboutWindow::retranslate()
{
    setWindowTitle(tr("About"));
    closeButton_->setText(tr("Click!"));
    webCaption_->setText(tr("www:"));
    mailCaption_->setText(tr("e-mail:"));
    homePageLink_->setToolTip(tr("Visit Author Home Page"));
    mailLink_->setToolTip(tr("Email author"));
    kitDownloadLink_->setText(tr("Download the latest version of Helicordia"));
    kitDownloadLink_->setToolTip(tr("Download the latest version of Helicordia"));
    orbitdeckLink_->setText(tr("Download Orbitdeck,    it is free!"));
    orbitdeckLink_->setToolTip(tr("Download the latest version of Orbitdeck"));
    if (isVisible())
        Form_Load();
}

void AboutWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

// The links, their captions and the picture, inside the frame.
void AboutWindow::buildLinks()
{
    // The captions and the picture keep the pointer to themselves: only the
    // frame's own background puts the links back to rest.
    auto caption = [this](const QRect &r, const QString &text) {
        auto *label = new QLabel(text, linkFrame_);
        label->setGeometry(r);
        label->setFont(Arial(12));
        label->setAttribute(Qt::WA_NoMousePropagation);
        return label;
    };
    webCaption_ = caption(Twips(2640, 120, 600, 240), QString());
    mailCaption_ = caption(Twips(5220, 120, 825, 375), QString());

    auto link = [this](QWidget *control, const QRect &r, const QFont &font) {
        control->setGeometry(r);
        control->setFont(font);
        control->setCursor(Qt::PointingHandCursor);
        control->setMouseTracking(true);
        control->installEventFilter(this);
    };
    homePageLink_ = new QLabel(maker::webSite, linkFrame_);
    link(homePageLink_, Twips(2160, 360, 1740, 255), Arial(8.25, false, false, true));
    // The address is shown whole, however wide the font draws it.
    homePageLink_->resize(std::max(homePageLink_->width(), homePageLink_->sizeHint().width()), homePageLink_->height());

    mailLink_ = new QLineEdit(maker::mailAddress, linkFrame_);
    link(mailLink_, Twips(4620, 360, 2205, 240), Arial(8.25, false, false, true));
    mailLink_->setFrame(false);
    mailLink_->setReadOnly(true);
    mailLink_->setCursor(Qt::PointingHandCursor); // read-only would have set the arrow
    mailLink_->setFocusPolicy(Qt::NoFocus);
    mailLink_->setCursorPosition(0);
    mailLink_->resize(std::max(mailLink_->width(), mailLink_->fontMetrics().horizontalAdvance(mailLink_->text()) + 6),
                      mailLink_->height());

    kitDownloadLink_ = new QLabel(linkFrame_);
    link(kitDownloadLink_, Twips(3300, 600, 2535, 480), Arial(9.75, false, true, true));
    kitDownloadLink_->setWordWrap(true);

    orbitdeckLink_ = new QLabel(linkFrame_);
    link(orbitdeckLink_, Twips(2580, 1200, 2895, 480), Arial(9.75, false, false, true));
    orbitdeckLink_->setWordWrap(true);

    // The captions' tall font reaches down to the links' row: keep them readable.
    webCaption_->raise();
    mailCaption_->raise();

    orbitdeckPicture_ = new QLabel(linkFrame_);
    orbitdeckPicture_->setGeometry(Twips(5940, 1320, 540, 435));
    orbitdeckPicture_->setPixmap(OrbitPicture());
    orbitdeckPicture_->setAttribute(Qt::WA_NoMousePropagation);
}

void AboutWindow::Form_Load()
{
    const QString title = QCoreApplication::applicationName();
    const QVersionNumber version = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    titleLabel_->setText(about::TitleLine(title, version));
    notes_ = about::NotesText(title, version);
    notesBox_->setPlainText(about::ShownText(notes_));
    // Each showing starts as a new window does: no link left red from the last one.
    linkFrame_MouseMove();
}

void AboutWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
}

void AboutWindow::closeButton_Click()
{
    close();
}

void AboutWindow::SetLinkColour(QWidget *link, const QColor &colour)
{
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    link->setPalette(palette);
}

void AboutWindow::linkFrame_MouseMove()
{
    for (QWidget *link : {static_cast<QWidget *>(mailLink_), static_cast<QWidget *>(homePageLink_),
                          static_cast<QWidget *>(kitDownloadLink_)})
        SetLinkColour(link, LinkResting());
    SetLinkColour(orbitdeckLink_, OrbitdeckLinkResting());
}

void AboutWindow::orbitdeckLink_Click()
{
    links_.openLink(maker::orbitdeckDownload());
}

void AboutWindow::kitDownloadLink_Click()
{
    links_.openLink(maker::kitDownload());
}

void AboutWindow::homePageLink_Click()
{
    links_.openLink(homePageLink_->text());
}

void AboutWindow::mailLink_Click()
{
    links_.mailCommand();
}

void AboutWindow::linkClicked(QWidget *link)
{
    if (link == orbitdeckLink_)
        orbitdeckLink_Click();
    else if (link == kitDownloadLink_)
        kitDownloadLink_Click();
    else if (link == homePageLink_)
        homePageLink_Click();
    else if (link == mailLink_)
        mailLink_Click();
}

// A link turns red under the pointer and acts when the left button is
// pressed and released over it.
bool AboutWindow::linkEvent(QWidget *link, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: SetLinkColour(link, LinkUnderMouse()); return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        pressed_ = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton ? link : nullptr;
        return true;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const bool click =
            pressed_ == link && mouse->button() == Qt::LeftButton && link->rect().contains(mouse->position().toPoint());
        pressed_ = nullptr;
        if (click)
            linkClicked(link);
        return true;
    }
    default: return false;
    }
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == linkFrame_) {
        if (event->type() == QEvent::MouseMove)
            linkFrame_MouseMove();
        return QDialog::eventFilter(watched, event);
    }
    for (QWidget *link : {static_cast<QWidget *>(orbitdeckLink_), static_cast<QWidget *>(kitDownloadLink_),
                          static_cast<QWidget *>(homePageLink_), static_cast<QWidget *>(mailLink_)})
        if (watched == link && linkEvent(link, event))
            return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace helicordia
