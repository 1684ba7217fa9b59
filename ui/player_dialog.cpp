// The main window's frame: controls, layout, painting, hover, moving and sizing, keys.
#include "player_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QShortcut>
#include <QWindow>
#include <QtMath>

#include "device_painter.h"
#include "image_button.h"
#include "info_dialog.h"
#include "position_slider.h"
#include "qt_paint_device.h"
#include "settings.h"
#include "time_box.h"

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

// The image buttons, in tab order: the bottom panel, then the top strip; the tooltip and accessible
// name of each.
struct ButtonLabel {
    Control id;
    const char* label;
};
constexpr ButtonLabel kButtonLabels[] = {
    {Control::Open, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "Open")},
    {Control::Play, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "Play/Pause")},
    {Control::Stop, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "Stop")},
    {Control::Info, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "File information")},
    {Control::Options, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "Options")},
    {Control::About, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "About")},
    {Control::OnTop, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "Always on top")},
    {Control::Minimize, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "Minimize")},
    {Control::Maximize, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "Maximize")},
    {Control::Close, QT_TRANSLATE_NOOP("qzm::ui::CPlayerDlg", "Close")},
};

}  // namespace

CPlayerDlg::CPlayerDlg(IPlayerHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_gate(host, [this] { ReleaseSlider(); }),
      m_player(m_gate), m_playback(m_player, *this), m_timer(new QTimer(this)) {
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

    // The scale method is chosen before the window is first laid out or painted.
    m_player.SetRenderOnPresent(true);
    m_player.SetFilter(ReadFilterSetting());

    m_timer->setObjectName(QStringLiteral("FrameTimer"));
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, [this] { m_playback.Tick(); });
    CreateControls();
    ConnectButtons();
    CreateKeys();
    m_scale = DeviceScale::ForRatio(devicePixelRatioF());
    const Size size = m_scale.LogicalSize(InitialWindowSize());
    resize(size.width, size.height);
    LayOut();
    m_slider->setFocus();
}

CPlayerDlg::~CPlayerDlg() = default;

void CPlayerDlg::CreateControls() {
    for (const auto& [id, label] : kButtonLabels) {
        auto* button = new ImageButton(QLatin1String(ControlName(id)), tr(label), this);
        button->SetImage(m_skin.Normal(id));
        connect(button, &ImageButton::hovered, this, [this, id = id](bool inside) { OnHover(id, inside); });
        m_buttons[static_cast<std::size_t>(id)] = button;
    }
    Button(Control::OnTop)->setCheckable(true);

    m_time = new TimeBox(m_skin, this);
    m_slider = new PositionSlider(this);
    m_slider->setObjectName(QLatin1String(ControlName(Control::Position)));
    m_slider->setAccessibleName(tr("Position"));
    m_slider->setAutoFillBackground(true);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    m_slider->setCursor(Qt::ArrowCursor);
    // Only the user's own moves seek: setValue from a tick emits none of these.
    connect(m_slider, &QSlider::actionTriggered, this, [this] { OnSliderAction(); });
    connect(m_slider, &QSlider::sliderReleased, this, [this] { OnSliderAction(); });
    connect(m_slider, &PositionSlider::actionStarted, this, [this] { m_gate.BeginAction(); });

    // Tab goes from the slider along the buttons in the order of their labels.
    QWidget* previous = m_slider;
    for (const auto& [id, label] : kButtonLabels) {
        setTabOrder(previous, Button(id));
        previous = Button(id);
    }
}

void CPlayerDlg::ReleaseSlider() {
    if (m_slider != nullptr) {
        m_slider->Release();
    }
}

void CPlayerDlg::ConnectButtons() {
    // Each command is a user action: the first message it leads to is shown, later ones are not.
    const auto on = [this](Control id, auto handler) {
        connect(Button(id), &ImageButton::clicked, this, [this, handler] {
            m_gate.BeginAction();
            handler();
        });
    };
    on(Control::Close, [this] { close(); });
    on(Control::Minimize, [this] { showMinimized(); });
    on(Control::Maximize, [this] { ToggleMaximize(); });
    on(Control::About, [this] { OnAbout(); });
    on(Control::Open, [this] { OnOpen(); });
    on(Control::Play, [this] { m_playback.PlayPause(); });
    on(Control::Stop, [this] { m_playback.Stop(); });
    on(Control::Info, [this] { OnInfo(); });
    on(Control::Options, [this] { OnOptions(); });
    connect(Button(Control::OnTop), &ImageButton::toggled, this, [this](bool checked) { SetOnTop(checked); });
    new QShortcut(QKeySequence(Qt::Key_Space), this, [this] {
        m_gate.BeginAction();
        m_playback.PlayPause();
    });
    new QShortcut(QKeySequence::Open, this, [this] { OnOpen(); });
    new QShortcut(QKeySequence(Qt::Key_F1), this, [this] { OnAbout(); });
}

