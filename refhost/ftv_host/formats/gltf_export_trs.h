// A transformation as glTF's nodes and animations hold it: a translation, a
// rotation and a scale per axis (glTF's T * R * S for column vectors is, in
// the row-vector convention, S, then R, then T), and the nearest such to any
// matrix.
#pragma once

#include <ImathQuat.h>

#include "geometry/primitives.h"
#include "scene/imath_values.h"

namespace ftv_cli {

// Stored as the floats glTF keeps, so that a node's TRS and its animation's
// keys say the same.
struct Trs {
    ftv::Vec3 translation = {0, 0, 0};
    Imath::Quatf rotation;  // a unit quaternion; r is glTF's w
    ftv::Vec3 scale = {1, 1, 1};
};

// Whether m is already a translation, a rotation and a scale, to within a
// millionth: its rows orthogonal, its column 3 (0, 0, 0, 1), not flat.
bool is_trs(const ftv::Mat4& m);

// The TRS nearest m in the least-squares sense of its upper 3x3 block
// (alternately the rotation nearest the rows as scaled, and the scales that
// best fit the rows to that rotation); row 3 is the translation, column 3 is
// not read. A mirroring m gets a negative scale. Elements must be finite.
Trs nearest_trs(const ftv::Mat4& m);

// The matrix of a TRS, in the row-vector convention.
refhost::M44d trs_matrix(const Trs& trs);

// How far the TRS's 3x3 block is from m's, relative to m's: |A - B| / |A|
// (Frobenius norms); 0 for a zero block.
double trs_error(const ftv::Mat4& m, const Trs& trs);

}  // namespace ftv_cli
