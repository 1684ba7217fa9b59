#include "skin.h"

#include <QIcon>
#include <QPainter>
#include <QWidget>

#include "image_button.h"
#include "time_counter.h"

// The skin's resources are compiled into a static library; this pulls them into the program.
static void InitSkinResources() {
    Q_INIT_RESOURCE(skin);
}

namespace qzm::ui {

namespace {

// The resource name of each button's images; controls without images have none.
const char* ImageName(Control id) {
    switch (id) {
        case Control::Open: return "open";
        case Control::Play: return "play";
        case Control::Stop: return "stop";
        case Control::Info: return "info";
        case Control::Options: return "options";
        case Control::About: return "about";
        case Control::OnTop: return "ontop";
        case Control::Minimize: return "minimize";
        case Control::Maximize: return "maximize";
        case Control::Close: return "close";
        default: return nullptr;
    }
}

}  // namespace

CSkin::CSkin() {
    InitSkinResources();
    for (int i = 0; i < kControlCount; ++i) {
        if (const char* name = ImageName(static_cast<Control>(i))) {
            m_normal[i].load(QStringLiteral(":/skin/%1.png").arg(QLatin1String(name)));
            m_hoverImages[i].load(QStringLiteral(":/skin/%1-hover.png").arg(QLatin1String(name)));
        }
    }
    m_digits.load(QStringLiteral(":/skin/digits.png"));
}

bool CSkin::HasImages(Control id) {
    return ImageName(id) != nullptr;
}

const QPixmap& CSkin::Normal(Control id) const {
    return m_normal[static_cast<int>(id)];
}

const QPixmap& CSkin::Hover(Control id) const {
    return m_hoverImages[static_cast<int>(id)];
}

void CSkin::ShowImage(Control id, bool hover, QWidget& dialog) const {
    if (auto* button = dialog.findChild<ImageButton*>(QLatin1String(ControlName(id)))) {
        button->SetImage(hover ? Hover(id) : Normal(id));
    }
}

void CSkin::SetHover(std::optional<Control> id, bool hover, QWidget& dialog) {
    if (id == m_hover) {
        return;
    }
    if (!id) {
        const std::optional<Control> old = m_hover;
        m_hover.reset();
        if (old && HasImages(*old)) {
            ShowImage(*old, false, dialog);
        }
        return;
    }
    if (HasImages(*id)) {
        ShowImage(*id, hover, dialog);
    }
    m_hover = id;
}

void CSkin::DrawTime(QPainter& painter, QPoint origin, int frame, int delay) const {
    const auto glyphs = TimeGlyphs(frame, delay);
    for (int i = 0; i < kCounterGlyphs; ++i) {
        painter.drawPixmap(origin.x() + GlyphX(i), origin.y() + kGlyphY, m_digits, 0,
                           glyphs[i] * kGlyphHeight, kGlyphWidth, kGlyphHeight);
    }
}

QIcon ApplicationIcon() {
    InitSkinResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/skin/icon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace qzm::ui
