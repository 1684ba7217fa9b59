#include "skin.h"

#include <QIcon>
#include <QPainter>

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
            Load(m_normal[i], QStringLiteral("%1.png").arg(QLatin1String(name)));
            Load(m_hoverImages[i], QStringLiteral("%1-hover.png").arg(QLatin1String(name)));
        }
    }
    Load(m_digits, QStringLiteral("digits.png"));
    Load(m_title, QStringLiteral("title.png"));
}

void CSkin::Load(Picture& picture, const QString& name) {
    picture.original.load(QStringLiteral(":/skin/") + name);
    picture.scaled = QPixmap::fromImage(picture.original);
}

void CSkin::SetScale(int scale) {
    if (scale == m_scale || scale < 1) {
        return;
    }
    m_scale = scale;
    for (Picture* set : {m_normal, m_hoverImages}) {
        for (int i = 0; i < kControlCount; ++i) {
            Enlarge(set[i], scale);
        }
    }
    Enlarge(m_digits, scale);
    Enlarge(m_title, scale);
}

void CSkin::Enlarge(Picture& picture, int scale) {
    if (!picture.original.isNull()) {
        // Nearest neighbour at a whole factor: every skin pixel becomes a scale x scale block.
        picture.scaled = QPixmap::fromImage(picture.original.scaled(picture.original.size() * scale));
    }
}

bool CSkin::HasImages(Control id) {
    return ImageName(id) != nullptr;
}

const QPixmap& CSkin::Normal(Control id) const {
    return m_normal[static_cast<int>(id)].scaled;
}

const QPixmap& CSkin::Hover(Control id) const {
    return m_hoverImages[static_cast<int>(id)].scaled;
}

void CSkin::ShowImage(Control id, bool hover, std::span<ImageButton* const> buttons) const {
    if (ImageButton* button = buttons[static_cast<std::size_t>(id)]) {
        button->SetImage(hover ? Hover(id) : Normal(id));
    }
}

void CSkin::SetHover(std::optional<Control> id, bool hover, std::span<ImageButton* const> buttons) {
    if (id == m_hover) {
        return;
    }
    if (!id) {
        const std::optional<Control> old = m_hover;
        m_hover.reset();
        if (old && HasImages(*old)) {
            ShowImage(*old, false, buttons);
        }
        return;
    }
    if (HasImages(*id)) {
        ShowImage(*id, hover, buttons);
    }
    m_hover = id;
}

void CSkin::DrawTime(QPainter& painter, QPoint origin, int frame, int delay) const {
    const auto glyphs = TimeGlyphs(frame, delay);
    const int s = m_scale;
    for (int i = 0; i < kCounterGlyphs; ++i) {
        painter.drawPixmap(origin.x() + GlyphX(i) * s, origin.y() + kGlyphY * s, m_digits.scaled, 0,
                           glyphs[i] * kGlyphHeight * s, kGlyphWidth * s, kGlyphHeight * s);
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
