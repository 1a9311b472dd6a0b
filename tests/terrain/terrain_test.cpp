#include "terrain/bitmap_reader.h"
#include "terrain/terrain.h"

#include "engine/gl_recorder.h"
#include "tests/terrain/test_bitmaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace lumidor {
namespace {

using testing::SetPixel;
using testing::SolidImage;

std::string TempPath(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "terrain_" + info->name() + "_" + name;
}

// Builds from a picture with the recording fake installed (no display list needed here).
THeightMapTerrain Build(const TRgbImage& picture, std::int32_t gridSize, float sideLength, float heightScale,
                        std::int32_t passes) {
    THeightMapTerrain terrain;
    BuildHeightMap(terrain, picture, gridSize, sideLength, heightScale, passes);
    return terrain;
}

TEST(HeightMapSampling, UniformGreyFillsAllButTheLastRowAndColumn) {
    const float scale = 0.03f;
    const THeightMapTerrain terrain = Build(SolidImage(16, 16, 100, 100, 100), 8, 15, scale, 0);
    ASSERT_EQ(terrain.Heights->size(), 9u);
    for (int x = 0; x <= 8; ++x) {
        ASSERT_EQ((*terrain.Heights)[x].size(), 9u);
        for (int z = 0; z <= 8; ++z) {
            const float expected = (x == 8 || z == 8) ? 0.0f : 100 * scale;
            EXPECT_FLOAT_EQ((*terrain.Heights)[x][z], expected) << x << "," << z;
        }
    }
}

TEST(HeightMapSampling, EachGreyLevelIsExactAndColumnsMapOneToOneWhenWidthEqualsGrid) {
    // Column x holds grey x, so W = N = 256 must give height x * scale at every x < N.
    TRgbImage picture = SolidImage(256, 3, 0, 0, 0);
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 3; ++y)
            SetPixel(picture, x, y, std::uint8_t(x), std::uint8_t(x), std::uint8_t(x));
    const THeightMapTerrain terrain = Build(picture, 256, 15, 1.0f, 0);
    for (int x = 0; x < 256; ++x)
        EXPECT_EQ((*terrain.Heights)[x][0], float(x)) << x;

    // A grid size that is not a power of two still hits every column exactly.
    TRgbImage wide = SolidImage(49, 1, 0, 0, 0);
    for (int x = 0; x < 49; ++x)
        SetPixel(wide, x, 0, std::uint8_t(x), std::uint8_t(x), std::uint8_t(x));
    const THeightMapTerrain odd = Build(wide, 49, 1, 1.0f, 0);
    for (int x = 0; x < 49; ++x)
        EXPECT_EQ((*odd.Heights)[x][0], float(x)) << x;
}

TEST(HeightMapSampling, ColouredPixelsScaleTheWholeColourValue) {
    // s = (red + 256 green + 65536 blue) div 65793; rows are sampled from the top (z = row).
    TRgbImage picture = SolidImage(1, 4, 0, 0, 0);
    SetPixel(picture, 0, 0, 10, 20, 30);  // 1971210 -> 29
    SetPixel(picture, 0, 1, 255, 255, 0); // 65535 -> 0
    SetPixel(picture, 0, 2, 0, 0, 2);     // 131072 -> 1
    SetPixel(picture, 0, 3, 255, 0, 255); // 16711935 -> 254
    const THeightMapTerrain terrain = Build(picture, 4, 4, 0.5f, 0);
    EXPECT_FLOAT_EQ((*terrain.Heights)[0][0], 29 * 0.5f);
    EXPECT_FLOAT_EQ((*terrain.Heights)[0][1], 0.0f);
    EXPECT_FLOAT_EQ((*terrain.Heights)[0][2], 1 * 0.5f);
    EXPECT_FLOAT_EQ((*terrain.Heights)[0][3], 254 * 0.5f);
}

