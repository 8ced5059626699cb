#pragma once
// Geometry and colour of the layouts computed without a device (the label mark-up, the report
// pages): points and rectangles in device pixels, and colours. The Qt adapters convert them.

#include <cstdint>

namespace cgt {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle with exclusive right and bottom edges.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect&) const = default;
};

// An RGB colour, or one of the system's colours, which the drawing surface resolves.
struct Colour {
    enum System : std::uint8_t { Rgb = 0, ButtonFace = 1, Window = 2 };
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    System system = Rgb;
    static constexpr Colour FromRgb(int r, int g, int b) {
        return Colour{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                      static_cast<std::uint8_t>(b), Rgb};
    }
    bool operator==(const Colour&) const = default;
};

} // namespace cgt
