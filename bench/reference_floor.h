// The per-part math of the update pass written plainly, to measure against:
// double intermediates throughout, the C library's trigonometry and square
// root, full 4x4 products. It shares no code with the project (its results
// need not be the module's bits, only the same transformation within float
// rounding), so the module's math is timed against what a first careful
// implementation would cost.
#pragma once

namespace reference {

struct Matrix {
    float m[4][4];
};

struct Point {
    float x, y, z;
};

// The transformation that turns a part whose coordinates part_to_world
// carries into the world toward the eye about its pivot:
// T(-pivot) * S * Rx(-x) * Ry(-y) * Rz(-z) * T(pivot), with S the shortest
// turn of +Z onto the direction from the pivot to the eye and x, y, z the
// Euler angles (Rx * Ry * Rz) of part_to_world.
Matrix facing(const Matrix& part_to_world, const Point& pivot, const Point& eye);

}  // namespace reference
