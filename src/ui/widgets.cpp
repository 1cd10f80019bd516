#include "ui/widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHash>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QSvgRenderer>
#include <memory>


// The pictures live in a resource compiled into a static library: it must be
// registered by hand, once, before the first picture is drawn.
static void registerArt() { Q_INIT_RESOURCE(art); }

namespace vendral {

namespace {

// One renderer per picture, made the first time the picture is drawn.
QSvgRenderer* renderer(const QString& name) {
    static const bool registered = (registerArt(), true);
    (void)registered;
    static QHash<QString, std::shared_ptr<QSvgRenderer>> cache;
    if (name.isEmpty()) return nullptr;
    auto it = cache.find(name);
    if (it == cache.end()) {
        const QString path = QStringLiteral(":/art/%1.svg").arg(name);
        std::shared_ptr<QSvgRenderer> r;
        if (QFile::exists(path)) r = std::make_shared<QSvgRenderer>(path);
        it = cache.insert(name, r);
    }
    return it.value() && it.value()->isValid() ? it.value().get() : nullptr;
}

}  // namespace

void paintPicture(QPainter& p, const QString& name, const QRectF& target, bool stretch) {
    QSvgRenderer* r = renderer(name);
    if (!r) return;
    if (stretch) {
        r->setAspectRatioMode(Qt::IgnoreAspectRatio);
        r->render(&p, target);
    } else {
        r->setAspectRatioMode(Qt::KeepAspectRatio);
        const QSizeF natural = r->defaultSize();
        r->render(&p, QRectF(target.topLeft(), natural));
    }
}

QSize pictureSize(const QString& name) {
    QSvgRenderer* r = renderer(name);
    return r ? r->defaultSize() : QSize();
}

QPixmap picturePixmap(const QString& name, QSize size, qreal dpr) {
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    if (QSvgRenderer* r = renderer(name)) {
        r->setAspectRatioMode(Qt::KeepAspectRatio);
        r->render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pm;
}

// ---------------------------------------------------------------------------

bool accessibleIds() { return qEnvironmentVariable("VENDRAL_ACCESSIBLE_IDS") == QLatin1String("1"); }

namespace {

// The announcer's two parts, told apart from other plain widgets by type.
class StatusBox : public QWidget {
public:
    using QWidget::QWidget;
};
class Notice : public QWidget {
public:
    using QWidget::QWidget;
};

QAccessibleInterface* announcerRoles(const QString&, QObject* o) {
    if (auto* box = dynamic_cast<StatusBox*>(o)) return new QAccessibleWidget(box, QAccessible::StatusBar);
    if (auto* notice = dynamic_cast<Notice*>(o)) return new QAccessibleWidget(notice, QAccessible::Notification);
    return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    static const bool installed = (QAccessible::installFactory(announcerRoles), true);
    (void)installed;
    // A status bar, so that a screen reader leaves out the notification's
    // role and speaks only its text.
    auto* box = new StatusBox(this);
    note_ = new Notice(box);
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(box), note_}) {
        w->setGeometry(0, 0, 1, 1);
        w->setFocusPolicy(Qt::NoFocus);
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    note_->hide();
    lower();
}

void Announcer::say(const QString& text) {
    said_ = text;
    // Hidden first: each text comes on show as a new notification, the same
    // text told twice included.
    note_->hide();
    note_->setAccessibleName(text);
    note_->show();
}

// ---------------------------------------------------------------------------

void GameButton::setPictureName(const QString& name) {
    if (name == picture_) return;
    picture_ = name;
    update();
}

void GameButton::setCaption(const QString& caption) {
    caption_ = caption;
    // A caption is shown as typed: an ampersand is no keyboard mnemonic.
    QString escaped = caption;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    setText(escaped);
}

void GameButton::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (isEnabled() && isVisible()) click();
        e->accept();
        return;
    }
    QPushButton::keyPressEvent(e);
}

void GameButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    opt.icon = QIcon();
    p.drawControl(QStyle::CE_PushButtonBevel, opt);
    const QRect inner = rect().adjusted(3, 2, -3, -2);
    QRect textRect = inner;
    if (!picture_.isEmpty()) {
        // A graphical button: the picture above, the caption beneath.
        const int textHeight = fontMetrics().height() + 4;
        textRect = QRect(inner.left(), inner.bottom() - textHeight, inner.width(), textHeight);
        const QRectF pictureArea(inner.left(), inner.top() + 2, inner.width(), inner.height() - textHeight - 2);
        const QSize natural = pictureSize(picture_);
        if (natural.isValid() && pictureArea.height() > 0) {
            const QSizeF fitted = QSizeF(natural).scaled(pictureArea.size(), Qt::KeepAspectRatio);
            const QRectF target(pictureArea.center().x() - fitted.width() / 2,
                                pictureArea.center().y() - fitted.height() / 2, fitted.width(), fitted.height());
            if (!isEnabled()) p.setOpacity(0.5);
            paintPicture(p, picture_, target, true);
            p.setOpacity(1.0);
        }
    }
    // A caption longer than its button wraps onto more lines, and is set a
    // little smaller where even that does not fit.
    QFont f = font();
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    for (qreal size = f.pointSizeF(); size > 5.5; size -= 0.5) {
        f.setPointSizeF(size);
        const QRect need = QFontMetrics(f).boundingRect(textRect, flags, caption_);
        if (need.height() <= textRect.height() && need.width() <= textRect.width()) break;
    }
    p.setFont(f);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(textRect, flags, caption_);
    if (hasFocus()) {
        QStyleOptionFocusRect fr;
        fr.initFrom(this);
        fr.rect = inner;
        p.drawPrimitive(QStyle::PE_FrameFocusRect, fr);
    }
}

