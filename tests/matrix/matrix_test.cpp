#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "matrix/column_vector.h"
#include "matrix/matrix.h"
#include "matrix/matrix_error.h"

namespace kova {
namespace {

Matrix fromRows(std::uint32_t rows, std::uint32_t cols, const std::vector<double>& values) {
    Matrix m(rows, cols, 0.0);
    m.setFromArray(values);
    return m;
}

TEST(MatrixTest, ElementsAreRowMajorAndOneBased) {
    Matrix m = fromRows(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(m(1, 1), 1.0);
    EXPECT_EQ(m(1, 3), 3.0);
    EXPECT_EQ(m(2, 1), 4.0);
    EXPECT_EQ(m(2, 3), 6.0);
    EXPECT_EQ(Matrix(2, 2, 0.5)(2, 2), 0.5);
}

TEST(MatrixTest, CopiesAreDeepForInlineAndHeapShapes) {
    for (std::uint32_t size : {3u, 4u}) {  // 3x3 fits inside the object, 4x4 does not
        SCOPED_TRACE(size);
        Matrix original(size, size, 1.0);
        Matrix copy(original);
        Matrix assigned(1, 1, 0.0);
        assigned = original;
        original(size, size) = 9.0;
        EXPECT_EQ(copy(size, size), 1.0);
        EXPECT_EQ(assigned(size, size), 1.0);
        EXPECT_EQ(assigned.rows(), size);
        EXPECT_EQ(assigned.cols(), size);
        assigned = Matrix(2, 1, 3.0);  // heap shape back to an inline one
        EXPECT_EQ(assigned(2, 1), 3.0);
        EXPECT_EQ(assigned.elementCount(), 2u);
    }
}

TEST(MatrixTest, ProductSumsFromZeroInColumnOrder) {
    Matrix a = fromRows(2, 3, {1, 2, 3, 4, 5, 6});
    Matrix b = fromRows(3, 2, {7, 8, 9, 10, 11, 12});
    Matrix c = a * b;
    ASSERT_EQ(c.rows(), 2u);
    ASSERT_EQ(c.cols(), 2u);
    EXPECT_EQ(c(1, 1), 58.0);
    EXPECT_EQ(c(1, 2), 64.0);
    EXPECT_EQ(c(2, 1), 139.0);
    EXPECT_EQ(c(2, 2), 154.0);

    // ((0 + 1e16) + 1) - 1e16 loses the 1; any other order would keep it.
    Matrix row = fromRows(1, 3, {1e16, 1.0, -1e16});
    EXPECT_EQ((row * Matrix(3, 1, 1.0))(1, 1), 0.0);
    // The sum starts at +0.0, so a single -0.0 product comes out as +0.0.
    EXPECT_FALSE(std::signbit((Matrix(1, 1, -0.0) * Matrix(1, 1, 1.0))(1, 1)));
}

TEST(MatrixTest, QuotientMultipliesByTheReciprocal) {
    // -7e6 / 7e6 is -1 as a true division; times the rounded 1/7e6 it is one ulp short.
    EXPECT_EQ((Matrix(1, 1, -7000000.0) / 7000000.0)(1, 1), -0.9999999999999999);
    EXPECT_EQ((Matrix(1, 1, 3.0) * 0.5)(1, 1), 1.5);
    EXPECT_EQ((-Matrix(1, 1, 3.0))(1, 1), -3.0);
}

TEST(MatrixTest, TransposeSwapsShapeAndIndexes) {
    Matrix t = transpose(fromRows(2, 3, {1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(t.rows(), 3u);
    ASSERT_EQ(t.cols(), 2u);
    EXPECT_EQ(t(1, 2), 4.0);
    EXPECT_EQ(t(3, 1), 3.0);
    EXPECT_EQ(t(3, 2), 6.0);
}

TEST(MatrixTest, ColumnVectorFunctions) {
    Matrix c = cross(fromRows(3, 1, {1, 0, 0}), fromRows(3, 1, {0, 1, 0}));
    EXPECT_EQ(c(1, 1), 0.0);
    EXPECT_EQ(c(2, 1), 0.0);
    EXPECT_EQ(c(3, 1), 1.0);
    Matrix d = cross(fromRows(3, 1, {2, 3, 4}), fromRows(3, 1, {5, 6, 7}));
    EXPECT_EQ(d(1, 1), -3.0);
    EXPECT_EQ(d(2, 1), 6.0);
    EXPECT_EQ(d(3, 1), -3.0);
    EXPECT_EQ(norm(fromRows(3, 1, {3, 4, 12})), 13.0);
    Matrix u = unit(fromRows(3, 1, {0, 0, -8}));
    EXPECT_EQ(u(3, 1), -1.0);
}

TEST(SubMatrixTest, AssignmentCopiesTheBlockAtTheCorner) {
    Matrix m(3, 3, 0.0);
    m.sub(2, 1) = fromRows(1, 3, {1, 2, 3});
    for (std::uint32_t j = 1; j <= 3; ++j) {
        EXPECT_EQ(m(1, j), 0.0);
        EXPECT_EQ(m(2, j), static_cast<double>(j));
        EXPECT_EQ(m(3, j), 0.0);
    }
    m.sub(2, 2) = fromRows(2, 2, {5, 6, 7, 8});
    EXPECT_EQ(m(2, 1), 1.0);
    EXPECT_EQ(m(2, 2), 5.0);
    EXPECT_EQ(m(3, 3), 8.0);
}

struct ErrorCase {
    const char* name;
    std::uint32_t firstRow;
    std::uint32_t firstCol;
    std::uint32_t sourceRows;  // 0: no assignment, the corner itself is wrong
    std::uint32_t sourceCols;
    std::string message;
    std::array<std::uint32_t, 4> values;
};

// These checks are made whatever the state of the checking switch.
TEST(SubMatrixTest, CornerAndFitAreAlwaysChecked) {
    const ErrorCase cases[] = {
        {"column past the end", 1, 4, 0, 0, "subarray constructor", {3, 3, 1, 4}},
        {"row past the end", 4, 1, 0, 0, "subarray constructor", {3, 3, 4, 1}},
        {"row 0", 0, 1, 0, 0, "subarray constructor", {3, 3, 0, 1}},
        {"column 0", 1, 0, 0, 0, "subarray constructor", {3, 3, 1, 0}},
        {"row too long", 2, 2, 1, 3, "subarray assignment", {3, 3, 1, 3}},
        {"column too long", 3, 1, 2, 1, "subarray assignment", {3, 3, 2, 1}},
        {"larger than target", 1, 1, 4, 4, "subarray assignment", {3, 3, 4, 4}},
    };
    for (bool checking : {false, true}) {
        setMatrixChecking(checking);
        for (const ErrorCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (checking ? " checking on" : " checking off"));
            Matrix target(3, 3, 0.0);
            try {
                if (c.sourceRows == 0) {
                    target.sub(c.firstRow, c.firstCol);
                } else {
                    target.sub(c.firstRow, c.firstCol) = Matrix(c.sourceRows, c.sourceCols, 1.0);
                }
                ADD_FAILURE() << "no MatrixError";
            } catch (const MatrixError& error) {
                EXPECT_EQ(error.message(), c.message);
                EXPECT_EQ(error.values(), c.values);
            }
            EXPECT_EQ(target(1, 1), 0.0);  // nothing was copied
        }
    }
    setMatrixChecking(false);
}

// Restores the process-wide switch whatever a test does.
class CheckingSwitch {
public:
    explicit CheckingSwitch(bool on) { setMatrixChecking(on); }
    ~CheckingSwitch() { setMatrixChecking(false); }
};

MatrixError thrownBy(const std::function<void()>& action) {
    try {
        action();
    } catch (const MatrixError& error) {
        return error;
    }
    return MatrixError("nothing thrown", 0, 0, 0, 0);
}

TEST(MatrixCheckingTest, OffAtStart) { EXPECT_FALSE(matrixCheckingEnabled()); }

TEST(MatrixCheckingTest, SwitchOnChecksShapesAndIndexes) {
    CheckingSwitch on(true);
    Matrix m(3, 3, 0.0);
    const Matrix column(3, 1, 0.0);
    struct Case {
        const char* name;
        std::function<void()> action;
        std::string message;
        std::array<std::uint32_t, 4> values;
    } cases[] = {
        {"no rows", [] { Matrix(0, 3, 0.0); }, "matrix constructor", {0, 3, 1, 1}},
        {"no cols", [] { Matrix(2, 0, 0.0); }, "matrix constructor", {2, 0, 1, 1}},
        {"row 0", [&] { m(0, 1); }, "zero index", {0, 1, 1, 1}},
        {"zero before bounds", [&] { m(0, 5); }, "zero index", {0, 5, 1, 1}},
        {"row past end", [&] { m(4, 2); }, "Matrix index \"()\"", {3, 3, 4, 2}},
        {"col past end", [&] { column(1, 2); }, "Matrix index \"()\"", {3, 1, 1, 2}},
        {"short array", [&] { m.setFromArray(std::vector<double>(2)); }, "getarray", {3, 3, 2, 0}},
        {"long array", [&] { m.setFromArray(std::vector<double>(10)); }, "getarray", {3, 3, 10, 0}},
        {"product shapes", [&] { column * column; }, "Matrix multiply \"*\"", {3, 1, 3, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MatrixError error = thrownBy(c.action);
        EXPECT_EQ(error.message(), c.message);
        EXPECT_EQ(error.values(), c.values);
    }
    EXPECT_EQ(thrownBy([&] { m(3, 3) = 1.0; }).message(), "nothing thrown");
}

TEST(MatrixCheckingTest, SwitchOffTrustsShapes) {
    EXPECT_EQ(thrownBy([] { Matrix(0, 3, 0.0); }).message(), "nothing thrown");
    // A short array fills what it has and reads nothing beyond its end.
    Matrix m(3, 1, 7.0);
    m.setFromArray(std::vector<double>{1.0, 2.0});
    EXPECT_EQ(m(1, 1), 1.0);
    EXPECT_EQ(m(2, 1), 2.0);
    EXPECT_EQ(m(3, 1), 7.0);
}

}  // namespace
}  // namespace kova
