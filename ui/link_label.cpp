#include "ui/link_label.h"

#include <QMouseEvent>

namespace helicordia {

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setMouseTracking(true);
}

void LinkLabel::setColours(const Colours &colours)
{
    colours_ = colours;
}

void LinkLabel::showNormal()
{
    setTextColour(colours_.normal);
}

QColor LinkLabel::textColour() const
{
    return palette().color(QPalette::WindowText);
}

void LinkLabel::setTextColour(const QColor &colour)
{
    // Called on every pointer move over the window: a colour it already has
    // costs nothing.
    if (textColour() == colour)
        return;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    pressed_ = event->button() == Qt::LeftButton;
    setTextColour(colours_.pressed);
    emit pressed(event->globalPosition().toPoint());
}

void LinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    setTextColour(event->buttons() == Qt::LeftButton ? colours_.pressed : colours_.hover);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace helicordia
