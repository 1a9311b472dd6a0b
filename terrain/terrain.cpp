#include "terrain/terrain.h"

#include "terrain/bitmap_reader.h"

#include <stdexcept>

namespace lumidor {

namespace {

void CheckGridSize(std::int32_t gridSize) {
    if (gridSize < 1 || gridSize > MaxTerrainGridSize) {
        throw std::invalid_argument("Height map grid size " + std::to_string(gridSize) + " is outside 1.." +
                                    std::to_string(MaxTerrainGridSize));
    }
}

// Height sample of one pixel: the colour value V = red + 256 green + 65536 blue scaled from
// 0..16777215 to 0..255 and truncated. 16777215 = 255 * 65793, so the exact result is V div 65793;
// integer division keeps grey levels exact where V / 16777215 * 255 in floating point could land
// just below them.
std::int64_t Sample(const TRgbImage& picture, std::int64_t px, std::int64_t py) {
    if (!ContainsPixel(picture, px, py)) return 0; // the invalid colour -1 truncates to 0
    const std::uint8_t* pixel = PixelAt(picture, px, py);
    const std::int64_t value =
        std::int64_t(pixel[0]) + 256 * std::int64_t(pixel[1]) + 65536 * std::int64_t(pixel[2]);
    return value / 65793;
}

void SampleHeights(THeightMapTerrain& terrain, const TRgbImage& picture) {
    const std::int32_t n = terrain.GridSize;
    HDataArray& heights = *terrain.Heights;
    for (std::int32_t x = 0; x <= n; ++x) {
        // W * x / N with the product first: exact in double for every int, so W = N maps column x
        // to pixel x (x / N first can round W * (x / N) to just below x).
        const auto px = std::int64_t(double(picture.Width) * double(x) / double(n));
        for (std::int32_t z = 0; z <= n; ++z) {
            const auto py = std::int64_t(double(picture.Height) * double(z) / double(n));
            heights[x][z] = float(double(Sample(picture, px, py)) * double(terrain.HeightScale));
        }
    }
}

// One in-place pass of the five-point mean; left and down already hold this pass's values.
// Neighbours outside the grid are replaced by the centre.
void SmoothOnce(HDataArray& heights, std::int32_t n) {
    for (std::int32_t x = 0; x <= n; ++x) {
        for (std::int32_t z = 0; z <= n; ++z) {
            const double centre = heights[x][z];
            const double up = z < n ? heights[x][z + 1] : centre;
            const double down = z > 0 ? heights[x][z - 1] : centre;
            const double left = x > 0 ? heights[x - 1][z] : centre;
            const double right = x < n ? heights[x + 1][z] : centre;
            heights[x][z] = float((up + down + left + right + centre) / 5.0);
        }
    }
}

// Unit normal of the triangle [cx][cz + 1], [cx + 1][cz + 1], [cx + 1][cz] of cell (cx, cz).
TVector3 CellTriangleNormal(const HDataArray& heights, float cellSize, std::int32_t cx, std::int32_t cz) {
    const auto point = [&](std::int32_t gx, std::int32_t gz) {
        return MakeVector(float(gx) * cellSize, heights[gx][gz], float(gz) * cellSize);
    };
    return TriangleNormal(point(cx, cz + 1), point(cx + 1, cz + 1), point(cx + 1, cz));
}

// Normals of the points with x and z in 0..N - 2 from the up to four triangles touching them.
void ComputeNormals(THeightMapTerrain& terrain) {
    const std::int32_t n = terrain.GridSize;
    const float cellSize = TerrainCellSize(terrain);
    const HDataArray& heights = *terrain.Heights;
    for (std::int32_t z = 0; z <= n - 2; ++z) {
        for (std::int32_t x = 0; x <= n - 2; ++x) {
            TVector3 t1, t3, t4;
            const TVector3 t2 = CellTriangleNormal(heights, cellSize, x, z);
            if (x > 0) t1 = CellTriangleNormal(heights, cellSize, x - 1, z);
            if (x > 0 && z > 0) t3 = CellTriangleNormal(heights, cellSize, x - 1, z - 1);
            if (z > 0) t4 = CellTriangleNormal(heights, cellSize, x, z - 1);
            TVector3 sum = VectorAdd(VectorAdd(t1, t2), VectorAdd(t3, t4));
            Normalize(sum);
            terrain.Normals[x][z] = sum;
        }
    }
}

} // namespace

void BuildHeightMap(THeightMapTerrain& terrain, const TRgbImage& picture, std::int32_t gridSize,
                    float sideLength, float heightScale, std::int32_t smoothingPasses) {
    CheckGridSize(gridSize);
    terrain.GridSize = gridSize;
    terrain.SideLength = sideLength;
    terrain.HeightScale = heightScale;

    const std::size_t points = std::size_t(gridSize) + 1;
    terrain.Heights = std::make_shared<HDataArray>(points, std::vector<float>(points, 0.0f));
    terrain.Normals.assign(points, std::vector<TVector3>(points));

    SampleHeights(terrain, picture);
    for (std::int32_t pass = 0; pass < smoothingPasses; ++pass)
        SmoothOnce(*terrain.Heights, gridSize);
    ComputeNormals(terrain);
}

void LoadHeightMap(THeightMapTerrain& terrain, const std::string& fileName, std::int32_t gridSize,
                   float sideLength, float heightScale, std::int32_t smoothingPasses) {
    CheckGridSize(gridSize);
    THeightMapTerrain built;
    {
        const TRgbImage picture = ReadBitmapFile(fileName); // throws before anything is filled
        BuildHeightMap(built, picture, gridSize, sideLength, heightScale, smoothingPasses);
    } // the picture is released before the GL work
    CompileTerrainList(built);
    terrain = std::move(built);
}

float TerrainCellSize(const THeightMapTerrain& terrain) {
    if (terrain.GridSize <= 0) return 0.0f;
    return terrain.SideLength / float(terrain.GridSize);
}

std::shared_ptr<const HDataArray> TerrainHeights(const THeightMapTerrain& terrain) {
    return terrain.Heights;
}

} // namespace lumidor
