#include "image_button.h"

#include <QKeyEvent>
#include <QPainter>

namespace qzm::ui {

namespace {

bool ActivatesButton(const QKeyEvent& key) {
    if (key.modifiers() != Qt::NoModifier && key.modifiers() != Qt::KeypadModifier) {
        return false;
    }
    return key.key() == Qt::Key_Space || key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

}  // namespace

void DrawSunkenEdge(QPainter& painter, const QRect& rect, int width) {
    const QColor dark(0x80, 0x80, 0x80);
    painter.fillRect(rect.left(), rect.top(), rect.width(), width, dark);
    painter.fillRect(rect.left(), rect.top(), width, rect.height(), dark);
    painter.fillRect(rect.left(), rect.bottom() + 1 - width, rect.width(), width, Qt::white);
    painter.fillRect(rect.right() + 1 - width, rect.top(), width, rect.height(), Qt::white);
}

ImageButton::ImageButton(const QString& name, const QString& label, QWidget* parent)
    : QAbstractButton(parent) {
    setObjectName(name);
    setToolTip(label);
    setAccessibleName(label);
    // Reached with Tab and pressed with Space or Enter; a mouse click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
}

void ImageButton::SetImage(const QPixmap& image) {
    m_image = image;
    update();
}

bool ImageButton::event(QEvent* event) {
    // The window's Space shortcut (play/pause) gives way to the focused button's own keys.
    if (event->type() == QEvent::ShortcutOverride && ActivatesButton(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractButton::event(event);
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            // The arrows seek in the window rather than move the focus along the buttons.
            event->ignore();
            return;
        default: break;
    }
    QAbstractButton::keyPressEvent(event);
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is not a click (it would toggle play twice), and it goes
    // no further: near the top it would maximize the window.
    event->accept();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintInWindowDevicePixels(painter, *this);
    const QRect art = m_place.Device();
    painter.drawPixmap(art.topLeft(), m_image);
    if (isChecked()) {
        DrawSunkenEdge(painter, art, m_place.Skin());
    }
    if (hasFocus()) {
        // A dotted frame along the image's edge, in skin pixels, as the old platform marked focus.
        const int s = m_place.Skin();
        painter.setPen(QPen(Qt::white, s, Qt::DotLine, Qt::FlatCap));
        painter.drawRect(QRectF(art).adjusted(s / 2.0, s / 2.0, -s / 2.0, -s / 2.0));
    }
}

void ImageButton::enterEvent(QEnterEvent*) {
    emit hovered(true);
}

void ImageButton::leaveEvent(QEvent*) {
    emit hovered(false);
}

}  // namespace qzm::ui
