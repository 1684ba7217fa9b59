#include "raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qzm::skin {
namespace {

constexpr int kSamples = 16;

double DistanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = p.x - (a.x + t * dx);
    const double ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

Shape Rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) {
            return false;
        }
        // Distance into the corner square, measured from the corner circle's centre.
        const double cx = std::max({x0 + radius - x, x - (x1 - radius), 0.0});
        const double cy = std::max({y0 + radius - y, y - (y1 - radius), 0.0});
        return cx * cx + cy * cy <= radius * radius;
    };
}

Shape Circle(double cx, double cy, double radius) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Shape Polygon(std::vector<Point> corners) {
    return [c = std::move(corners)](double x, double y) {
        // Even-odd rule by counting the edges a ray to the right crosses.
        bool inside = false;
        for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
            if ((c[i].y > y) != (c[j].y > y)) {
                const double cross = c[j].x + (y - c[j].y) * (c[i].x - c[j].x) / (c[i].y - c[j].y);
                if (x < cross) {
                    inside = !inside;
                }
            }
        }
        return inside;
    };
}

Shape Segment(Point a, Point b, double halfWidth) {
    return [=](double x, double y) { return DistanceToSegment({x, y}, a, b) <= halfWidth; };
}

Shape Union(std::initializer_list<Shape> parts) {
    return [p = std::vector<Shape>(parts)](double x, double y) {
        return std::any_of(p.begin(), p.end(), [x, y](const Shape& s) { return s(x, y); });
    };
}

Shape Minus(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape Intersect(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && b(x, y); };
}

Shape Shifted(Shape s, double dx, double dy) {
    return [s = std::move(s), dx, dy](double x, double y) { return s(x - dx, y - dy); };
}

Shape Pattern(std::vector<std::string_view> rows, int x, int y) {
    return [rows = std::move(rows), x, y](double px, double py) {
        const double col = std::floor(px - x);
        const double row = std::floor(py - y);
        if (col < 0 || row < 0 || row >= static_cast<double>(rows.size())) {
            return false;
        }
        const std::string_view line = rows[static_cast<std::size_t>(row)];
        return col < static_cast<double>(line.size()) && line[static_cast<std::size_t>(col)] == '#';
    };
}

void Fill(Image& image, const Shape& shape, const Paint& paint) {
    for (int py = 0; py < image.Height(); ++py) {
        for (int px = 0; px < image.Width(); ++px) {
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                const double y = py + (sy + 0.5) / kSamples;
                for (int sx = 0; sx < kSamples; ++sx) {
                    inside += shape(px + (sx + 0.5) / kSamples, y) ? 1 : 0;
                }
            }
            if (inside > 0) {
                image.Blend(px, py, paint(px + 0.5, py + 0.5),
                            static_cast<double>(inside) / (kSamples * kSamples));
            }
        }
    }
}

void Fill(Image& image, const Shape& shape, Rgba colour) {
    Fill(image, shape, [colour](double, double) { return colour; });
}

void DrawPattern(Image& image, const std::vector<std::string_view>& rows, int x, int y, std::string_view keys,
                 std::initializer_list<Rgba> colours) {
    const std::vector<Rgba> palette(colours);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t col = 0; col < rows[row].size(); ++col) {
            const std::size_t k = keys.find(rows[row][col]);
            if (k != std::string_view::npos && k < palette.size()) {
                image.Blend(x + static_cast<int>(col), y + static_cast<int>(row), palette[k], 1.0);
            }
        }
    }
}

void DrawPattern(Image& image, std::initializer_list<std::string_view> rows, int x, int y,
                 std::string_view keys, std::initializer_list<Rgba> colours) {
    DrawPattern(image, std::vector<std::string_view>(rows), x, y, keys, colours);
}

}  // namespace qzm::skin
