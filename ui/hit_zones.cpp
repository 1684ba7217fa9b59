#include "hit_zones.h"

namespace qzm::ui {

HitZone HitTest(int x, int y, int width, int height) {
    // Bit 0 left, bit 1 right (it wins over left), bit 2 top, bit 3 bottom.
    int code = 0;
    if (x < 3) {
        code = 1;
    }
    if (x > width - 3) {
        code = 2;
    }
    if (y < 3) {
        code += 4;
    }
    if (y > height - 3) {
        code += 8;
    }
    switch (code) {
        case 0: break;
        case 1: return HitZone::Left;
        case 2: return HitZone::Right;
        case 4: return HitZone::Top;
        case 5: return HitZone::TopLeft;
        case 6: return HitZone::TopRight;
        case 8: return HitZone::Bottom;
        case 9: return HitZone::BottomLeft;
        case 10: return HitZone::BottomRight;
        default: return HitZone::None;  // top and bottom at once: below the minimum height
    }
    if (y < 19 || y > height - 59) {
        return HitZone::Move;
    }
    return HitZone::None;
}

}  // namespace qzm::ui
