#pragma once
// A square landscape built from a grey-scale bitmap: heights sampled on a regular grid, smoothed,
// lit by per-point normals and compiled into one OpenGL display list coloured by the normals.

#include "../engine/collision_world.h"
#include "../engine/gl_api.h"
#include "../engine/vector.h"
#include "../font/rgb_image.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lumidor {

/// The terrain record; the value-initialised record is an empty terrain that draws nothing.
struct THeightMapTerrain {
    /// Heights indexed [x][z], each index 0..GridSize; shared with collision worlds (SetCollisionWorld).
    std::shared_ptr<HDataArray> Heights;
    /// Unit normal per grid point, indexed like Heights; (0, 0, 0) where none was computed
    /// (x or z equal to GridSize - 1 or GridSize).
    std::vector<std::vector<TVector3>> Normals;
    std::int32_t GridSize = 0; ///< cells per side; the grid has GridSize + 1 points per side
    float SideLength = 0.0f;   ///< side of the grid, world units
    float HeightScale = 0.0f;  ///< world height of one grey level
    GLuint DisplayList = 0;    ///< the compiled surface; 0 until built
};

/// Largest grid size LoadHeightMap accepts (a 16385 x 16385 grid already takes 1 GB of heights).
inline constexpr std::int32_t MaxTerrainGridSize = 16384;

/// Reads the bitmap `fileName` ('\' taken as '/') and builds heights, normals and the display list:
/// gridSize cells per side (1..MaxTerrainGridSize), sideLength world units per side, heightScale
/// world units per grey level, smoothingPasses >= 0. Without GL set up (GLAvailable) no display list is made.
/// Throws std::runtime_error naming the file when it cannot be read and
/// std::invalid_argument for a grid size out of range; the record is then left untouched.
void LoadHeightMap(THeightMapTerrain& terrain, const std::string& fileName, std::int32_t gridSize,
                   float sideLength, float heightScale, std::int32_t smoothingPasses);

/// The CPU half of LoadHeightMap: stores the settings and builds heights, smoothing and normals
/// from an already decoded picture. Leaves DisplayList alone. Throws std::invalid_argument for a
/// grid size out of range.
void BuildHeightMap(THeightMapTerrain& terrain, const TRgbImage& picture, std::int32_t gridSize,
                    float sideLength, float heightScale, std::int32_t smoothingPasses);
/// Compiles the surface of a built terrain into a new display list stored in DisplayList; without GL
/// set up (GLAvailable) does nothing and DisplayList stays 0.
void CompileTerrainList(THeightMapTerrain& terrain);

/// Distance between neighbouring grid points: SideLength / GridSize (0 for an empty terrain).
float TerrainCellSize(const THeightMapTerrain& terrain);
/// The height grid to hand to SetCollisionWorld (null for an empty terrain).
std::shared_ptr<const HDataArray> TerrainHeights(const THeightMapTerrain& terrain);
/// Calls the display list in the current modelview frame; does nothing while DisplayList is 0.
void DrawTerrain(const THeightMapTerrain& terrain);

} // namespace lumidor
