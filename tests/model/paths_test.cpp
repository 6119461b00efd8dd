#include "paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support.h"

namespace zivirare {
namespace {

struct DirCase {
    const char* name;
    const char* home;
    const char* input;
    const char* output;
};
const DirCase kDirCases[] = {
    {"siblings_in_the_parent", "/srv/model/bin", "/srv/model/Input", "/srv/model/Output"},
    {"directly_under_the_root", "/model", "/Input", "/Output"},
    {"the_root_itself", "/", "/Input", "/Output"},
};

TEST(Paths, WorkingDirectoriesBesideTheHome) {
    for (const auto& c : kDirCases) {
        const WorkDirs d = workDirsOf(c.home);
        EXPECT_EQ(d.input, c.input) << c.name;
        EXPECT_EQ(d.output, c.output) << c.name;
    }
}

TEST(Paths, FileNameOfWindowsAndPosixPaths) {
    EXPECT_EQ(fileNameOf("C:\\Model\\Input\\mixeindhoven9599.dat"), "mixeindhoven9599.dat");
    EXPECT_EQ(fileNameOf("/srv/model/Input/mixschiphol9599.dat"), "mixschiphol9599.dat");
    EXPECT_EQ(fileNameOf("mixschiphol9599.dat"), "mixschiphol9599.dat");
}

TEST(Paths, DataFolderBesideTheBinaryOrFromTheEnvironment) {
    {
        const model_test::EnvGuard env("ZIVIRARE_DATA", "/elders/data");
        EXPECT_EQ(dataDir(), "/elders/data");
    }
    const model_test::EnvGuard env("ZIVIRARE_DATA", nullptr);
    // This test program lies beside the library, so it shares its data folder.
    EXPECT_EQ(std::filesystem::weakly_canonical(dataDir()),
              std::filesystem::weakly_canonical(ZIVIRARE_BUILT_DATA));
}

}  // namespace
}  // namespace zivirare
