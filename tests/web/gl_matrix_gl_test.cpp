// The WebGL renderer's matrix stack against the fixed-function matrices of a real OpenGL (Mesa under
// Xvfb): every call the project makes (glTranslatef, glRotatef, glScalef, glOrtho, gluPerspective)
// alone and in the sequences the frame uses must give the matrix GL itself would hold.

#include "../gl/gl_context.h"

#include "web/gl_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace lumidor;
using namespace lumidor::web;

namespace {

// One operation done both ways: on GL's current matrix and as the matrix to multiply with.
struct TOperation {
    std::function<void()> OnGL;
    TMatrix4 Matrix;
};

TOperation Translate(float x, float y, float z) {
    return {[=] { GL.Translatef(x, y, z); }, TranslationMatrix(x, y, z)};
}
TOperation Rotate(float angle, float x, float y, float z) {
    return {[=] { GL.Rotatef(angle, x, y, z); }, RotationMatrix(angle, x, y, z)};
}
TOperation Scale(float x, float y, float z) {
    return {[=] { GL.Scalef(x, y, z); }, ScaleMatrix(x, y, z)};
}
TOperation Ortho(double l, double r, double b, double t, double n, double f) {
    return {[=] { GL.Ortho(l, r, b, t, n, f); }, OrthoMatrix(l, r, b, t, n, f)};
}
TOperation Perspective(double fovy, double aspect, double n, double f) {
    return {[=] { GL.gluPerspective(fovy, aspect, n, f); }, PerspectiveMatrix(fovy, aspect, n, f)};
}

// Applies the sequence to GL's modelview and to an identity, and compares the two matrices.
void ExpectSameAsGL(const std::vector<TOperation>& operations, const char* what) {
    GL.MatrixMode(GL_MODELVIEW);
    GL.LoadIdentity();
    TMatrix4 ours = IdentityMatrix();
    for (const TOperation& operation : operations) {
        operation.OnGL();
        ours = MultiplyMatrices(ours, operation.Matrix);
    }
    float theirs[16];
    GL.GetFloatv(GL_MODELVIEW_MATRIX, theirs);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(ours[std::size_t(i)], theirs[i], 1e-5f * std::max(1.0f, std::fabs(theirs[i])))
            << what << ", element " << i;
}

class WebMatrixAgainstGL : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!lumidor::testing::EnsureGLContext()) GTEST_SKIP() << "no OpenGL context (run under xvfb-run)";
    }
};

TEST_F(WebMatrixAgainstGL, SingleOperationsMatch) {
    ExpectSameAsGL({Translate(1.5f, -2.0f, 3.25f)}, "translate");
    ExpectSameAsGL({Scale(2.0f, -0.5f, 4.0f)}, "scale");
    ExpectSameAsGL({Rotate(25.0f, 1.0f, 0.0f, 0.0f)}, "rotate about x");
    ExpectSameAsGL({Rotate(-90.0f, 0.0f, 1.0f, 0.0f)}, "rotate about y");
    ExpectSameAsGL({Rotate(33.0f, 1.0f, 2.0f, -3.0f)}, "rotate about an axis that is not of unit length");
    ExpectSameAsGL({Rotate(720.5f, 0.0f, 0.0f, 5.0f)}, "rotate beyond a full turn");
    ExpectSameAsGL({Ortho(0.0, 800.0, 600.0, 0.0, 0.0, 100.0)}, "the banner's pixel projection");
    ExpectSameAsGL({Ortho(-2.0, 3.0, -1.0, 4.0, -5.0, 7.0)}, "an off-centre ortho");
    ExpectSameAsGL({Perspective(45.0, 800.0 / 600.0, 0.05, 100.0)}, "the frame's perspective");
    ExpectSameAsGL({Perspective(90.0, 0.5, 1.0, 10.0)}, "a tall perspective");
}

TEST_F(WebMatrixAgainstGL, FrameSequencesMatch) {
    // The stress test's camera and terrain placement on top of the frame's translation.
    ExpectSameAsGL(
        {Translate(0, 0, -5), Translate(0, 3, -5), Rotate(45, 1, 0, 0), Translate(-6.4f, -1, -6.4f)},
        "stress test");
    ExpectSameAsGL({Perspective(45, 4.0 / 3.0, 0.05, 100), Translate(0, 0, -5), Rotate(10, 1, 0, 0)},
                   "projection times modelview");
    ExpectSameAsGL({Scale(1, 2, 3), Rotate(60, 0, 1, 1), Translate(4, 5, 6), Rotate(-15, 1, 0, 0)}, "mixed");
}

TEST(WebMatrix, DegenerateInputsLeaveTheMatrixUsable) {
    // GL leaves these undefined; the renderer must not fill its stack with NaN.
    EXPECT_EQ(RotationMatrix(30.0f, 0.0f, 0.0f, 0.0f), IdentityMatrix());
    EXPECT_EQ(PerspectiveMatrix(45.0, 1.0, 1.0, 1.0), IdentityMatrix());
    EXPECT_EQ(PerspectiveMatrix(0.0, 1.0, 0.1, 10.0), IdentityMatrix());
    const std::array<float, 9> identity = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(NormalMatrix(ScaleMatrix(1.0f, 0.0f, 1.0f)), identity);
}

TEST(WebMatrix, NormalMatrixKeepsNormalsPerpendicular) {
    // After a non-uniform scale a surface's normal must stay perpendicular to its tangents.
    const TMatrix4 m =
        MultiplyMatrices(RotationMatrix(30.0f, 0.0f, 1.0f, 0.0f), ScaleMatrix(1.0f, 4.0f, 0.5f));
    const std::array<float, 9> n = NormalMatrix(m);
    const float tangent[3] = {1.0f, 1.0f, 0.0f}; // in the plane whose normal is (1, -1, 0)
    const float normal[3] = {1.0f, -1.0f, 0.0f};
    const std::array<float, 4> t = TransformPoint(m, tangent[0], tangent[1], tangent[2], 0.0f);
    float transformed[3] = {};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            transformed[r] += n[std::size_t(c * 3 + r)] * normal[c];
    EXPECT_NEAR(t[0] * transformed[0] + t[1] * transformed[1] + t[2] * transformed[2], 0.0f, 1e-5f);
    // A point keeps its w: the light position (w = 1) is a point, a direction (w = 0) is not moved.
    EXPECT_EQ(TransformPoint(TranslationMatrix(1, 2, 3), 0, 0, 0, 0), (std::array<float, 4>{0, 0, 0, 0}));
    EXPECT_EQ(TransformPoint(TranslationMatrix(1, 2, 3), 0, 0, 0, 1), (std::array<float, 4>{1, 2, 3, 1}));
}

} // namespace
