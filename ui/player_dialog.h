// The main window: a frameless window painted in the skin's blue, with the picture, the frame and
// playback buttons, the position slider and the time counter. It owns the player and hands the
// playback decisions to PlaybackControl. The skin is laid out in skin pixels and drawn at a whole
// number of device pixels each; the picture is rendered at device pixels (see device_scale.h).
#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>

#include "device_scale.h"
#include "hit_zones.h"
#include "message_gate.h"
#include "play_list.h"
#include "playback.h"
#include "player_keys.h"
#include "skin.h"
#include "stream_player.h"
#include "window_layout.h"

class CInfoDlg;

namespace qzm::ui {

class ImageButton;
class PositionSlider;
class TimeBox;

inline constexpr QRgb kBackgroundBlue = 0xFF0055E5;

// Why `path` cannot be opened, naming it ("Cannot open "x.qzm": there is no such file."); empty when
// it names a readable file.
QString UnreadableFileMessage(const QString& path);

class CPlayerDlg : public QWidget, private IPlaybackView {
    Q_OBJECT
public:
    // `host` shows the player's messages and the choice among videos; it must outlive the window.
    explicit CPlayerDlg(IPlayerHost& host, QWidget* parent = nullptr);
    ~CPlayerDlg() override;

    // Opens `path` as a dropped file is opened. False when refused (a load is still choosing). A
    // path that names no readable file is reported by a message naming it.
    bool OpenPath(const QString& path) { return OpenPaths({path}); }
    // Makes `paths` the play list and opens the first as a dropped file is opened; when it fails,
    // the next, and so on. False when refused (a load is still choosing, or a list is opening).
    bool OpenPaths(const QStringList& paths);

    const CStreamPlayer& Player() const { return m_player; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
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
    bool StreamEnded() override;

    void CreateControls();
    void ConnectButtons();
    void LayOut();
    Rect PictureOnDevice() const;
    HitZone ZoneAt(QPointF position) const;
    void OnHover(Control id, bool inside);
    void OnSliderAction();
    // Lets go of the slider before a modal box, which would take the mouse release.
    void ReleaseSlider();
    void ToggleMaximize();
    void SetOnTop(bool on);
    void OnOpen();
    void OnInfo();
    void OnOptions();
    void OnAbout();

    // The keys, the wheel, full screen, the play list and frame grabs (player_dialog_keys.cpp).
    void CreateKeys();
    void Run(PlayerCommand command);
    bool OnPicture(QPointF position) const;
    void ToggleFullScreen();
    void EnterFullScreen();
    void LeaveFullScreen();
    void ShowControls(bool show);
    void HideCursorLater();
    // Opens the play list's current place, and while that fails the next one (`forward`) or the
    // one before; the first asking which video of a disk image to play when `ask`.
    void OpenFromList(bool forward, bool ask);
    void MoveInList(bool forward);
    void SaveFrame(bool asShown);
    void ShowNote(const QString& text);
    void PaintNote(QPainter& painter, const Rect& picture) const;
    ImageButton* Button(Control id) const { return m_buttons[static_cast<std::size_t>(id)]; }

    MessageGate m_gate;  // the player's host: one message per user action
    CStreamPlayer m_player;
    CSkin m_skin;
    PlaybackControl m_playback;
    QTimer* m_timer = nullptr;  // the frame timer, "FrameTimer"
    DeviceScale m_scale;
    Size m_skinSize;                                      // the window's size in skin pixels
    QRect m_titleOnDevice;                                // where the title image goes, in device pixels
    std::array<ImageButton*, kControlCount> m_buttons{};  // null for the title, slider and counter
    PositionSlider* m_slider = nullptr;
    TimeBox* m_time = nullptr;
    QPointer<CInfoDlg> m_pInfoDlg;
    QImage m_indexedImage;               // reused for every paint of the native-size picture
    std::optional<QPointF> m_movePress;  // a press on a moving strip, until the mouse has moved
    QString m_lastFolder;                // of the last file opened, where the open dialog starts
    Rect m_areaOnDevice;                 // the picture area: the player's, in device pixels
    bool m_fullScreen = false;
    bool m_maximizedBefore = false;   // before full screen, to go back to
    QTimer* m_cursorTimer = nullptr;  // hides the cursor in full screen, "CursorTimer"
    PlayList m_list;
    bool m_listOpening = false;  // a play-list open runs (its message boxes let events through)
    QString m_openedPath;        // the file of the video playing
    int m_wheelAngle = 0;        // wheel turns short of a notch
    QString m_note;              // "Saved ...", over the picture while "NoteTimer" runs
    QTimer* m_noteTimer = nullptr;
};

}  // namespace qzm::ui
