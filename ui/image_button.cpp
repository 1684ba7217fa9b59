#include "image_button.h"

#include <QMouseEvent>
#include <QPainter>

#include "skin.h"

namespace qzm::ui {

void DrawSunkenEdge(QPainter& painter, const QRect& rect) {
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(Qt::white);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

ImageButton::ImageButton(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageButton::SetImage(const QPixmap& image) {
    m_image = image;
    update();
}

void ImageButton::SetSunken(bool sunken) {
    m_sunken = sunken;
    update();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, m_image);
    if (m_sunken) {
        DrawSunkenEdge(painter, rect());
    }
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) {
        emit clicked();
    }
}

void ImageButton::enterEvent(QEnterEvent*) {
    emit hovered(true);
}

void ImageButton::leaveEvent(QEvent*) {
    emit hovered(false);
}

TimeBox::TimeBox(const CSkin& skin, QWidget* parent) : QWidget(parent), m_skin(skin) {
    setObjectName(QStringLiteral("IDC_TIME"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TimeBox::SetTime(int frame, int delay) {
    if (frame != m_frame || delay != m_delay) {
        m_frame = frame;
        m_delay = delay;
        update();
    }
}

void TimeBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The box's client area lies inside the sunken edge; its black frame surrounds the glyphs.
    DrawSunkenEdge(painter, rect());
    const QRect client = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(client, Qt::black);
    m_skin.DrawTime(painter, client.topLeft(), m_frame, m_delay);
}

}  // namespace qzm::ui
