#include "position_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace qzm::ui {

PositionSlider::PositionSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    SetMaximum(100);  // until a file is opened: the range of a fresh trackbar
}

void PositionSlider::SetMaximum(int maximum) {
    setMaximum(maximum);
    setPageStep(std::max(1, (maximum - minimum()) / 5));
}

void PositionSlider::Release() {
    setRepeatAction(SliderNoAction);
    setSliderDown(false);
}

void PositionSlider::mousePressEvent(QMouseEvent* event) {
    emit actionStarted();
    QSlider::mousePressEvent(event);
}

void PositionSlider::keyPressEvent(QKeyEvent* event) {
    emit actionStarted();
    QSlider::keyPressEvent(event);
}

}  // namespace qzm::ui
