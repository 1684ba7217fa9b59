// Frame grabs: the current picture as the Spectrum shows it or as the window shows it, written as
// PNG files into the user's pictures folder.
#pragma once

#include <QImage>
#include <QString>

#include "stream_player.h"

namespace qzm::ui {

// The current frame at 256 x 192, each pixel one of the Spectrum's colours: what `qzmtool export`
// writes for it.
QImage SpectrumPicture(const CStreamPlayer& player);

// The current frame scaled to `width` x `height` by the player's scale method, as the window draws
// a picture of that size.
QImage ScaledPicture(const CStreamPlayer& player, int width, int height);

// "NAME-NNNNN" for the current frame of the video opened from `path`.
QString GrabBaseName(const CStreamPlayer& player, const QString& path);

// Where grabs go: the user's pictures folder, or the home folder when there is none.
QString GrabFolder();

struct SavedGrab {
    QString path;   // the file written, or that could not be
    QString error;  // why it could not be written; empty when it was
};

// Writes `picture` as BASE.png into `folder`, made first when missing. A file already there is never
// replaced: the grab becomes BASE-2.png, BASE-3.png, ...
SavedGrab SaveGrab(const QImage& picture, const QString& folder, const QString& base);

}  // namespace qzm::ui
