// The main window's frame: controls, layout, painting, hover, moving and sizing, keys.
#include "player_dialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QSlider>
#include <QWindow>

#include "hit_zones.h"
#include "image_button.h"
#include "info_dialog.h"
#include "qt_paint_device.h"
#include "settings.h"

namespace qzm::ui {

namespace {

Qt::CursorShape CursorFor(HitZone zone) {
    switch (zone) {
        case HitZone::Left:
        case HitZone::Right: return Qt::SizeHorCursor;
        case HitZone::Top:
        case HitZone::Bottom: return Qt::SizeVerCursor;
        case HitZone::TopLeft:
        case HitZone::BottomRight: return Qt::SizeFDiagCursor;
        case HitZone::TopRight:
        case HitZone::BottomLeft: return Qt::SizeBDiagCursor;
        default: return Qt::ArrowCursor;
    }
}

Qt::Edges EdgesFor(HitZone zone) {
    switch (zone) {
        case HitZone::Left: return Qt::LeftEdge;
        case HitZone::Right: return Qt::RightEdge;
        case HitZone::Top: return Qt::TopEdge;
        case HitZone::Bottom: return Qt::BottomEdge;
        case HitZone::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
        case HitZone::TopRight: return Qt::TopEdge | Qt::RightEdge;
        case HitZone::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
        case HitZone::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
        default: return {};
    }
}

QRect ToQRect(const Rect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

}  // namespace

CPlayerDlg::CPlayerDlg(IPlayerHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_player(host), m_playback(m_player, *this) {
    setObjectName(QStringLiteral("CPlayerDlg"));
    setWindowTitle(QStringLiteral("QZM Player 0.31"));
    setWindowIcon(ApplicationIcon());
    QPalette blue = palette();
    blue.setColor(QPalette::Window, QColor::fromRgb(kBackgroundBlue));
    setPalette(blue);
    setAutoFillBackground(false);
    // The paint event covers every pixel itself: no erase under the picture while resizing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setAcceptDrops(true);
    setMinimumSize(kMinWindowWidth, kMinWindowHeight);

    // The scale method is chosen before the window is first laid out or painted.
    m_player.SetFilter(ReadFilterSetting());

    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_playback.Tick(); });
    CreateControls();
    ConnectButtons();
    const Size size = InitialWindowSize();
    resize(size.width, size.height);
    LayOut(size.width, size.height);
    m_slider->setFocus();
}

CPlayerDlg::~CPlayerDlg() = default;

void CPlayerDlg::CreateControls() {
    for (int i = 0; i < kControlCount; ++i) {
        const auto id = static_cast<Control>(i);
        if (!CSkin::HasImages(id)) {
            continue;
        }
        auto* button = new ImageButton(QLatin1String(ControlName(id)), this);
        button->SetImage(m_skin.Normal(id));
        button->setCursor(Qt::ArrowCursor);
        connect(button, &ImageButton::hovered, this, [this, id](bool inside) { OnHover(id, inside); });
        m_buttons[static_cast<std::size_t>(i)] = button;
    }
    auto* title = new ImageButton(QLatin1String(ControlName(Control::Title)), this);
    title->SetImage(QPixmap(QStringLiteral(":/skin/title.png")));
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_buttons[static_cast<std::size_t>(Control::Title)] = title;

    m_time = new TimeBox(m_skin, this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QLatin1String(ControlName(Control::Position)));
    m_slider->setRange(0, 100);  // until a file is opened: the range of a fresh trackbar
    m_slider->setAutoFillBackground(true);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    m_slider->setCursor(Qt::ArrowCursor);
    // Only the user's own moves seek: setValue from a tick emits none of these.
    connect(m_slider, &QSlider::actionTriggered, this, [this] { OnSliderAction(); });
    connect(m_slider, &QSlider::sliderReleased, this, [this] { OnSliderAction(); });
}

void CPlayerDlg::ConnectButtons() {
    const auto on = [this](Control id, auto handler) {
        connect(Button(id), &ImageButton::clicked, this, handler);
    };
    on(Control::Close, [this] { close(); });
    on(Control::Minimize, [this] { showMinimized(); });
    on(Control::Maximize, [this] { ToggleMaximize(); });
    on(Control::OnTop, [this] { ToggleOnTop(); });
    on(Control::About, [this] { OnAbout(); });
    on(Control::Open, [this] { OnOpen(); });
    on(Control::Play, [this] { m_playback.PlayPause(); });
    on(Control::Stop, [this] { m_playback.Stop(); });
    on(Control::Info, [this] { OnInfo(); });
    on(Control::Options, [this] { OnOptions(); });
    new QShortcut(QKeySequence(Qt::Key_Space), this, [this] { m_playback.PlayPause(); });
    new QShortcut(QKeySequence::Open, this, [this] { OnOpen(); });
    new QShortcut(QKeySequence(Qt::Key_F1), this, [this] { OnAbout(); });
}

void CPlayerDlg::LayOut(int width, int height) {
    const WindowLayout layout = LayOutWindow(width, height);
    for (int i = 0; i < kControlCount; ++i) {
        const QRect r = ToQRect(layout.controls[i]);
        if (auto* button = m_buttons[static_cast<std::size_t>(i)]) {
            button->setGeometry(r);
        }
    }
    m_time->setGeometry(ToQRect(layout[Control::Time]));
    m_slider->setGeometry(ToQRect(layout[Control::Position]));
    m_player.SetDisplayArea(layout.pictureArea.width, layout.pictureArea.height);
    update();
}

void CPlayerDlg::resizeEvent(QResizeEvent*) {
    LayOut(width(), height());
}

void CPlayerDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The blue around the picture, in four bands, then the picture itself.
    const DisplayGeometry d = m_player.Display();
    const QColor blue = QColor::fromRgb(kBackgroundBlue);
    painter.fillRect(0, 0, width(), d.y, blue);
    painter.fillRect(0, d.y + d.height, width(), height() - d.y - d.height, blue);
    painter.fillRect(0, d.y, d.x, d.height, blue);
    painter.fillRect(d.x + d.width, d.y, width() - d.x - d.width, d.height, blue);
    QtPaintDevice device(painter, m_indexedImage);
    m_player.Present(device);
    m_time->SetTime(m_player.CurrentFrame(), m_player.Header().FrameDelay());
}

