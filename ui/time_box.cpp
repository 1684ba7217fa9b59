#include "time_box.h"

#include <QPainter>

#include "image_button.h"
#include "skin.h"

namespace qzm::ui {

TimeBox::TimeBox(const CSkin& skin, QWidget* parent) : QWidget(parent), m_skin(skin) {
    setObjectName(QStringLiteral("IDC_TIME"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
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
    PaintInWindowDevicePixels(painter, *this);
    // The box's client area lies inside the sunken edge; its black frame surrounds the glyphs.
    const QRect box = m_place.Device();
    const int s = m_place.Skin();
    DrawSunkenEdge(painter, box, s);
    const QRect client = box.adjusted(s, s, -s, -s);
    painter.fillRect(client, Qt::black);
    m_skin.DrawTime(painter, client.topLeft(), m_frame, m_delay);
}

}  // namespace qzm::ui