void CPlayerDlg::LayOut() {
    const DeviceScale scale = DeviceScale::ForRatio(devicePixelRatioF());
    if (scale.skin != m_skin.Scale()) {
        m_skin.SetScale(scale.skin);
        for (const auto& [id, label] : kButtonLabels) {
            const bool hover = m_skin.Hovered() == id;
            Button(id)->SetImage(hover ? m_skin.Hover(id) : m_skin.Normal(id));
        }
    }
    m_scale = scale;
    if (m_fullScreen) {
        // The picture alone, on the whole screen.
        m_areaOnDevice = Rect{0, 0, qRound(width() * scale.ratio), qRound(height() * scale.ratio)};
        m_player.SetDisplayArea(m_areaOnDevice.width, m_areaOnDevice.height);
        update();
        return;
    }
    const Size minimum = scale.LogicalSize(Size{kMinWindowWidth, kMinWindowHeight});
    setMinimumSize(minimum.width, minimum.height);

    m_skinSize = scale.SkinSize(width(), height());
    const WindowLayout layout = LayOutWindow(m_skinSize.width, m_skinSize.height);
    for (const auto& [id, label] : kButtonLabels) {
        Button(id)->Place(scale.ToDevice(layout[id]), scale);
    }
    m_time->Place(scale.ToDevice(layout[Control::Time]), scale);
    m_titleOnDevice = ToQRect(scale.ToDevice(layout[Control::Title]));
    m_slider->setGeometry(ToQRect(scale.LogicalCover(scale.ToDevice(layout[Control::Position]))));
    m_areaOnDevice = scale.ToDevice(layout.pictureArea);
    m_player.SetDisplayArea(m_areaOnDevice.width, m_areaOnDevice.height);
    update();
}

Rect CPlayerDlg::PictureOnDevice() const {
    // The player places the picture in an area at (kPictureAreaLeft, kPictureAreaTop).
    const DisplayGeometry d = m_player.Display();
    return Rect{m_areaOnDevice.x - kPictureAreaLeft + d.x, m_areaOnDevice.y - kPictureAreaTop + d.y, d.width,
                d.height};
}

void CPlayerDlg::resizeEvent(QResizeEvent*) {
    LayOut();
}

void CPlayerDlg::showEvent(QShowEvent*) {
    // A move to a screen of another ratio changes the scale.
    if (QWindow* window = windowHandle()) {
        connect(window, &QWindow::screenChanged, this, &CPlayerDlg::LayOut, Qt::UniqueConnection);
    }
    LayOut();
}

void CPlayerDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    PaintInWindowDevicePixels(painter, *this);
    // The blue around the picture (black in full screen), in four bands, the title, then the
    // picture itself and a note over it.
    const int w = qCeil(width() * m_scale.ratio);
    const int h = qCeil(height() * m_scale.ratio);
    const Rect p = PictureOnDevice();
    const QColor around = m_fullScreen ? QColor(Qt::black) : QColor::fromRgb(kBackgroundBlue);
    painter.fillRect(0, 0, w, p.y, around);
    painter.fillRect(0, p.y + p.height, w, h - p.y - p.height, around);
    painter.fillRect(0, p.y, p.x, p.height, around);
    painter.fillRect(p.x + p.width, p.y, w - p.x - p.width, p.height, around);
    if (!m_fullScreen) {
        painter.drawPixmap(m_titleOnDevice.topLeft(), m_skin.Title(),
                           QRect(QPoint(0, 0), m_titleOnDevice.size()));
    }
    const QRect picture = ToQRect(m_scale.LogicalCover(p));
    if (event->region().intersects(picture)) {
        painter.save();
        painter.translate(p.x - m_player.Display().x, p.y - m_player.Display().y);
        // When the whole picture is to be painted, it is rendered straight into the window's pixels.
        QtPaintDevice device(painter, m_indexedImage, (QRegion(picture) - event->region()).isEmpty());
        m_player.Present(device);
        painter.restore();
        PaintNote(painter, p);
    }
}

void CPlayerDlg::OnHover(Control id, bool inside) {
    // Exactly one button shows its hover image: the one under the cursor.
    m_skin.SetHover(std::nullopt, false, m_buttons);
    if (inside) {
        m_skin.SetHover(id, true, m_buttons);
    }
}

void CPlayerDlg::leaveEvent(QEvent*) {
    m_skin.SetHover(std::nullopt, false, m_buttons);
}

HitZone CPlayerDlg::ZoneAt(QPointF position) const {
    return HitTest(m_scale.SkinX(position.x()), m_scale.SkinY(position.y()), m_skinSize.width,
                   m_skinSize.height);
}

void CPlayerDlg::mousePressEvent(QMouseEvent* event) {
    m_movePress.reset();
    if (event->button() != Qt::LeftButton || windowHandle() == nullptr) {
        return;
    }
    const HitZone zone = m_fullScreen ? HitZone::None : ZoneAt(event->position());
    if (zone == HitZone::None) {
        // A click on the picture takes the keys from the slider and the buttons.
        setFocus();
    } else if (zone == HitZone::Move) {
        // The system's move starts once the mouse moves: it takes the pointer, and a second click
        // could not become a double click.
        m_movePress = event->globalPosition();
    } else if (zone != HitZone::None) {
        windowHandle()->startSystemResize(EdgesFor(zone));
    }
}

void CPlayerDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_fullScreen) {
        HideCursorLater();
        return;
    }
    if (m_movePress && event->buttons().testFlag(Qt::LeftButton)) {
        if ((event->globalPosition() - *m_movePress).manhattanLength() >= QApplication::startDragDistance()) {
            m_movePress.reset();
            windowHandle()->startSystemMove();
        }
        return;
    }
    setCursor(CursorFor(ZoneAt(event->position())));
}

void CPlayerDlg::mouseReleaseEvent(QMouseEvent*) {
    m_movePress.reset();
}

void CPlayerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    m_movePress.reset();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (m_fullScreen || OnPicture(event->position())) {
        ToggleFullScreen();
    } else if (m_scale.SkinY(event->position().y()) < kDoubleClickRows) {
        ToggleMaximize();
    }
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

void CPlayerDlg::SetOnTop(bool on) {
    // Changing the flag through setWindowFlags would hide and recreate the window; the platform
    // window takes it in place, so the window neither moves nor changes size.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle()) {
        window->setFlag(Qt::WindowStaysOnTopHint, on);
    }
}

}  // namespace qzm::ui
