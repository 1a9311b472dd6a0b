#include "engine/vector.h"

#include <gtest/gtest.h>

using namespace lumidor;

namespace {

void ExpectVectorNear(const TVector3& actual, float x, float y, float z) {
    EXPECT_NEAR(actual.x, x, 1e-6f);
    EXPECT_NEAR(actual.y, y, 1e-6f);
    EXPECT_NEAR(actual.z, z, 1e-6f);
}

} // namespace

TEST(Normalize, ZeroVectorStaysZero) {
    TVector3 v{};
    Normalize(v);
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
}

TEST(Normalize, ScalesToUnitLength) {
    TVector3 v = MakeVector(3, 0, 4);
    Normalize(v);
    ExpectVectorNear(v, 0.6f, 0.0f, 0.8f);
    TVector3 tiny = MakeVector(1e-20f, 0, 0);
    Normalize(tiny);
    EXPECT_NEAR(VectorLength(tiny), 1.0f, 1e-6f);
}

TEST(TriangleNormal, OperandOrderGivesUpwardNormalOfFlatCell) {
    ExpectVectorNear(TriangleNormal({0, 0, 0}, {0, 0, 1}, {1, 0, 1}), 0, 1, 0);
    ExpectVectorNear(TriangleNormal({0, 7, 0}, {0, 7, 1}, {1, 7, 1}), 0, 1, 0);
}

TEST(TriangleNormal, SwappingTwoPointsFlipsIt) {
    ExpectVectorNear(TriangleNormal({0, 0, 1}, {0, 0, 0}, {1, 0, 1}), 0, -1, 0);
    ExpectVectorNear(TriangleNormal({1, 0, 1}, {0, 0, 1}, {0, 0, 0}), 0, -1, 0);
    ExpectVectorNear(TriangleNormal({0, 0, 0}, {1, 0, 1}, {0, 0, 1}), 0, -1, 0);
}

TEST(TriangleNormal, CollinearPointsGiveZero) {
    ExpectVectorNear(TriangleNormal({0, 0, 0}, {1, 1, 1}, {2, 2, 2}), 0, 0, 0);
}

TEST(VectorFunctions, ArithmeticAndDistance) {
    ExpectVectorNear(VectorAdd({1, 2, 3}, {4, 5, 6}), 5, 7, 9);
    ExpectVectorNear(VectorSub({1, 2, 3}, {4, 5, 6}), -3, -3, -3);
    ExpectVectorNear(CrossProduct({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
    EXPECT_FLOAT_EQ(DotProduct({1, 2, 3}, {4, 5, 6}), 32.0f);
    const TVector3 a{1, -2, 5}, b{-3, 4, 2};
    EXPECT_FLOAT_EQ(Distance(a, b), Distance(b, a));
    EXPECT_GE(Distance(a, b), 0.0f);
    EXPECT_FLOAT_EQ(Distance(a, a), 0.0f);
    EXPECT_FLOAT_EQ(VectorLength({2, 3, 6}), 7.0f);
}
