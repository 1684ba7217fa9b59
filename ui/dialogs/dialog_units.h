// Dialog layouts are given in dialog units, as the dialogs were first drawn: a unit is a quarter of
// an average character's width (6 px) across and an eighth of its height (13 px) down.
#pragma once

#include <QRect>
#include <QSize>

namespace qzm::dialogs {

constexpr int DluX(int x) {
    return x * 6 / 4;
}
constexpr int DluY(int y) {
    return y * 13 / 8;
}
inline QSize DluSize(int width, int height) {
    return {DluX(width), DluY(height)};
}
inline QRect DluRect(int x, int y, int width, int height) {
    return {DluX(x), DluY(y), DluX(width), DluY(height)};
}

}  // namespace qzm::dialogs
