#pragma once

#include "image.h"

namespace qzm::skin {

// The symbols of the 24 x 24 yellow buttons along the window's bottom edge.
enum class PanelSymbol { Eject, PlayPause, Stop, Info, Wrench };
// The symbols of the 16 x 16 buttons along the top edge; Close sits on red, the others on blue.
enum class FrameSymbol { Close, Minimize, Maximize, OnTop, About };

Image PanelButton(PanelSymbol symbol, bool hover);
Image FrameButton(FrameSymbol symbol, bool hover);
// 8 x 176: the counter's glyphs "0".."9" and ":" stacked, 8 x 16 each.
Image DigitStrip();
// 112 x 16: the program's name and version in the title font, centred on the window blue.
Image TitleImage();
// The program's icon, size x size pixels.
Image AppIcon(int size);

}  // namespace qzm::skin
