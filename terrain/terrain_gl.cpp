#include "terrain/terrain.h"

#include <cmath>

namespace lumidor {

// One GL_TRIANGLE_STRIP per grid row z (0..N - 1) pairing rows z and z + 1 over the columns
// 0..N - 1; each vertex carries its normal, a texture coordinate over the whole grid and the
// normal as colour with its x and z parts made positive.
void CompileTerrainList(THeightMapTerrain& terrain) {
    const std::int32_t n = terrain.GridSize;
    if (n < 1 || !terrain.Heights || !GLAvailable()) return; // headless: heights serve collision only
    const HDataArray& heights = *terrain.Heights;
    const float cellSize = TerrainCellSize(terrain);

    terrain.DisplayList = GL.GenLists(1);
    GL.NewList(terrain.DisplayList, GL_COMPILE);
    for (std::int32_t z = 0; z < n; ++z) {
        GL.Begin(GL_TRIANGLE_STRIP);
        for (std::int32_t x = 0; x < n; ++x) {
            for (const std::int32_t g : {z, z + 1}) {
                const TVector3& normal = terrain.Normals[x][g];
                GL.Normal3f(normal.x, normal.y, normal.z);
                GL.TexCoord2f(float(x) / float(n), float(g) / float(n));
                GL.Color3f(std::fabs(normal.x), normal.y, std::fabs(normal.z));
                GL.Vertex3f(float(x) * cellSize, heights[x][g], float(g) * cellSize);
            }
        }
        GL.End();
    }
    GL.EndList();
}

void DrawTerrain(const THeightMapTerrain& terrain) {
    if (terrain.DisplayList != 0) GL.CallList(terrain.DisplayList);
}

} // namespace lumidor
