// The main window: a frameless window painted in the skin's blue, with the picture, the frame and
// playback buttons, the position slider and the time counter. It owns the player and hands the
// playback decisions to PlaybackControl.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>

#include "playback.h"
#include "skin.h"
#include "stream_player.h"
#include "window_layout.h"

class QSlider;
class CInfoDlg;

namespace qzm::ui {

class ImageButton;
class TimeBox;

inline constexpr QRgb kBackgroundBlue = 0xFF0055E5;

class CPlayerDlg : public QWidget, private IPlaybackView {
    Q_OBJECT
public:
    // `host` shows the player's messages and the choice among videos; it must outlive the window.
    explicit CPlayerDlg(IPlayerHost& host, QWidget* parent = nullptr);
    ~CPlayerDlg() override;

    // Opens `path` as a dropped file is opened. False when refused (a load is still choosing).
    bool OpenPath(const QString& path);

    const CStreamPlayer& Player() const { return m_player; }
    const PlaybackControl& Playback() const { return m_playback; }
    const QTimer& FrameTimer() const { return m_timer; }
    const CSkin& Skin() const { return m_skin; }
    bool IsOnTop() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // IPlaybackView
    void StartTimer(int periodMs) override;
    void StopTimer() override;
    void SetSliderMaximum(int maximum) override;
    void SetSliderPosition(int position) override;
    void RepaintPicture() override;

    void CreateControls();
    void ConnectButtons();
    void LayOut(int width, int height);
    void OnHover(Control id, bool inside);
    void OnSliderAction();
    void ToggleMaximize();
    void ToggleOnTop();
    void OnOpen();
    void OnInfo();
    void OnOptions();
    void OnAbout();
    ImageButton* Button(Control id) const { return m_buttons[static_cast<std::size_t>(id)]; }

    CStreamPlayer m_player;
    CSkin m_skin;
    PlaybackControl m_playback;
    QTimer m_timer;
    std::array<ImageButton*, kControlCount> m_buttons{};  // null for the slider and the counter
    QSlider* m_slider = nullptr;
    TimeBox* m_time = nullptr;
    QPointer<CInfoDlg> m_pInfoDlg;
    QImage m_indexedImage;  // reused for every paint of the native-size picture
};

}  // namespace qzm::ui