// ---------------------------------------------------------------------------

GameLabel::GameLabel(QWidget* parent, QString screen, QString name)
    : QLabel(parent), screen_(std::move(screen)), name_(std::move(name)) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void GameLabel::readOut(const QString& text) {
    setAccessibleName(text);
    // Taken by a click too, never by Tab: Tab from here goes on to the choices.
    if (focusPolicy() == Qt::NoFocus) setFocusPolicy(Qt::ClickFocus);
    setFocus(Qt::OtherFocusReason);
}

void GameLabel::focusOutEvent(QFocusEvent* e) {
    if (!accessibleName().isEmpty()) setAccessibleName(QString());
    QLabel::focusOutEvent(e);
}

void GameLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (onClick && rect().contains(e->position().toPoint())) {
        e->accept();
        onClick();
        return;
    }
    QLabel::mouseReleaseEvent(e);
}

void GameLabel::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasFormat(kControlMime)) e->acceptProposedAction();
}

void GameLabel::dragMoveEvent(QDragMoveEvent* e) {
    if (e->mimeData()->hasFormat(kControlMime)) e->acceptProposedAction();
}

void GameLabel::dropEvent(QDropEvent* e) {
    if (!e->mimeData()->hasFormat(kControlMime) || !onDrop) return;
    e->acceptProposedAction();
    const QString source = QString::fromUtf8(e->mimeData()->data(kControlMime));
    onDrop(source);
}

// ---------------------------------------------------------------------------

PictureView::PictureView(QWidget* parent, QString screen, QString name)
    : QWidget(parent), screen_(std::move(screen)), name_(std::move(name)) {}

void PictureView::setPictureName(const QString& name) {
    if (name == picture_) return;
    picture_ = name;
    update();
}

QMimeData* PictureView::dragData() const {
    auto* mime = new QMimeData;
    mime->setData(kControlMime, (screen_ + QLatin1Char('.') + name_).toUtf8());
    return mime;
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintPicture(p, picture_, QRectF(rect()), stretch);
    if (hasFocus()) {
        QStyleOptionFocusRect fr;
        fr.initFrom(this);
        fr.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fr, &p, this);
    }
}

bool PictureView::event(QEvent* e) {
    // While the picture is carried, Tab goes on to the next label that takes
    // it rather than to the next control.
    if (carrying_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QWidget::event(e);
}

void PictureView::focusOutEvent(QFocusEvent* e) {
    // Whatever takes the focus away puts the picture back.
    carrying_ = false;
    targets_.clear();
    QWidget::focusOutEvent(e);
}

void PictureView::chooseTarget(int step) {
    const auto n = static_cast<int>(targets_.size());
    target_ = static_cast<std::size_t>(((static_cast<int>(target_) + step) % n + n) % n);
    if (say) say(QStringLiteral("Drop on: ") + targets_[target_]->text());
}

void PictureView::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (onClick && enter) {
        e->accept();
        onClick();
        return;
    }
    if (carrying_) {
        e->accept();
        if (key == Qt::Key_Escape) {
            carrying_ = false;
            targets_.clear();
            if (say) say(QStringLiteral("Put back: ") + accessibleName());
        } else if (key == Qt::Key_Right || key == Qt::Key_Down || key == Qt::Key_Tab) {
            chooseTarget(1);
        } else if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Backtab) {
            chooseTarget(-1);
        } else if (enter && !e->isAutoRepeat()) {
            QLabel* target = targets_[target_];
            carrying_ = false;
            targets_.clear();
            if (onKeyDrop) onKeyDrop(target);
        }
        return;
    }
    // A held key does not pick the picture up again right after its drop.
    if (draggable && enter && !e->isAutoRepeat() && dropTargets) {
        e->accept();
        targets_ = dropTargets();
        if (targets_.empty()) {
            if (say) say(QStringLiteral("Nothing here takes ") + accessibleName());
            return;
        }
        carrying_ = true;
        target_ = 0;
        if (say)
            say(QStringLiteral("Picked up ") + accessibleName() + QStringLiteral(". Drop on: ") + targets_[0]->text() +
                QStringLiteral(". Arrow keys choose, Enter drops, Escape puts it back."));
        return;
    }
    QWidget::keyPressEvent(e);
}

void PictureView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    pressed_ = true;
    pressAt_ = e->position().toPoint();
    if (!draggable) return;
    // An image in automatic drag mode is picked up as soon as it is pressed:
    // its picture follows the mouse until it is let go.
    pressed_ = false;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData());
    const QSize iconSize(32, 32);
    drag->setPixmap(picturePixmap(picture_, iconSize, devicePixelRatioF()));
    drag->setHotSpot(QPoint(iconSize.width() / 2, iconSize.height() / 2));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void PictureView::mouseMoveEvent(QMouseEvent* e) { QWidget::mouseMoveEvent(e); }

void PictureView::mouseReleaseEvent(QMouseEvent* e) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && onClick && rect().contains(e->position().toPoint())) onClick();
}

}  // namespace vendral
