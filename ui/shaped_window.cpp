#include "ui/shaped_window.h"

#include "ui/button_art.h"
#include "ui/picture_label.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

namespace helicordia {

ShapedWindow::ShapedWindow(QPolygon outline, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), outline_(std::move(outline))
{
}

void ShapedWindow::applyOutline()
{
    setMask(QRegion(outline_, Qt::OddEvenFill));
}

void ShapedWindow::removeOutline()
{
    clearMask();
}

PictureLabel *ShapedWindow::addPicture(Layout layout, const char *name, const QPixmap &pixmap, const QString &tip)
{
    auto *picture = new PictureLabel(this);
    Place(picture, layout, name);
    picture->setPixmap(pixmap);
    picture->setAlignment(Qt::AlignCenter);
    picture->setToolTip(tip);
    return picture;
}

PictureLabel *ShapedWindow::addPicture(Layout layout, const char *name, QPixmap (*draw)(QSize), const QString &tip)
{
    return addPicture(layout, name, draw(PlaceOf(layout, name).pixels().size()), tip);
}

void ShapedWindow::addTitleButtons(Layout layout)
{
    minimiseButton_ = addPicture(layout, "minimiseButton", buttonart::Minimise);
    closeButton_ = addPicture(layout, "closeButton", buttonart::Close);
    connect(minimiseButton_, &PictureLabel::clicked, this, [this] { minimiseButton_Click(); });
    connect(closeButton_, &PictureLabel::clicked, this, [this] { closeButton_Click(); });
    retranslateTitleButtons();
}

void ShapedWindow::retranslateTitleButtons()
{
    if (minimiseButton_)
        minimiseButton_->setToolTip(tr("Minimized"));
    if (closeButton_)
        closeButton_->setToolTip(tr("Exit"));
}

void ShapedWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateTitleButtons();
    QWidget::changeEvent(event);
}

void ShapedWindow::minimiseButton_Click()
{
    showMinimized();
}

void ShapedWindow::closeButton_Click()
{
    close();
}

void ShapedWindow::addDragHandle(QWidget *handle)
{
    dragHandles_.push_back(handle);
    handle->setMouseTracking(true);
    handle->installEventFilter(this);
}

void ShapedWindow::mousePressEvent(QMouseEvent *event)
{
    // Presses on the controls (which reach the window when a label passes
    // them on) start nothing.
    if (childAt(event->position().toPoint()) != nullptr) {
        drag_.release();
        return;
    }
    drag_.press(event->buttons(), event->position());
}

void ShapedWindow::backgroundMouseMove(Qt::MouseButtons buttons, QPointF posInWindow)
{
    backgroundHovered();
    move(drag_.step(pos(), buttons, posInWindow));
}

void ShapedWindow::mouseMoveEvent(QMouseEvent *event)
{
    // The pointer's place in the window is taken from its screen position: the
    // window system reports window-relative positions of events generated
    // before our last move arrived, which would make a dragged window run away.
    backgroundMouseMove(event->buttons(), mapFromGlobal(event->globalPosition()));
}

void ShapedWindow::mouseReleaseEvent(QMouseEvent *)
{
    drag_.release();
}

void ShapedWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColour_);
    if (!background_.isNull())
        painter.drawImage(0, 0, background_);
    if (rimColour_.isValid()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(rimColour_, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(outline_);
    }
}

// A drag handle's mouse events are the background's; only mouse events are
// read as such, the filter sees every event the handle gets.
bool ShapedWindow::dragHandleEvent(QWidget *handle, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    switch (type) {
    case QEvent::MouseButtonPress: drag_.press(mouse->buttons(), handle->mapTo(this, mouse->position())); return true;
    case QEvent::MouseMove: backgroundMouseMove(mouse->buttons(), mapFromGlobal(mouse->globalPosition())); return true;
    case QEvent::MouseButtonRelease: drag_.release(); return true;
    default: return false;
    }
}

bool ShapedWindow::eventFilter(QObject *watched, QEvent *event)
{
    const auto handle = std::find(dragHandles_.begin(), dragHandles_.end(), watched);
    if (handle != dragHandles_.end() && dragHandleEvent(*handle, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace helicordia
