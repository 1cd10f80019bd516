// The widgets that stand for the game's controls in a real window.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/hit.h"

class QMimeData;

namespace vendral {

class Control;

// The picture of that name from the art resource, drawn into `target`
// (stretched to it, or at its own size from the top left corner).
void paintPicture(QPainter& p, const QString& name, const QRectF& target, bool stretch);
QSize pictureSize(const QString& name);
QPixmap picturePixmap(const QString& name, QSize size, qreal dpr);

// Whether tools asked for every control's internal name ("cmdwizard",
// "Form1") as its accessible description: VENDRAL_ACCESSIBLE_IDS=1 in the
// environment. Without it no description carries one, so a screen reader
// never reads them out; object names always do.
bool accessibleIds();

// Where a screen tells a screen reader what changed: a status bar holding
// one notification, both too small to see. Each say() shows the
// notification anew with the text as its name; a screen reader speaks a
// notification as it comes on show, without its role when it lies in a
// status bar, and its status-bar key reads the last one again.
class Announcer : public QWidget {
public:
    explicit Announcer(QWidget* parent);
    void say(const QString& text);
    const QString& lastSaid() const { return said_; }
    QWidget* notification() const { return note_; }

private:
    QWidget* note_;
    QString said_;
};

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
    // Takes the focus to be read from here: while it keeps the focus a
    // screen reader reads `text` as its name; its caption again afterwards.
    void readOut(const QString& text);

protected:
    void focusOutEvent(QFocusEvent* e) override;
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
    // The keyboard's drag of a draggable picture: Enter or Space picks it
    // up, the arrow keys or Tab go through the labels that take it (each
    // told by `say`), Enter or Space drops it on the one chosen, Escape
    // puts it back. `dropTargets` lists those labels, in reading order;
    // `onKeyDrop` drops the picture on one as a pointer's drop would.
    std::function<std::vector<QLabel*>()> dropTargets;
    std::function<void(QLabel* target)> onKeyDrop;
    std::function<void(const QString& text)> say;
    bool carrying() const { return carrying_; }

protected:
    bool event(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QString screen_, name_, picture_;
    void chooseTarget(int step);

    QPoint pressAt_;
    bool pressed_ = false;
    bool carrying_ = false;
    std::vector<QLabel*> targets_;
    std::size_t target_ = 0;
};

}  // namespace vendral
