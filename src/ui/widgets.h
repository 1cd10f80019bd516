// The widgets that stand for the game's controls in a real window.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "core/hit.h"

class QMimeData;

namespace vendral {

class Control;

// The picture of that name from the art resource, drawn into `target`
// (stretched to it, or at its own size from the top left corner).
void paintPicture(QPainter& p, const QString& name, const QRectF& target, bool stretch);
QSize pictureSize(const QString& name);
QPixmap picturePixmap(const QString& name, QSize size, qreal dpr);
// What a picture shows, in a few words, for screen readers: "the disc".
// Empty for no picture; the picture's own name for one not in the table.
QString pictureDescription(const QString& name);

// The MIME type of a dragged control: "Form1.Image2".
inline constexpr const char* kControlMime = "application/x-vendral-control";

// A button; a graphical one shows its picture above the caption. Enter
// (Return or keypad Enter) presses the focused button, and holding it down
// presses again at the keyboard's repeat rate.
class GameButton : public QPushButton {
public:
    explicit GameButton(QWidget* parent) : QPushButton(parent) {}
    void setPictureName(const QString& name);
    void setCaption(const QString& caption);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QString picture_;
    QString caption_;
};

// A label (plain text, word-wrapped) or a picture; either may take clicks,
// take drops of a dragged image, or (a picture) be picked up and dragged.
class GameLabel : public QLabel {
public:
    GameLabel(QWidget* parent, QString screen, QString name);
    std::function<void()> onClick;
    std::function<void(const QString& source)> onDrop;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    QString screen_, name_;
};

class PictureView : public QWidget {
public:
    PictureView(QWidget* parent, QString screen, QString name);
    void setPictureName(const QString& name);
    const QString& pictureName() const { return picture_; }
    // What the picture carries when it is picked up: "Form1.Image2" as kControlMime.
    QMimeData* dragData() const;
    bool stretch = false;
    bool draggable = false;
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QString screen_, name_, picture_;
    QPoint pressAt_;
    bool pressed_ = false;
};

}  // namespace vendral
