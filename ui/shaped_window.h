// A window without a title bar: cut to a polygon outline, painted with a
// background picture, dragged by its background in steps of 32 twips, and
// carrying its own minimise and close pictures. The main window and the
// player window are both made this way; each brings its own outline and its
// own controls.
//
// Only the window's background drags: a press on one of its controls (a
// label that passes the press on, say) starts nothing, unless the window has
// named that control a drag handle (the main window's title).
#pragma once

#include "ui/layout.h"
#include "ui/window_drag.h"

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QWidget>

#include <vector>

class QPixmap;

namespace helicordia {

class PictureLabel;

class ShapedWindow : public QWidget {
    Q_OBJECT
public:
    // The outline in window pixels, filled by the alternate rule.
    const QPolygon &outline() const { return outline_; }

    // The minimise and close pictures (the controls call these; tests may too).
    void minimiseButton_Click();
    void closeButton_Click();

protected:
    ShapedWindow(QPolygon outline, QWidget *parent);

    // Cuts the window to its outline; gives the outline back.
    void applyOutline();
    void removeOutline();

    // The picture behind every control, drawn from the top-left corner; the
    // colour shows where there is no picture. The rim, when given a colour,
    // is a thin line along the outline.
    void setBackground(QImage picture) { background_ = std::move(picture); }
    void setBackgroundColour(const QColor &colour) { backgroundColour_ = colour; }
    void setRimColour(const QColor &colour) { rimColour_ = colour; }

    // A picture of the layout on the window, drawn at the control's size.
    PictureLabel *addPicture(Layout layout, const char *name, const QPixmap &pixmap, const QString &tip = {});
    PictureLabel *addPicture(Layout layout, const char *name, QPixmap (*draw)(QSize), const QString &tip = {});
    // The minimise and close pictures, at the places the layout gives
    // "minimiseButton" and "closeButton".
    void addTitleButtons(Layout layout);
    PictureLabel *minimiseButton() const { return minimiseButton_; }
    PictureLabel *closeButton() const { return closeButton_; }

    // Presses, moves and releases on `handle` act as on the background.
    void addDragHandle(QWidget *handle);

    // The pointer moved over the background (a drag step follows when the
    // left button is held). Position in window pixels.
    void backgroundMouseMove(Qt::MouseButtons buttons, QPointF posInWindow);
    // Called first by every background move: the window takes hover looks away.
    virtual void backgroundHovered() {}

    // A change of language writes the title buttons' tips anew.
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool dragHandleEvent(QWidget *handle, QEvent *event);
    void retranslateTitleButtons();

    QPolygon outline_;
    QImage background_;
    QColor backgroundColour_;
    QColor rimColour_;
    WindowDrag drag_;
    std::vector<QWidget *> dragHandles_;
    PictureLabel *minimiseButton_ = nullptr;
    PictureLabel *closeButton_ = nullptr;
};

} // namespace helicordia
