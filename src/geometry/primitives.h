// Vector and matrix primitives: 32-bit float values, double-precision
// intermediates.
//
// Conventions: points are row vectors multiplied on the left (p' = p * M), so
// the translation lies in row 3 and in a product A * B the matrix A acts first.
// Every function reads all its operands before it writes its result, so the
// result may alias an operand. Nothing allocates and nothing reports errors;
// degenerate input follows the rules stated with each function.
#pragma once

namespace ftv {

struct Vec3 {
    float x, y, z;
};

struct Vec4 {
    float x, y, z, w;
};

// m[i][j] is row i, column j, stored row by row.
struct Mat4 {
    float m[4][4];
};

inline constexpr Mat4 kIdentityMatrix = {{{1.0f, 0.0f, 0.0f, 0.0f},
                                          {0.0f, 1.0f, 0.0f, 0.0f},
                                          {0.0f, 0.0f, 1.0f, 0.0f},
                                          {0.0f, 0.0f, 0.0f, 1.0f}}};

// The matrix that moves every point by t (t in row 3).
constexpr Mat4 translation_matrix(const Vec3& t) {
    Mat4 out = kIdentityMatrix;
    out.m[3][0] = t.x;
    out.m[3][1] = t.y;
    out.m[3][2] = t.z;
    return out;
}

// v scaled to unit length. When the full-precision length is 0 or not a
// number, the result is v unchanged.
void normalized(const Vec3& v, Vec3& out);

// Scales v to unit length in place and returns the length it had (as a float).
// Returns 0 and leaves v unchanged when that length is 0 or not a number, or
// when its reciprocal would overflow a float (length <= 2^-128). A length
// beyond the float range returns infinity and leaves (0, 0, 0).
float normalize(Vec3& v);

// p carried through m. Divides by m[3][3] alone when it is not exactly 1;
// column 3 takes no part (this is not the projective division).
void transform_point(const Vec3& p, const Mat4& m, Vec3& out);

// The row vector r times m.
void transform_row(const Vec4& r, const Mat4& m, Vec4& out);

// a * b: a acts first.
void multiply(const Mat4& a, const Mat4& b, Mat4& out);

// The rotation about axis (made unit length first) with cosine c and sine s,
// taken as given. A zero axis gives the diagonal (c, c, c, 1).
void axis_rotation(const Vec3& axis, float c, float s, Mat4& out);

}  // namespace ftv
