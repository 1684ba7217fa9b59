#pragma once

#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "image.h"

namespace qzm::skin {

// Geometry is in pixel units: pixel (x, y) covers [x, x + 1) x [y, y + 1).
struct Point {
    double x = 0;
    double y = 0;
};

// A region of the plane: tells whether a point is inside.
using Shape = std::function<bool(double x, double y)>;
// A colour that may vary over the plane (gradients).
using Paint = std::function<Rgba(double x, double y)>;

Shape Rect(double x0, double y0, double x1, double y1);
Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
Shape Circle(double cx, double cy, double radius);
Shape Polygon(std::vector<Point> corners);
// A stroke of the given half width around the segment a-b, with round ends.
Shape Segment(Point a, Point b, double halfWidth);
Shape Union(std::initializer_list<Shape> parts);
Shape Minus(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Shifted(Shape s, double dx, double dy);
// The pixels marked '#' in a hand-made pattern whose top-left corner is at (x, y).
Shape Pattern(std::vector<std::string_view> rows, int x, int y);

// Paints every pixel by the share of its 16 x 16 sample points inside the shape, so edges are
// anti-aliased the same way on every run. A Paint is taken at the pixel's centre.
void Fill(Image& image, const Shape& shape, const Paint& paint);
void Fill(Image& image, const Shape& shape, Rgba colour);

// Draws a hand-made pixel pattern with its top-left corner at (x, y): every character found in `keys`
// is painted with the colour at the same position in `colours`; other characters leave the pixel.
void DrawPattern(Image& image, std::initializer_list<std::string_view> rows, int x, int y,
                 std::string_view keys, std::initializer_list<Rgba> colours);
void DrawPattern(Image& image, const std::vector<std::string_view>& rows, int x, int y, std::string_view keys,
                 std::initializer_list<Rgba> colours);

}  // namespace qzm::skin