TEST(HeightMapSmoothing, TheDropAtTheFarEdgesSpreadsOnePointInwardsPerPass) {
    const float h = 200 * 0.01f;
    for (int passes = 1; passes <= 3; ++passes) {
        const THeightMapTerrain terrain = Build(SolidImage(32, 32, 200, 200, 200), 32, 15, 0.01f, passes);
        const HDataArray& heights = *terrain.Heights;
        // Points more than `passes` away from both far edges keep the full height.
        EXPECT_FLOAT_EQ(heights[32 - passes - 1][5], h) << passes;
        EXPECT_FLOAT_EQ(heights[5][32 - passes - 1], h) << passes;
        EXPECT_FLOAT_EQ(heights[0][0], h) << passes;
        // The point `passes` away has dropped.
        EXPECT_LT(heights[32 - passes][5], h - 1e-3f) << passes;
        EXPECT_LT(heights[5][32 - passes], h - 1e-3f) << passes;
    }
    // One pass at [N - 1][0]: up h, down (outside) h, left h, right 0, centre h.
    const THeightMapTerrain once = Build(SolidImage(8, 8, 200, 200, 200), 8, 15, 0.01f, 1);
    EXPECT_NEAR((*once.Heights)[7][0], 0.8f * h, 1e-6f);
    // The last column averages in place: [N][0] sees its left neighbour already smoothed.
    EXPECT_NEAR((*once.Heights)[8][0], (0.0f + 0.0f + 0.8f * h + 0.0f + 0.0f) / 5, 1e-6f);
}

TEST(HeightMapNormals, FlatGroundPointsUpAndTheFarBorderStaysZero) {
    const THeightMapTerrain terrain = Build(SolidImage(8, 8, 50, 50, 50), 8, 4, 0.1f, 0);
    for (int x = 0; x <= 8; ++x) {
        for (int z = 0; z <= 8; ++z) {
            const TVector3& n = terrain.Normals[x][z];
            if (x <= 6 && z <= 6) {
                EXPECT_NEAR(n.x, 0, 1e-6f);
                EXPECT_NEAR(n.y, 1, 1e-6f);
                EXPECT_NEAR(n.z, 0, 1e-6f);
            } else {
                EXPECT_EQ(n.x, 0);
                EXPECT_EQ(n.y, 0);
                EXPECT_EQ(n.z, 0);
            }
        }
    }
}

