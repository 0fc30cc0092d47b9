// A picture that reacts to a click (press and release over it), like the
// image controls of both windows. Presses never reach the window below, so
// clicking a picture does not drag the window. It may show a box around
// itself while the pointer is over it.
#pragma once

#include <QLabel>

namespace helicordia {

class PictureLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // A box around the picture while the pointer is over it. The pointer's
    // moves over such a picture stay with it.
    void setHoverFrame(bool on);

signals:
    void pressed(Qt::MouseButton button); // any button down over the picture
    void clicked();                       // left button pressed and released over the picture

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool pressed_ = false;
    bool hoverFrame_ = false;
};

} // namespace helicordia
