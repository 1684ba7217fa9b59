#include "frame_grab.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <filesystem>
#include <memory>
#include <system_error>

#include "dos_text.h"
#include "grab_name.h"
#include "renderer.h"

namespace qzm::ui {

QImage SpectrumPicture(const CStreamPlayer& player) {
    QImage picture(kImageWidth, kImageHeight, QImage::Format_RGB32);
    const Palette& palette = player.GetPalette();
    const std::uint8_t* indices = player.IndexedImage().data();
    for (int y = 0; y < kImageHeight; ++y) {
        // The picture is stored bottom-up.
        const std::uint8_t* row = indices + static_cast<std::size_t>(kImageHeight - 1 - y) * kImageWidth;
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < kImageWidth; ++x) {
            const PaletteEntry& colour = palette[row[x] % kColourCount];
            out[x] = qRgb(colour.red, colour.green, colour.blue);
        }
    }
    return picture;
}

QImage ScaledPicture(const CStreamPlayer& player, int width, int height) {
    if (width == kImageWidth && height == kImageHeight) {
        return SpectrumPicture(player);  // the window draws the picture itself at its own size
    }
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(player.GetFilter());
    renderer->Render(player.IndexedImage().data(), width, height, 0, 0);
    // 0xFFRRGGBB words are Format_RGB32's pixels.
    return QImage(reinterpret_cast<const uchar*>(renderer->Pixels()), width, height, width * 4,
                  QImage::Format_RGB32)
        .copy();
}

QString GrabBaseName(const CStreamPlayer& player, const QString& path) {
    const std::string name = WindowsTextToUtf8(player.Header().Name());
    const QByteArray stem = QFileInfo(path).completeBaseName().toUtf8();
    return QString::fromStdString(
        GrabBaseName(name, std::string_view(stem.constData(), static_cast<std::size_t>(stem.size())),
                     player.CurrentFrame()));
}

QString GrabFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

SavedGrab SaveGrab(const QImage& picture, const QString& folder, const QString& base) {
    const QDir dir(folder);
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (error) {
        return {dir.filePath(base + QStringLiteral(".png")), QString::fromStdString(error.message())};
    }
    QString path;
    for (int copy = 1;; ++copy) {
        path = dir.filePath(QString::fromStdString(GrabFileName(base.toStdString(), copy)));
        if (!QFileInfo::exists(path)) {
            break;
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {path, file.errorString()};
    }
    if (!picture.save(&file, "PNG") || !file.commit()) {
        return {path,
                file.error() != QFileDevice::NoError
                    ? file.errorString()
                    : QCoreApplication::translate("qzm::ui::CPlayerDlg", "the picture could not be written")};
    }
    return {path, {}};
}

}  // namespace qzm::ui
