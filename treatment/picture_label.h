// A picture that reacts to a click (press and release over it), like the
// image controls of the player window. Presses never reach the window below,
// so clicking a picture does not drag the window.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace helicordia {

class PictureLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        pressed_ = event->button() == Qt::LeftButton;
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        const bool wasPressed = pressed_;
        pressed_ = false;
        event->accept();
        if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            emit clicked();
    }

private:
    bool pressed_ = false;
};

} // namespace helicordia
