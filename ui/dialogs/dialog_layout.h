// Dialog layouts in dialog units of the dialog's own font (see dialog_units.h), so that a dialog
// keeps its proportions at any font size.
#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QWidget>

#include "dialog_units.h"

namespace qzm::dialogs {

// The dialog units of `dialog`'s font.
inline ui::DialogUnits UnitsOf(const QWidget& dialog) {
    const QFontMetrics metrics(dialog.font());
    return ui::UnitsOfFont(
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
        metrics.height());
}

inline QSize DluSize(const ui::DialogUnits& u, int width, int height) {
    return {u.X(width), u.Y(height)};
}

inline QRect DluRect(const ui::DialogUnits& u, int x, int y, int width, int height) {
    return {u.X(x), u.Y(y), u.X(width), u.Y(height)};
}

}  // namespace qzm::dialogs