TEST(HeightMapNormals, ASlopeRisingAlongXTiltsTheNormalBackwards) {
    // Height = column * scale: a plane rising along +x; its normal is (-s, c, 0) normalised with
    // s / c = rise per cell / cell size.
    TRgbImage picture = SolidImage(8, 8, 0, 0, 0);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            SetPixel(picture, x, y, std::uint8_t(x * 10), std::uint8_t(x * 10), std::uint8_t(x * 10));
    const THeightMapTerrain terrain = Build(picture, 8, 8, 0.1f, 0); // cell 1, rise 1 per cell
    const TVector3& n = terrain.Normals[3][3];
    EXPECT_NEAR(n.x, -std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(n.y, std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(n.z, 0, 1e-5f);
}

TEST(HeightMapDisplayList, OneStripPerRowWithNormalTexCoordColourAndVertexPerPoint) {
    InstallGLRecorder();
    THeightMapTerrain terrain = Build(SolidImage(4, 4, 100, 100, 100), 4, 2, 0.01f, 0);
    CompileTerrainList(terrain);
    EXPECT_NE(terrain.DisplayList, 0u);
    EXPECT_EQ(CountGLCalls("GenLists"), 1);
    EXPECT_EQ(CountGLCalls("NewList"), 1);
    EXPECT_EQ(CountGLCalls("EndList"), 1);
    EXPECT_EQ(CountGLCalls("Begin"), 4);
    EXPECT_EQ(CountGLCalls("End"), 4);
    EXPECT_EQ(CountGLCalls("Vertex3f"), 4 * 2 * 4);

    const auto& calls = GLRecorder().Calls;
    ASSERT_GE(calls.size(), 12u);
    EXPECT_EQ(calls[1].Name, "NewList");
    EXPECT_EQ(calls[1].Args[1], double(GL_COMPILE));
    EXPECT_EQ(calls[2].Name, "Begin");
    EXPECT_EQ(calls[2].Args[0], double(GL_TRIANGLE_STRIP));
    // Second vertex of the first strip: grid point [0][1], flat, so normal and colour (0, 1, 0).
    const std::vector<std::string> order{calls[7].Name, calls[8].Name, calls[9].Name, calls[10].Name};
    EXPECT_EQ(order, (std::vector<std::string>{"Normal3f", "TexCoord2f", "Color3f", "Vertex3f"}));
    EXPECT_EQ(calls[8].Args, (std::vector<double>{0.0, 0.25}));
    EXPECT_EQ(calls[9].Args, (std::vector<double>{0.0, 1.0, 0.0}));
    EXPECT_NEAR(calls[10].Args[0], 0.0, 1e-9);
    EXPECT_NEAR(calls[10].Args[1], 1.0, 1e-6);
    EXPECT_NEAR(calls[10].Args[2], 0.5, 1e-9);

    // The last strip pairs rows N - 1 and N, whose normals were never computed: drawn black.
    int lastColour = -1;
    for (int i = int(calls.size()) - 1; i >= 0; --i)
        if (calls[std::size_t(i)].Name == "Color3f") {
            lastColour = i;
            break;
        }
    ASSERT_GE(lastColour, 0);
    EXPECT_EQ(calls[std::size_t(lastColour)].Args, (std::vector<double>{0.0, 0.0, 0.0}));

    GLRecorder().Calls.clear();
    DrawTerrain(terrain);
    ASSERT_EQ(CountGLCalls("CallList"), 1);
    EXPECT_EQ(GLRecorder().Calls[0].Args[0], double(terrain.DisplayList));
}

TEST(HeightMapLoading, ReadsA24BitAndAPalettedBitmapFromFile) {
    InstallGLRecorder();
    TRgbImage picture = SolidImage(4, 2, 60, 60, 60);
    SetPixel(picture, 2, 1, 90, 90, 90); // bottom row: checks row order and padding
    for (const bool paletted : {false, true}) {
        const std::string path = TempPath(paletted ? "p8.bmp" : "p24.bmp");
        paletted ? testing::WriteBmp8Grey(path, picture) : testing::WriteBmp24(path, picture);
        const TRgbImage read = ReadBitmapFile(path);
        EXPECT_EQ(read.Width, 4);
        EXPECT_EQ(read.Height, 2);
        EXPECT_EQ(read.Pixels, picture.Pixels) << paletted;

        THeightMapTerrain terrain;
        LoadHeightMap(terrain, path, 4, 15, 0.03f, 2);
        EXPECT_NE(terrain.DisplayList, 0u);
        EXPECT_EQ(terrain.GridSize, 4);
        EXPECT_FLOAT_EQ(terrain.SideLength, 15);
        EXPECT_FLOAT_EQ(terrain.HeightScale, 0.03f);
        ASSERT_TRUE(terrain.Heights);
        EXPECT_EQ(TerrainHeights(terrain).get(), terrain.Heights.get());
        std::filesystem::remove(path);
    }
    // A backslash in a name is a directory separator, as in the demo's ".\hm.bmp".
    const std::string dir = TempPath("dir");
    std::filesystem::create_directories(dir);
    testing::WriteBmp24(dir + "/hm.bmp", SolidImage(2, 2, 7, 7, 7));
    EXPECT_EQ(ReadBitmapFile(dir + "\\hm.bmp").Width, 2);
    std::filesystem::remove_all(dir);
}

TEST(HeightMapLoading, AMissingOrBrokenFileRaisesAnErrorNamingItAndFillsNothing) {
    InstallGLRecorder();
    const std::string broken = TempPath("broken.bmp");
    {
        std::ofstream file(broken);
        file << "this is not a bitmap";
    }
    for (const std::string& name : {std::string(".\\no_such_height_map.bmp"), broken}) {
        THeightMapTerrain terrain;
        try {
            LoadHeightMap(terrain, name, 256, 15, 0.03f, 2);
            ADD_FAILURE() << "no error for " << name;
        } catch (const std::runtime_error& error) {
            const std::string text = error.what();
            EXPECT_EQ(text.rfind("Cannot read the bitmap \"" + name + "\": ", 0), 0u) << text;
        }
        EXPECT_EQ(terrain.DisplayList, 0u);
        EXPECT_FALSE(terrain.Heights);
        EXPECT_TRUE(terrain.Normals.empty());
        EXPECT_EQ(terrain.GridSize, 0);
    }
    EXPECT_TRUE(GLRecorder().Calls.empty());
    std::filesystem::remove(broken);

    // A header claiming a huge picture is refused before anything is allocated for it.
    const std::string huge = TempPath("huge.bmp");
    testing::WriteBmp24(huge, SolidImage(1, 1, 0, 0, 0));
    {
        std::fstream file(huge, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(18);
        const char size[8] = {'\x60', '\xea', 0, 0, '\x60', '\xea', 0, 0}; // 60000 x 60000
        file.write(size, 8);
    }
    try {
        ReadBitmapFile(huge);
        ADD_FAILURE() << "no error for a 60000 x 60000 header";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot read the bitmap \"" + huge + "\": the picture is too large (60000 x 60000 pixels)");
    }
    std::filesystem::remove(huge);

    // The old 12-byte core header declares unsigned 16-bit sizes (here 65398 x 17151); found by
    // the fuzzer, which ran out of memory on it.
    const unsigned char core[] = {'B', 'M', 54, 0, 0,    0,    0,    0,    0, 0, 26, 0, 0, 0,
                                  12,  0,   0,  0, 0x76, 0xff, 0xff, 0x42, 1, 0, 24, 0, 0, 0};
    try {
        ReadBitmapBytes(core, sizeof core, "core.bmp");
        ADD_FAILURE() << "no error for a 65398 x 17151 core header";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot read the bitmap \"core.bmp\": the picture is too large (65398 x 17151 pixels)");
    }
}

TEST(HeightMapLoading, AGridSizeBelowOneIsRefused) {
    InstallGLRecorder();
    THeightMapTerrain terrain;
    EXPECT_THROW(BuildHeightMap(terrain, SolidImage(4, 4, 1, 1, 1), 0, 15, 0.03f, 0), std::invalid_argument);
    EXPECT_THROW(BuildHeightMap(terrain, SolidImage(4, 4, 1, 1, 1), -3, 15, 0.03f, 0), std::invalid_argument);
    EXPECT_THROW(LoadHeightMap(terrain, "whatever.bmp", 0, 15, 0.03f, 0), std::invalid_argument);
    EXPECT_EQ(terrain.GridSize, 0);
    EXPECT_FALSE(terrain.Heights);
    // The smallest grid: two points per side, no normals, one strip.
    THeightMapTerrain tiny = Build(SolidImage(1, 1, 9, 9, 9), 1, 1, 1, 1);
    CompileTerrainList(tiny);
    EXPECT_EQ(CountGLCalls("Begin"), 1);
    EXPECT_EQ(CountGLCalls("Vertex3f"), 2);

    // The demo terrain's cell; an empty terrain has none, no grid and draws nothing.
    THeightMapTerrain demo;
    demo.GridSize = 256;
    demo.SideLength = 15;
    EXPECT_EQ(TerrainCellSize(demo), 0.05859375f);
    EXPECT_EQ(TerrainCellSize(THeightMapTerrain{}), 0.0f);
    EXPECT_FALSE(TerrainHeights(THeightMapTerrain{}));
    GLRecorder().Calls.clear();
    DrawTerrain(THeightMapTerrain{});
    EXPECT_EQ(CountGLCalls("CallList"), 0);
}

} // namespace
} // namespace lumidor
