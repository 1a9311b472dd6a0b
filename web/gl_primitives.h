#pragma once
// How the WebGL renderer turns fixed-function primitives into ones WebGL draws the same: quads,
// quad strips and polygons become triangles, and a primitive that reaches behind the near plane is
// clipped against it first. Plain arithmetic on vertices, tested natively.

#include "web/gl_matrix.h"

#include <cstdint>
#include <vector>

namespace lumidor::web {

/// GL's primitive modes, numbered as GL numbers them (GL_POINTS .. GL_POLYGON), so the renderer
/// converts a GLenum by a cast.
enum class TPrimitive : std::uint32_t {
    Points = 0,
    Lines = 1,
    LineLoop = 2,
    LineStrip = 3,
    Triangles = 4,
    TriangleStrip = 5,
    TriangleFan = 6,
    Quads = 7,
    QuadStrip = 8,
    Polygon = 9,
};

/// One immediate-mode vertex with everything current when glVertex was called.
struct TVertex {
    float Position[3];
    float Color[4];
    float TexCoord[2];
    float Normal[3];
};

/// Appends `in` to `out` in a mode WebGL has: each quad as two triangles (a trailing partial quad is
/// dropped, as GL drops it), a polygon as a fan, other modes as they are. Returns the mode of what
/// was appended.
TPrimitive ExpandPrimitive(TPrimitive mode, const std::vector<TVertex>& in, std::vector<TVertex>& out);

/// Appends `in` to `out` as separate triangles (strips and fans, winding kept) or separate segments
/// (line strips and loops); other modes as they are. Returns the mode of what was appended.
TPrimitive Unroll(TPrimitive mode, const std::vector<TVertex>& in, std::vector<TVertex>& out);

/// The vertex at `t` (0 at a, 1 at b) along a -> b, every attribute interpolated linearly.
TVertex Interpolate(const TVertex& a, const TVertex& b, float t);

/// Clips the primitive `vertices` draws in `mode` against the near plane of `clip` (projection x
/// modelview): a point on the plane is inside, one with clip w <= 0 never is under a perspective
/// projection. When any vertex lies behind the plane, `vertices` becomes separate triangles or
/// segments cut at the plane, attributes interpolated as GL's clipper does; the new mode is
/// returned. Otherwise, and for points (which WebGL drops whole), nothing changes.
TPrimitive ClipToNearPlane(TPrimitive mode, std::vector<TVertex>& vertices, const TMatrix4& clip);

} // namespace lumidor::web
