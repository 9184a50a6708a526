#pragma once
// Process-wide switch for the optional matrix checks (construction shape, element indexes,
// array sizes, product shapes). Off at start and never turned on by kova, whose matrices
// all have fixed 3x1 and 3x3 shapes; the sub-matrix checks are made whatever its state.

namespace kova {

namespace matrix_checking_detail {
inline bool enabled = false;
}

inline bool matrixCheckingEnabled() { return matrix_checking_detail::enabled; }
inline void setMatrixChecking(bool on) { matrix_checking_detail::enabled = on; }

}  // namespace kova
