// Where the demo reads its data: the working directory when it holds any data file (the classic
// start, even with files missing), else the installed copy beside the program; and which config.ini.

#include "app/desktop/data_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <unistd.h>

namespace lumidor {
namespace {

namespace fs = std::filesystem;

class DataFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("lumidor data " + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "work");
        fs::create_directories(root / "prefix/bin");
    }
    void TearDown() override { fs::remove_all(root); }

    void Touch(const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }
    TDataFolder Find() const {
        return FindDataFolder(root / "work", root / "prefix/bin/", "../share/lumidor");
    }

    fs::path root;
};

TEST_F(DataFolder, WorkingDirectoryWithAnyDataFileIsUsedBeforeTheInstalledCopy) {
    Touch(root / "work/hm.bmp"); // the rest missing: each loader reports its own file
    Touch(root / "prefix/share/lumidor/textures.tga");
    const TDataFolder data = Find();
    EXPECT_EQ(data.Folder, root / "work");
    EXPECT_FALSE(data.Installed);
}

TEST_F(DataFolder, InstalledCopyIsUsedWhenTheWorkingDirectoryHoldsNoData) {
    Touch(root / "work/textures.tga/inside"); // a folder of that name is not the data file
    Touch(root / "prefix/share/lumidor/scripts/ParticleScript1.psc");
    const TDataFolder data = Find();
    EXPECT_EQ(data.Folder, root / "prefix/share/lumidor");
    EXPECT_TRUE(data.Installed);
    EXPECT_EQ(data.Searched, (std::vector<fs::path>{root / "work", root / "prefix/share/lumidor"}));
}

TEST_F(DataFolder, NoDataAnywhereNamesEveryFolderLookedAt) {
    const TDataFolder data = Find();
    EXPECT_TRUE(data.Folder.empty());
    EXPECT_EQ(DataNotFoundText(data),
              "The demo's data (textures.tga, hm.bmp, scripts, fonts, logos) was not found. Looked in:\n  " +
                  (root / "work").string() + "\n  " + (root / "prefix/share/lumidor").string() +
                  "\nStart lumidor-demo in the folder that holds its data, or install it with its data "
                  "(cmake --install).");

    const TDataFolder unknownProgram = FindDataFolder(root / "work", {}, "../share/lumidor");
    EXPECT_TRUE(unknownProgram.Folder.empty());
    EXPECT_EQ(unknownProgram.Searched, (std::vector<fs::path>{root / "work"}));
}

TEST_F(DataFolder, ConfigBesideTheProgramWinsAndTheInstalledOneIsTheFallback) {
    const std::string beside = (root / "prefix/bin/config.ini").string();
    TDataFolder classic{root / "work", false, {}};
    EXPECT_EQ(ChooseConfigPath(classic, beside), beside)
        << "classic start: beside the program, even when absent";

    TDataFolder installed{root / "prefix/share/lumidor", true, {}};
    EXPECT_EQ(ChooseConfigPath(installed, beside), (root / "prefix/share/lumidor/config.ini").string());
    Touch(beside);
    EXPECT_EQ(ChooseConfigPath(installed, beside), beside);
    EXPECT_EQ(ChooseConfigPath(installed, ""), (root / "prefix/share/lumidor/config.ini").string());
}

} // namespace
} // namespace lumidor
