// The position slider. A click in its channel pages by a fifth of the range, and it can be let go of
// from outside: a modal box takes the mouse release, and a slider still held would go on paging or
// dragging behind the box.
#pragma once

#include <QSlider>

namespace qzm::ui {

class PositionSlider : public QSlider {
    Q_OBJECT
public:
    explicit PositionSlider(QWidget* parent);

    // Sets the range 0..maximum and the page to a fifth of it.
    void SetMaximum(int maximum);
    // Ends a press: no more repeated pages, the thumb no longer held.
    void Release();

signals:
    // A press of the mouse or of a key on the slider: a new user action begins.
    void actionStarted();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace qzm::ui
