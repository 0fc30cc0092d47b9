#include "ui/about/form2.h"

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

QColor Form2::LinkResting()
{
    return {0, 0, 255};
}

QColor Form2::Label3Resting()
{
    return {0, 64, 64};
}

QColor Form2::LinkUnderMouse()
{
    return {255, 0, 0};
}

Form2::Form2(Links links, QWidget *owner) : QDialog(owner), links_(std::move(links))
{
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(8595 / TwipsPerPixel, 6135 / TwipsPerPixel);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Label1 = new QLabel(this);
    Label1->setGeometry(Twips(60, 45, 8475, 375));
    Label1->setFont(Arial(9.75, true));

    Frame2 = new QFrame(this);
    Frame2->setGeometry(Twips(120, 360, 8355, 1845));
    Frame2->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame2->setMouseTracking(true);
    Frame2->installEventFilter(this);

    // The captions and the picture keep the pointer to themselves: only the
    // frame's own background puts the links back to rest.
    auto caption = [this](const QRect &r, const QString &text) {
        auto *label = new QLabel(text, Frame2);
        label->setGeometry(r);
        label->setFont(Arial(12));
        label->setAttribute(Qt::WA_NoMousePropagation);
        return label;
    };
    Label6_0 = caption(Twips(2640, 120, 600, 240), QStringLiteral("www:"));
    Label6_1 = caption(Twips(5220, 120, 825, 375), QStringLiteral("e-mail:"));

    auto link = [this](QWidget *control, const QRect &r, const QFont &font, const QString &tip) {
        control->setGeometry(r);
        control->setFont(font);
        control->setToolTip(tip);
        control->setCursor(Qt::PointingHandCursor);
        control->setMouseTracking(true);
        control->installEventFilter(this);
    };
    Label5_0 = new QLabel(maker::webSite, Frame2);
    link(Label5_0, Twips(2160, 360, 1740, 255), Arial(8.25, false, false, true),
         QStringLiteral("Visit Author Home Page"));
    // The address is shown whole, however wide the font draws it.
    Label5_0->resize(std::max(Label5_0->width(), Label5_0->sizeHint().width()), Label5_0->height());

    Text2 = new QLineEdit(maker::mailAddress, Frame2);
    link(Text2, Twips(4620, 360, 2205, 240), Arial(8.25, false, false, true), QStringLiteral("Email author"));
    Text2->setFrame(false);
    Text2->setReadOnly(true);
    Text2->setCursor(Qt::PointingHandCursor); // read-only would have set the arrow
    Text2->setFocusPolicy(Qt::NoFocus);
    Text2->setCursorPosition(0);
    Text2->resize(std::max(Text2->width(), Text2->fontMetrics().horizontalAdvance(Text2->text()) + 6), Text2->height());

    Label4 = new QLabel(QStringLiteral("Download the latest version of Helicordia"), Frame2);
    link(Label4, Twips(3300, 600, 2535, 480), Arial(9.75, false, true, true),
         QStringLiteral("Download the latest version of Helicordia"));
    Label4->setWordWrap(true);

    Label3 = new QLabel(QStringLiteral("Download Orbitdeck,    it is free!"), Frame2);
    link(Label3, Twips(2580, 1200, 2895, 480), Arial(9.75, false, false, true),
         QStringLiteral("Download the latest version of Orbitdeck"));
    Label3->setWordWrap(true);

    // The captions' tall font reaches down to the links' row: keep them readable.
    Label6_0->raise();
    Label6_1->raise();

    Image1 = new QLabel(Frame2);
    Image1->setGeometry(Twips(5940, 1320, 540, 435));
    Image1->setPixmap(OrbitPicture());
    Image1->setAttribute(Qt::WA_NoMousePropagation);

    Text1 = new QPlainTextEdit(QStringLiteral("Text1"), this);
    Text1->setGeometry(Twips(120, 2220, 8415, 3375));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Command1 = new QPushButton(QStringLiteral("Click!"), this);
    Command1->setGeometry(Twips(3720, 5700, 960, 405));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    const std::pair<QWidget *, const char *> names[] = {
        {Label1, "Label1"},     {Frame2, "Frame2"}, {Label6_0, "Label6_0"}, {Label5_0, "Label5_0"},
        {Label6_1, "Label6_1"}, {Text2, "Text2"},   {Label4, "Label4"},     {Label3, "Label3"},
        {Image1, "Image1"},     {Text1, "Text1"},   {Command1, "Command1"}};
    for (const auto &[widget, name] : names)
        widget->setObjectName(QString::fromLatin1(name));

    Frame2_MouseMove();
}

void Form2::Form_Load()
{
    const QString title = QCoreApplication::applicationName();
    const QVersionNumber version = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    Label1->setText(about::TitleLine(title, version));
    notes_ = about::NotesText(title, version);
    Text1->setPlainText(notes_);
}

void Form2::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
}

void Form2::Command1_Click()
{
    close();
}

void Form2::SetLinkColour(QWidget *link, const QColor &colour)
{
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    link->setPalette(palette);
}

void Form2::Frame2_MouseMove()
{
    for (QWidget *link :
         {static_cast<QWidget *>(Text2), static_cast<QWidget *>(Label5_0), static_cast<QWidget *>(Label4)})
        SetLinkColour(link, LinkResting());
    SetLinkColour(Label3, Label3Resting());
}

void Form2::Label3_Click()
{
    links_.openLink(maker::orbitdeckDownload());
}

void Form2::Label4_Click()
{
    links_.openLink(maker::kitDownload());
}

void Form2::Label5_Click(int index)
{
    if (index == 0)
        links_.openLink(Label5_0->text());
}

void Form2::Text2_Click()
{
    links_.mailCommand();
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Frame2) {
        if (event->type() == QEvent::MouseMove)
            Frame2_MouseMove();
        return QDialog::eventFilter(watched, event);
    }
    QWidget *link = nullptr;
    for (QWidget *candidate : {static_cast<QWidget *>(Label3), static_cast<QWidget *>(Label4),
                               static_cast<QWidget *>(Label5_0), static_cast<QWidget *>(Text2)})
        if (watched == candidate)
            link = candidate;
    if (!link)
        return QDialog::eventFilter(watched, event);

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
        if (click) {
            if (link == Label3)
                Label3_Click();
            else if (link == Label4)
                Label4_Click();
            else if (link == Label5_0)
                Label5_Click(0);
            else if (link == Text2)
                Text2_Click();
        }
        return true;
    }
    default: return QDialog::eventFilter(watched, event);
    }
}

} // namespace helicordia
