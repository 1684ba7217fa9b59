// The time counter's box: a sunken edge, a black frame and the counter's glyphs inside it. It lets
// the mouse through to the window, which moves on a press there.
#pragma once

#include <QWidget>

#include "device_painter.h"

namespace qzm::ui {

class CSkin;

class TimeBox : public QWidget {
public:
    TimeBox(const CSkin& skin, QWidget* parent);
    void SetTime(int frame, int delay);
    // Where the box goes in the window's device pixels.
    void Place(const Rect& device, const DeviceScale& scale) { m_place.Set(*this, device, scale); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CSkin& m_skin;
    DevicePlace m_place;
    int m_frame = 0xFFFF;
    int m_delay = 1;
};

}  // namespace qzm::ui
