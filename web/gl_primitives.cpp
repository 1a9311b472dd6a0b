// A vertex on or behind the camera plane (clip w <= 0, as the near edge of the floor under the
// Stresstest Script) upsets SwiftShader's depth across the whole primitive, hiding what lies on it,
// where desktop GL clips. Primitives that reach behind the near plane are therefore clipped here
// first, as GL's clipper would.

#include "web/gl_primitives.h"

#include <algorithm>
#include <array>

namespace lumidor::web {

TPrimitive ExpandPrimitive(TPrimitive mode, const std::vector<TVertex>& in, std::vector<TVertex>& out) {
    if (mode == TPrimitive::Quads) {
        for (std::size_t q = 0; q + 3 < in.size(); q += 4)
            for (std::size_t k : {0u, 1u, 2u, 0u, 2u, 3u})
                out.push_back(in[q + k]);
        return TPrimitive::Triangles;
    }
    if (mode == TPrimitive::QuadStrip) {
        for (std::size_t q = 0; q + 3 < in.size(); q += 2)
            for (std::size_t k : {0u, 1u, 3u, 0u, 3u, 2u})
                out.push_back(in[q + k]);
        return TPrimitive::Triangles;
    }
    out.insert(out.end(), in.begin(), in.end());
    return mode == TPrimitive::Polygon ? TPrimitive::TriangleFan : mode;
}

TPrimitive Unroll(TPrimitive mode, const std::vector<TVertex>& in, std::vector<TVertex>& out) {
    if (mode == TPrimitive::TriangleStrip || mode == TPrimitive::TriangleFan) {
        for (std::size_t i = 2; i < in.size(); ++i) {
            if (mode == TPrimitive::TriangleFan) {
                out.insert(out.end(), {in[0], in[i - 1], in[i]});
            } else if (i % 2 == 0) {
                out.insert(out.end(), {in[i - 2], in[i - 1], in[i]});
            } else { // every other triangle of a strip swaps its first two to keep the winding
                out.insert(out.end(), {in[i - 1], in[i - 2], in[i]});
            }
        }
        return TPrimitive::Triangles;
    }
    if (mode == TPrimitive::LineStrip || mode == TPrimitive::LineLoop) {
        for (std::size_t i = 1; i < in.size(); ++i)
            out.insert(out.end(), {in[i - 1], in[i]});
        if (mode == TPrimitive::LineLoop && in.size() > 2) out.insert(out.end(), {in.back(), in.front()});
        return TPrimitive::Lines;
    }
    out.insert(out.end(), in.begin(), in.end());
    return mode;
}

TVertex Interpolate(const TVertex& a, const TVertex& b, float t) {
    // Linear in every attribute: what clipping in homogeneous coordinates gives.
    TVertex v{};
    const auto mix = [t](const float* from, const float* to, float* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = from[i] + (to[i] - from[i]) * t;
    };
    mix(a.Position, b.Position, v.Position, 3);
    mix(a.Color, b.Color, v.Color, 4);
    mix(a.TexCoord, b.TexCoord, v.TexCoord, 2);
    mix(a.Normal, b.Normal, v.Normal, 3);
    return v;
}

TPrimitive ClipToNearPlane(TPrimitive mode, std::vector<TVertex>& vertices, const TMatrix4& clip) {
    // Signed distance to the near plane in clip space: z + w, negative behind it. On the plane is
    // inside (the banner lies on it).
    const auto distance = [&](const TVertex& v) {
        const std::array<float, 4> c =
            TransformPoint(clip, v.Position[0], v.Position[1], v.Position[2], 1.0f);
        return c[2] + c[3];
    };
    if (std::none_of(vertices.begin(), vertices.end(), [&](const TVertex& v) { return distance(v) < 0.0f; }))
        return mode;
    std::vector<TVertex> list;
    const TPrimitive listMode = Unroll(mode, vertices, list);
    const std::size_t corners = listMode == TPrimitive::Triangles ? 3 : listMode == TPrimitive::Lines ? 2 : 0;
    if (corners == 0) return mode; // points
    std::vector<TVertex> out;
    std::vector<TVertex> kept;
    for (std::size_t first = 0; first + corners <= list.size(); first += corners) {
        // Sutherland-Hodgman against the one plane; a segment has one edge, a triangle three.
        kept.clear();
        const std::size_t edges = corners == 2 ? 1 : 3;
        for (std::size_t k = 0; k < edges; ++k) {
            const TVertex& a = list[first + k];
            const TVertex& b = list[first + (k + 1) % corners];
            const float da = distance(a), db = distance(b);
            if (da >= 0.0f) kept.push_back(a);
            if ((da >= 0.0f) != (db >= 0.0f)) kept.push_back(Interpolate(a, b, da / (da - db)));
        }
        if (corners == 2) {
            if (distance(list[first + 1]) >= 0.0f) kept.push_back(list[first + 1]);
            if (kept.size() == 2) out.insert(out.end(), kept.begin(), kept.end());
            continue;
        }
        for (std::size_t k = 2; k < kept.size(); ++k) // the clipped polygon as a fan
            out.insert(out.end(), {kept[0], kept[k - 1], kept[k]});
    }
    vertices = std::move(out);
    return listMode;
}

} // namespace lumidor::web
