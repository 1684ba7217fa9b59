#include "display_geometry.h"

namespace qzm {

DisplayGeometry FitDisplayArea(int areaWidth, int areaHeight) {
    DisplayGeometry g;
    // Compare in 64 bits so that no area size can overflow the products.
    if (3 * static_cast<long long>(areaWidth) >= 4 * static_cast<long long>(areaHeight)) {
        g.height = areaHeight;
        g.width = static_cast<int>(4 * static_cast<long long>(areaHeight) / 3);
        g.y = kPictureAreaTop;
        g.x = kPictureAreaLeft + (areaWidth - g.width) / 2;
    } else {
        g.width = areaWidth;
        g.height = static_cast<int>(3 * static_cast<long long>(areaWidth) / 4);
        g.x = kPictureAreaLeft;
        g.y = kPictureAreaTop + (areaHeight - g.height) / 2;
    }
    return g;
}

}  // namespace qzm