void CPlayerDlg::OnHover(Control id, bool inside) {
    // Exactly one button shows its hover image: the one under the cursor.
    m_skin.SetHover(std::nullopt, false, *this);
    if (inside) {
        m_skin.SetHover(id, true, *this);
    }
}

void CPlayerDlg::leaveEvent(QEvent*) {
    m_skin.SetHover(std::nullopt, false, *this);
}

void CPlayerDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || windowHandle() == nullptr) {
        return;
    }
    const QPoint p = event->position().toPoint();
    const HitZone zone = HitTest(p.x(), p.y(), width(), height());
    if (zone == HitZone::Move) {
        windowHandle()->startSystemMove();
    } else if (zone != HitZone::None) {
        windowHandle()->startSystemResize(EdgesFor(zone));
    }
}

void CPlayerDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    setCursor(CursorFor(HitTest(p.x(), p.y(), width(), height())));
}

void CPlayerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() < kDoubleClickRows) {
        ToggleMaximize();
    }
}

void CPlayerDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape: close(); break;
        case Qt::Key_Return:
        case Qt::Key_Enter: break;  // Enter never closes the window
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void CPlayerDlg::closeEvent(QCloseEvent* event) {
    if (m_pInfoDlg) {
        m_pInfoDlg->close();
    }
    QWidget::closeEvent(event);
}

void CPlayerDlg::ToggleMaximize() {
    if (isMaximized()) {
        showNormal();
    } else {
        showMaximized();
    }
    update();
}

bool CPlayerDlg::IsOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void CPlayerDlg::ToggleOnTop() {
    // Changing the flag through setWindowFlags would hide and recreate the window; the platform
    // window takes it in place, so the window neither moves nor changes size.
    const bool on = !IsOnTop();
    overrideWindowFlags(windowFlags() ^ Qt::WindowStaysOnTopHint);
    if (QWindow* window = windowHandle()) {
        window->setFlag(Qt::WindowStaysOnTopHint, on);
    }
    Button(Control::OnTop)->SetSunken(on);
}

}  // namespace qzm::ui
