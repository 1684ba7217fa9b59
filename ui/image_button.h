// The skin's controls: an image that reports clicks and hovering (the frame and playback buttons,
// and, transparent to the mouse, the title), and the time counter's sunken box.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace qzm::ui {

class CSkin;

class ImageButton : public QWidget {
    Q_OBJECT
public:
    explicit ImageButton(const QString& name, QWidget* parent);

    void SetImage(const QPixmap& image);
    const QPixmap& Image() const { return m_image; }
    // A sunken 1-pixel edge over the image (the on-top button while the window stays on top).
    void SetSunken(bool sunken);
    bool IsSunken() const { return m_sunken; }

signals:
    void clicked();
    void hovered(bool inside);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_image;
    bool m_sunken = false;
    bool m_pressed = false;
};

// The counter box: a sunken edge, a black frame and the glyphs inside it. It lets the mouse through
// to the window, which moves on a press there.
class TimeBox : public QWidget {
public:
    TimeBox(const CSkin& skin, QWidget* parent);
    void SetTime(int frame, int delay);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CSkin& m_skin;
    int m_frame = 0xFFFF;
    int m_delay = 1;
};

// Draws a sunken 1-pixel edge just inside `rect`: dark at the top and left, light at the bottom and
// right.
void DrawSunkenEdge(QPainter& painter, const QRect& rect);

}  // namespace qzm::ui
