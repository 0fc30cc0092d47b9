#include "ui/picture_label.h"

#include <QMouseEvent>

namespace helicordia {

void PictureLabel::setHoverFrame(bool on)
{
    hoverFrame_ = on;
    setMouseTracking(on);
    if (!on)
        setFrameShape(QFrame::NoFrame);
}

void PictureLabel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
    emit pressed(event->button());
}

void PictureLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = pressed_;
    pressed_ = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void PictureLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (!hoverFrame_) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    setFrameShape(QFrame::Box);
    event->accept();
}

void PictureLabel::enterEvent(QEnterEvent *event)
{
    if (hoverFrame_)
        setFrameShape(QFrame::Box);
    QLabel::enterEvent(event);
}

void PictureLabel::leaveEvent(QEvent *event)
{
    if (hoverFrame_)
        setFrameShape(QFrame::NoFrame);
    QLabel::leaveEvent(event);
}

} // namespace helicordia
