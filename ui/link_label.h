// A text that works like a link: its own colours when normal, under the
// pointer and pressed, a pressed() signal when any button goes down on it and
// clicked() when the left button is released over it. Presses and moves never
// reach the window below. It goes back to its normal colour only when told
// (the window does so when the pointer crosses its background).
#pragma once

#include <QColor>
#include <QLabel>

namespace helicordia {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    struct Colours {
        QColor normal;
        QColor hover;
        QColor pressed;
    };

    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

    // The three colours. The text keeps the colour it has until the pointer
    // first comes over it.
    void setColours(const Colours &colours);
    const Colours &colours() const { return colours_; }
    // Back to the normal colour.
    void showNormal();
    QColor textColour() const;

signals:
    void pressed(QPoint globalPosition);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setTextColour(const QColor &colour);

    Colours colours_{QColor(0, 0, 255), QColor(255, 0, 0), QColor(0, 255, 255)};
    bool pressed_ = false;
};

} // namespace helicordia
