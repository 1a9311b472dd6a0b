// The WebGL renderer's primitive expansion and near-plane clipping, natively: what WebGL is handed
// must be the primitive GL would draw, and nothing that reaches behind the camera may get through
// unclipped.

#include "web/gl_primitives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

using namespace lumidor::web;

namespace {

// A vertex whose every attribute is derived from one number, so a vertex can be told by its colour.
TVertex At(float x, float y, float z, float tag = 0.0f) {
    return {{x, y, z}, {tag, 1.0f - tag, 0.5f, 1.0f}, {tag, 2.0f * tag}, {0.0f, 0.0f, 1.0f}};
}

std::vector<float> Tags(const std::vector<TVertex>& vertices) {
    std::vector<float> tags;
    for (const TVertex& v : vertices)
        tags.push_back(v.Color[0]);
    return tags;
}

std::vector<TVertex> Tagged(std::size_t count) {
    std::vector<TVertex> vertices;
    for (std::size_t i = 0; i < count; ++i)
        vertices.push_back(At(float(i), 0.0f, -2.0f, float(i)));
    return vertices;
}

// A 90-degree perspective with its near plane at eye z = -1 and the far plane at -10, eye at the
// origin: z + w in clip space is -(20/9)(z + 1), so a cut at the near plane is easy to predict.
const TMatrix4 kPerspective = PerspectiveMatrix(90.0, 1.0, 1.0, 10.0);

float NearDistance(const TVertex& v) {
    const std::array<float, 4> c =
        TransformPoint(kPerspective, v.Position[0], v.Position[1], v.Position[2], 1.0f);
    return c[2] + c[3];
}

void ExpectAllInFront(const std::vector<TVertex>& vertices) {
    for (const TVertex& v : vertices) {
        EXPECT_GE(NearDistance(v), -1e-5f)
            << "a vertex at eye z " << v.Position[2] << " is behind the near plane";
        const std::array<float, 4> c =
            TransformPoint(kPerspective, v.Position[0], v.Position[1], v.Position[2], 1.0f);
        EXPECT_GT(c[3], 0.0f) << "clip w must stay positive";
    }
}

TEST(WebPrimitives, QuadsAndPolygonsBecomeWhatWebGLDraws) {
    std::vector<TVertex> out = {At(9, 9, 9, 0.9f)}; // appended to, not replaced
    EXPECT_EQ(ExpandPrimitive(TPrimitive::Quads, Tagged(10), out), TPrimitive::Triangles);
    // Two whole quads; the two vertices of a partial third are dropped, as GL drops them.
    EXPECT_EQ(Tags(out), (std::vector<float>{0.9f, 0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));

    out.clear();
    EXPECT_EQ(ExpandPrimitive(TPrimitive::QuadStrip, Tagged(6), out), TPrimitive::Triangles);
    // Quad strip quads are 0 1 3 2 and 2 3 5 4.
    EXPECT_EQ(Tags(out), (std::vector<float>{0, 1, 3, 0, 3, 2, 2, 3, 5, 2, 5, 4}));

    out.clear();
    EXPECT_EQ(ExpandPrimitive(TPrimitive::QuadStrip, Tagged(3), out), TPrimitive::Triangles);
    EXPECT_TRUE(out.empty()) << "three vertices make no quad";

    out.clear();
    EXPECT_EQ(ExpandPrimitive(TPrimitive::Polygon, Tagged(5), out), TPrimitive::TriangleFan);
    EXPECT_EQ(Tags(out), (std::vector<float>{0, 1, 2, 3, 4}));
    for (TPrimitive mode : {TPrimitive::Points, TPrimitive::LineLoop, TPrimitive::TriangleStrip}) {
        out.clear();
        EXPECT_EQ(ExpandPrimitive(mode, Tagged(4), out), mode);
        EXPECT_EQ(Tags(out), (std::vector<float>{0, 1, 2, 3}));
    }
}

TEST(WebPrimitives, StripsFansAndLoopsUnrollKeepingTheirWinding) {
    std::vector<TVertex> out;
    EXPECT_EQ(Unroll(TPrimitive::TriangleStrip, Tagged(5), out), TPrimitive::Triangles);
    // GL's strip: triangle 1 is (2, 1, 3), not (1, 2, 3), so that every triangle faces the same way.
    EXPECT_EQ(Tags(out), (std::vector<float>{0, 1, 2, 2, 1, 3, 2, 3, 4}));

    out.clear();
    EXPECT_EQ(Unroll(TPrimitive::TriangleFan, Tagged(5), out), TPrimitive::Triangles);
    EXPECT_EQ(Tags(out), (std::vector<float>{0, 1, 2, 0, 2, 3, 0, 3, 4}));

    out.clear();
    EXPECT_EQ(Unroll(TPrimitive::LineStrip, Tagged(3), out), TPrimitive::Lines);
    EXPECT_EQ(Tags(out), (std::vector<float>{0, 1, 1, 2}));

    out.clear();
    EXPECT_EQ(Unroll(TPrimitive::LineLoop, Tagged(3), out), TPrimitive::Lines);
    EXPECT_EQ(Tags(out), (std::vector<float>{0, 1, 1, 2, 2, 0}));

    out.clear();
    EXPECT_EQ(Unroll(TPrimitive::TriangleStrip, Tagged(2), out), TPrimitive::Triangles);
    EXPECT_TRUE(out.empty()) << "two vertices make no triangle";

    out.clear();
    EXPECT_EQ(Unroll(TPrimitive::Triangles, Tagged(3), out), TPrimitive::Triangles);
    EXPECT_EQ(Tags(out), (std::vector<float>{0, 1, 2}));
}

TEST(WebPrimitives, InterpolationMixesEveryAttribute) {
    const TVertex a = At(0, 0, -3, 0.0f);
    TVertex b = At(4, 2, 1, 1.0f);
    b.Normal[0] = 1.0f;
    const TVertex middle = Interpolate(a, b, 0.25f);
    EXPECT_FLOAT_EQ(middle.Position[0], 1.0f);
    EXPECT_FLOAT_EQ(middle.Position[1], 0.5f);
    EXPECT_FLOAT_EQ(middle.Position[2], -2.0f);
    EXPECT_FLOAT_EQ(middle.Color[0], 0.25f);
    EXPECT_FLOAT_EQ(middle.Color[1], 0.75f);
    EXPECT_FLOAT_EQ(middle.Color[3], 1.0f);
    EXPECT_FLOAT_EQ(middle.TexCoord[1], 0.5f);
    EXPECT_FLOAT_EQ(middle.Normal[0], 0.25f);
    EXPECT_FLOAT_EQ(middle.Normal[2], 1.0f);
    EXPECT_EQ(Tags({Interpolate(a, b, 0.0f), Interpolate(a, b, 1.0f)}), (std::vector<float>{0.0f, 1.0f}));
}

TEST(WebPrimitives, WhatLiesInFrontOfTheNearPlaneIsLeftAlone) {
    // A strip in front stays a strip: WebGL draws it as it is.
    std::vector<TVertex> strip = {At(-1, 0, -2, 0.1f), At(1, 0, -2, 0.2f), At(0, 1, -5, 0.3f),
                                  At(1, 1, -9, 0.4f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::TriangleStrip, strip, kPerspective), TPrimitive::TriangleStrip);
    EXPECT_EQ(Tags(strip), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));

    // A vertex exactly on the plane is inside: the banner lies on the near plane of its ortho view.
    const TMatrix4 banner = OrthoMatrix(0.0, 800.0, 600.0, 0.0, 0.0, 100.0);
    std::vector<TVertex> quad = {At(500, 0, 0, 0.1f), At(800, 0, 0, 0.2f), At(800, 80, 0, 0.3f),
                                 At(500, 80, 0, 0.4f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::TriangleFan, quad, banner), TPrimitive::TriangleFan);
    EXPECT_EQ(quad.size(), 4u);

    // Points are WebGL's to drop whole, in front or not.
    std::vector<TVertex> points = {At(0, 0, -2, 0.1f), At(0, 0, 3, 0.2f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::Points, points, kPerspective), TPrimitive::Points);
    EXPECT_EQ(points.size(), 2u);
}

TEST(WebPrimitives, ATriangleCrossingTheNearPlaneIsCutAtIt) {
    // One corner behind the camera: what is left in front is a quad, drawn as two triangles.
    std::vector<TVertex> triangle = {At(-1, 0, -3, 0.0f), At(1, 0, -3, 0.5f), At(0, 0, 1, 1.0f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::Triangles, triangle, kPerspective), TPrimitive::Triangles);
    ASSERT_EQ(triangle.size(), 6u);
    ExpectAllInFront(triangle);
    int onPlane = 0;
    for (const TVertex& v : triangle) {
        if (std::fabs(v.Position[2] + 1.0f) > 1e-5f) continue;
        ++onPlane;
        // Halfway from z = -3 to z = 1: position and colour halfway along their edge.
        EXPECT_NEAR(v.Color[0], v.Position[0] < 0.0f ? 0.5f : 0.75f, 1e-5f);
        EXPECT_NEAR(std::fabs(v.Position[0]), 0.5f, 1e-5f);
    }
    EXPECT_GE(onPlane, 2) << "the cut edge lies on the near plane";

    // Two corners behind: one smaller triangle, its tip untouched.
    std::vector<TVertex> sliver = {At(-1, 0, 0.5f, 0.0f), At(1, 0, 0.5f, 0.5f), At(0, 0, -4, 1.0f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::Triangles, sliver, kPerspective), TPrimitive::Triangles);
    ASSERT_EQ(sliver.size(), 3u);
    ExpectAllInFront(sliver);
    EXPECT_EQ(
        std::count_if(sliver.begin(), sliver.end(), [](const TVertex& v) { return v.Color[0] == 1.0f; }), 1);

    // Wholly behind: nothing is drawn, and a fan is unrolled before it is clipped.
    std::vector<TVertex> behind = {At(-1, 0, 1, 0.0f), At(1, 0, 1, 0.5f), At(0, 1, 2, 1.0f),
                                   At(0, 2, 3, 1.0f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::TriangleFan, behind, kPerspective), TPrimitive::Triangles);
    EXPECT_TRUE(behind.empty());
}

TEST(WebPrimitives, AFloorReachingBehindTheCameraKeepsItsPartInFront) {
    // The floor under a camera looking down it: a quad from far ahead to behind the eye.
    std::vector<TVertex> floor = {At(-5, -1, -8, 0.1f), At(5, -1, -8, 0.2f), At(5, -1, 4, 0.3f),
                                  At(-5, -1, 4, 0.4f)};
    std::vector<TVertex> expanded;
    TPrimitive mode = ExpandPrimitive(TPrimitive::Quads, floor, expanded);
    mode = ClipToNearPlane(mode, expanded, kPerspective);
    EXPECT_EQ(mode, TPrimitive::Triangles);
    ASSERT_FALSE(expanded.empty());
    EXPECT_EQ(expanded.size() % 3, 0u);
    ExpectAllInFront(expanded);
    float nearest = -100.0f;
    for (const TVertex& v : expanded)
        nearest = std::max(nearest, v.Position[2]);
    EXPECT_NEAR(nearest, -1.0f, 1e-5f) << "the floor reaches up to the near plane, no further";
}

TEST(WebPrimitives, ALineIsCutAtTheNearPlane) {
    // From far ahead to the eye's own plane (clip w = 0): cut two thirds along, at z = -1.
    std::vector<TVertex> line = {At(0, 0, -3, 0.0f), At(0, 0, 0, 1.0f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::Lines, line, kPerspective), TPrimitive::Lines);
    ASSERT_EQ(line.size(), 2u);
    ExpectAllInFront(line);
    EXPECT_EQ(line[0].Position[2], -3.0f);
    EXPECT_NEAR(line[1].Position[2], -1.0f, 1e-5f);
    EXPECT_NEAR(line[1].Color[0], 2.0f / 3.0f, 1e-5f);

    // The other way round the kept end comes second, as it was.
    std::vector<TVertex> reversed = {At(0, 0, 2, 1.0f), At(0, 0, -5, 0.0f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::Lines, reversed, kPerspective), TPrimitive::Lines);
    ASSERT_EQ(reversed.size(), 2u);
    EXPECT_NEAR(reversed[0].Position[2], -1.0f, 1e-5f);
    EXPECT_EQ(reversed[1].Position[2], -5.0f);

    // A line strip through the plane and back: its segments, the one wholly behind dropped.
    std::vector<TVertex> strip = {At(0, 0, -3, 0.0f), At(0, 0, 1, 0.25f), At(1, 0, 2, 0.5f),
                                  At(1, 0, -2, 0.75f)};
    EXPECT_EQ(ClipToNearPlane(TPrimitive::LineStrip, strip, kPerspective), TPrimitive::Lines);
    EXPECT_EQ(strip.size(), 4u);
    ExpectAllInFront(strip);
}

TEST(WebPrimitives, VerticesOnTheCameraPlaneNeverReachWebGL) {
    // Clip w = 0 at eye z = 0: under a perspective such a vertex is behind the near plane, whatever
    // its x and y, and is cut off; the rest of the triangle survives.
    std::vector<TVertex> triangle = {At(0, 0, 0, 0.0f), At(-2, 0, -4, 0.5f), At(2, 0, -4, 1.0f)};
    const std::array<float, 4> eye = TransformPoint(kPerspective, 0, 0, 0, 1);
    ASSERT_EQ(eye[3], 0.0f);
    EXPECT_EQ(ClipToNearPlane(TPrimitive::Triangles, triangle, kPerspective), TPrimitive::Triangles);
    ASSERT_EQ(triangle.size(), 6u);
    ExpectAllInFront(triangle);

    // Every vertex on the camera plane: nothing is left.
    std::vector<TVertex> flat = {At(0, 0, 0, 0.0f), At(1, 0, 0, 0.5f), At(0, 1, 0, 1.0f)};
    ClipToNearPlane(TPrimitive::Triangles, flat, kPerspective);
    EXPECT_TRUE(flat.empty());
}

} // namespace
