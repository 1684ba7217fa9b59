// The main window's keys and wheel, full screen, moves through the play list and frame grabs.
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>

#include "frame_grab.h"
#include "image_button.h"
#include "player_dialog.h"
#include "position_slider.h"
#include "time_box.h"

namespace qzm::ui {

namespace {

constexpr int kSeekSeconds = 5;           // an arrow key or a notch of the wheel
constexpr int kLongSeekSeconds = 60;      // an arrow key up or down
constexpr int kWheelNotch = 120;          // eighths of a degree
constexpr int kCursorHideMs = 2000;       // in full screen, without movement
constexpr int kNoteMs = 2000;             // how long "Saved ..." stays
constexpr QRgb kNoteInk = 0xFF00FF00;     // the digit strip's green
constexpr QRgb kNoteGround = 0xFF040404;  // and its near-black ground

}  // namespace

void CPlayerDlg::CreateKeys() {
    // Keys the slider does not take are shortcuts, so that they work wherever the focus is, and
    // letters also in a keyboard layout without Latin letters; the slider's keys reach the window
    // only when the slider lets them through (keyPressEvent).
    for (const KeyBinding& binding : KeyBindings()) {
        const PlayerCommand command = binding.command;
        if (!SliderKeepsKey(binding.key.key()) && command != PlayerCommand::LeaveOrClose &&
            command != PlayerCommand::Ignore) {
            new QShortcut(QKeySequence(binding.key), this, [this, command] { Run(command); });
        }
    }
    m_cursorTimer = new QTimer(this);
    m_cursorTimer->setObjectName(QStringLiteral("CursorTimer"));
    m_cursorTimer->setSingleShot(true);
    m_cursorTimer->setInterval(kCursorHideMs);
    connect(m_cursorTimer, &QTimer::timeout, this, [this] { setCursor(Qt::BlankCursor); });
    m_noteTimer = new QTimer(this);
    m_noteTimer->setObjectName(QStringLiteral("NoteTimer"));
    m_noteTimer->setSingleShot(true);
    m_noteTimer->setInterval(kNoteMs);
    connect(m_noteTimer, &QTimer::timeout, this, [this] { ShowNote(QString()); });
}

void CPlayerDlg::keyPressEvent(QKeyEvent* event) {
    const PlayerCommand command = CommandForKey(event->key(), event->modifiers());
    if (command == PlayerCommand::None) {
        QWidget::keyPressEvent(event);
        return;
    }
    Run(command);
    event->accept();
}

void CPlayerDlg::Run(PlayerCommand command) {
    m_gate.BeginAction();
    switch (command) {
        case PlayerCommand::SeekBack: m_playback.SeekBySeconds(-kSeekSeconds); break;
        case PlayerCommand::SeekOn: m_playback.SeekBySeconds(kSeekSeconds); break;
        case PlayerCommand::SeekBackMinute: m_playback.SeekBySeconds(-kLongSeekSeconds); break;
        case PlayerCommand::SeekOnMinute: m_playback.SeekBySeconds(kLongSeekSeconds); break;
        case PlayerCommand::FrameBack: m_playback.StepFrames(-1); break;
        case PlayerCommand::FrameOn: m_playback.StepFrames(1); break;
        case PlayerCommand::FirstFrame: m_playback.SeekToFrame(1); break;
        case PlayerCommand::LastFrame: m_playback.SeekToFrame(m_playback.LastFrame()); break;
        case PlayerCommand::FullScreen: ToggleFullScreen(); break;
        case PlayerCommand::PreviousVideo: MoveInList(false); break;
        case PlayerCommand::NextVideo: MoveInList(true); break;
        case PlayerCommand::SaveFrame: SaveFrame(false); break;
        case PlayerCommand::SaveShownFrame: SaveFrame(true); break;
        case PlayerCommand::LeaveOrClose:
            if (m_fullScreen) {
                LeaveFullScreen();
            } else {
                close();
            }
            break;
        case PlayerCommand::Ignore:
        case PlayerCommand::None: break;
    }
}

bool CPlayerDlg::OnPicture(QPointF position) const {
    return m_fullScreen || ToQRect(m_scale.LogicalCover(PictureOnDevice())).contains(position.toPoint());
}

void CPlayerDlg::wheelEvent(QWheelEvent* event) {
    if (!OnPicture(event->position())) {
        event->ignore();
        return;
    }
    // Fine-grained wheels and touchpads send parts of a notch; they add up.
    m_wheelAngle += event->angleDelta().y();
    const int notches = m_wheelAngle / kWheelNotch;
    m_wheelAngle -= notches * kWheelNotch;
    if (notches != 0) {
        m_gate.BeginAction();
        m_playback.SeekBySeconds(notches * kSeekSeconds);
    }
    event->accept();
}

// --- Full screen --------------------------------------------------------------------------------

void CPlayerDlg::ToggleFullScreen() {
    if (m_fullScreen) {
        LeaveFullScreen();
    } else {
        EnterFullScreen();
    }
}

void CPlayerDlg::ShowControls(bool show) {
    for (ImageButton* button : m_buttons) {
        if (button != nullptr) {
            button->setVisible(show);
        }
    }
    m_slider->setVisible(show);
    m_time->setVisible(show);
}

void CPlayerDlg::EnterFullScreen() {
    m_fullScreen = true;
    m_maximizedBefore = isMaximized();
    // The keys come to the window: the slider, which would keep the arrows, is hidden.
    setFocus();
    ShowControls(false);
    setMinimumSize(0, 0);
    showFullScreen();
    HideCursorLater();
    LayOut();
}

void CPlayerDlg::LeaveFullScreen() {
    m_fullScreen = false;
    m_cursorTimer->stop();
    unsetCursor();
    ShowControls(true);
    // The window manager gives the window back its place and its on-top state (the toolkit's
    // logical pixels could miss the place by a screen pixel on a scaled screen).
    if (m_maximizedBefore) {
        showMaximized();
    } else {
        showNormal();
    }
    LayOut();
}

void CPlayerDlg::HideCursorLater() {
    if (cursor().shape() == Qt::BlankCursor) {
        unsetCursor();
    }
    m_cursorTimer->start();
}

// --- Frame grabs --------------------------------------------------------------------------------

void CPlayerDlg::SaveFrame(bool asShown) {
    const PlayerState state = m_player.State();
    if (state == PlayerState::Empty || state == PlayerState::Refused) {
        return;  // no picture of a video
    }
    const DisplayGeometry shown = m_player.Display();
    const QImage picture =
        asShown ? ScaledPicture(m_player, shown.width, shown.height) : SpectrumPicture(m_player);
    const SavedGrab saved = SaveGrab(picture, GrabFolder(), GrabBaseName(m_player, m_openedPath));
    if (!saved.error.isEmpty()) {
        m_gate.ShowMessage(tr("Cannot save \"%1\": %2.").arg(saved.path, saved.error).toStdString());
        return;
    }
    ShowNote(tr("Saved %1").arg(QFileInfo(saved.path).fileName()));
}

void CPlayerDlg::ShowNote(const QString& text) {
    m_note = text;
    if (!text.isEmpty()) {
        m_noteTimer->start();
    }
    update(ToQRect(m_scale.LogicalCover(PictureOnDevice())));
}

void CPlayerDlg::PaintNote(QPainter& painter, const Rect& picture) const {
    if (m_note.isEmpty()) {
        return;
    }
    // In the digit strip's colours, at the picture's top left corner: the size of the skin's text,
    // larger on a large picture.
    const int s = m_scale.skin;
    QFont font = this->font();
    font.setPixelSize(std::max(11 * s, picture.height / 36));
    const QFontMetrics metrics(font);
    const int pad = std::max(2 * s, font.pixelSize() / 4);
    const QString text = metrics.elidedText(m_note, Qt::ElideMiddle, picture.width - 4 * pad);
    const QRect box(picture.x + pad, picture.y + pad, metrics.horizontalAdvance(text) + 2 * pad,
                    metrics.height() + pad);
    painter.fillRect(box, QColor::fromRgb(kNoteGround));
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(kNoteInk));
    painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace qzm::ui
