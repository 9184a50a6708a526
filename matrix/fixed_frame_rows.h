#pragma once
// The attitude computation on fixed 3-element rows held by value: the same arithmetic as the
// Matrix versions of cross, norm, unit, orbitFrame, quaternionMatrix and the product with a
// transpose, operation for operation (sums start from 0.0 and run from element 1 up, a unit
// vector is a product with one reciprocal), so every result is the same double. Written out
// here so that the per-record path is a few dozen inlined operations with no matrix objects.
//
// The element type is DoublePair (or double, the same arithmetic on one value): two records
// computed side by side, every operation applied to each lane on its own. The work of one record is a long chain of
// square roots and divisions, each waiting for the one before; two independent chains
// interleaved keep the processor busy while either waits, and the values stay those of
// the double version exactly.
#include <array>
#include <cmath>
#include <cstddef>

namespace kova::fixed_frame {

class DoublePair {
public:
    DoublePair() = default;
    // The same value in both lanes (the constants of the computation).
    explicit DoublePair(double both) : lanes_{both, both} {}
    DoublePair(double firstValue, double secondValue) : lanes_{firstValue, secondValue} {}

    double first() const { return lanes_[0]; }
    double second() const { return lanes_[1]; }

#if defined(__GNUC__)
    // With the compiler's vectors each operation is one instruction on both lanes, rounded
    // as each lane's own scalar operation would be.
    friend DoublePair operator+(DoublePair a, DoublePair b) { return DoublePair(a.lanes_ + b.lanes_); }
    friend DoublePair operator-(DoublePair a, DoublePair b) { return DoublePair(a.lanes_ - b.lanes_); }
    friend DoublePair operator*(DoublePair a, DoublePair b) { return DoublePair(a.lanes_ * b.lanes_); }
    friend DoublePair operator/(DoublePair a, DoublePair b) { return DoublePair(a.lanes_ / b.lanes_); }
    friend DoublePair operator-(DoublePair a) { return DoublePair(-a.lanes_); }
#else
    friend DoublePair operator+(DoublePair a, DoublePair b) { return {a.first() + b.first(), a.second() + b.second()}; }
    friend DoublePair operator-(DoublePair a, DoublePair b) { return {a.first() - b.first(), a.second() - b.second()}; }
    friend DoublePair operator*(DoublePair a, DoublePair b) { return {a.first() * b.first(), a.second() * b.second()}; }
    friend DoublePair operator/(DoublePair a, DoublePair b) { return {a.first() / b.first(), a.second() / b.second()}; }
    friend DoublePair operator-(DoublePair a) { return {-a.first(), -a.second()}; }
#endif
    friend DoublePair sqrt(DoublePair a) { return {std::sqrt(a.first()), std::sqrt(a.second())}; }

private:
#if defined(__GNUC__)
    typedef double Lanes __attribute__((vector_size(2 * sizeof(double))));
    explicit DoublePair(Lanes lanes) : lanes_(lanes) {}
#else
    using Lanes = std::array<double, 2>;
#endif
    Lanes lanes_{0.0, 0.0};
};

template <typename Value>
using Row3 = std::array<Value, 3>;
template <typename Value>
using Rows3x3 = std::array<Row3<Value>, 3>;

template <typename Value>
inline Row3<Value> negated(const Row3<Value>& a) {
    return {-a[0], -a[1], -a[2]};
}

// (a2 b3 - a3 b2, a3 b1 - a1 b3, a1 b2 - a2 b1)
template <typename Value>
inline Row3<Value> cross(const Row3<Value>& a, const Row3<Value>& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

template <typename Value>
inline Value norm(const Row3<Value>& a) {
    using std::sqrt;
    Value sum(0.0);
    for (const Value& element : a) sum = sum + element * element;
    return sqrt(sum);
}

template <typename Value>
inline Row3<Value> unit(const Row3<Value>& a) {
    const Value reciprocal = Value(1.0) / norm(a);
    return {a[0] * reciprocal, a[1] * reciprocal, a[2] * reciprocal};
}

// Rows x, y, z of the orbital frame (see orbitFrame in matrix/frame_matrices.h).
template <typename Value>
inline Rows3x3<Value> orbitFrame(const Row3<Value>& position, const Row3<Value>& velocity) {
    const Row3<Value> z = unit(negated(position));
    const Row3<Value> y = unit(negated(cross(position, velocity)));
    const Row3<Value> x = unit(cross(y, z));
    return {x, y, z};
}

// Rows of the direction cosine matrix of (q1, q2, q3, q4), q4 the scalar part.
template <typename Value>
inline Rows3x3<Value> quaternionMatrix(const Value& q1, const Value& q2, const Value& q3, const Value& q4) {
    const Value two(2.0);
    return {Row3<Value>{q1 * q1 - q2 * q2 - q3 * q3 + q4 * q4, two * (q1 * q2 + q3 * q4), two * (q1 * q3 - q2 * q4)},
            Row3<Value>{two * (q1 * q2 - q3 * q4), -q1 * q1 + q2 * q2 - q3 * q3 + q4 * q4, two * (q2 * q3 + q1 * q4)},
            Row3<Value>{two * (q1 * q3 + q2 * q4), two * (q2 * q3 - q1 * q4), -q1 * q1 - q2 * q2 + q3 * q3 + q4 * q4}};
}

// Element (i, j) of a * transpose(b), 0-based: row i of a times row j of b, summed from 0.0.
template <typename Value>
inline Value productWithTransposeElement(const Rows3x3<Value>& a, const Rows3x3<Value>& b, std::size_t i, std::size_t j) {
    Value sum(0.0);
    for (std::size_t k = 0; k < 3; ++k) sum = sum + a[i][k] * b[j][k];
    return sum;
}

}  // namespace kova::fixed_frame
