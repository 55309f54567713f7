// Where programs find their data: the override, the installed copy, the build tree.

#include "DataPaths.h"
#include "ScopedEnv.h"
#include "Basics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using medrec::paths::Data;
using medrec::paths::locateFrom;

class DataPathsTest : public ::testing::Test
{
protected:
    void SetUp() override { m_root = m_dir.path(); }

    fs::path make(const std::string &relative, bool file = false)
    {
        const fs::path p = m_root / relative;
        if (file) {
            fs::create_directories(p.parent_path());
            std::ofstream(p) << "x\n";
        } else {
            fs::create_directories(p);
        }
        return p;
    }

    // No override from the environment the tests run in.
    medrec::testing::ScopedEnv m_forms{"MEDREC_FORMS_DIR", std::nullopt};
    medrec::testing::ScopedEnv m_logo{"MEDREC_LOGO_DIR", std::nullopt};
    medrec::testing::ScopedEnv m_fields{"MEDREC_FIELD_TABLE", std::nullopt};
    medrec::testing::TempDir m_dir;
    fs::path m_root;
};

TEST_F(DataPathsTest, InstalledBesideTheProgram)
{
    const fs::path bin = make("prefix/bin");
    const fs::path forms = make("prefix/share/medrec/forms");
    const fs::path logo = make("prefix/share/medrec/logo");
    const fs::path fields = make("prefix/share/medrec-server/fields.tbl", true);
    EXPECT_EQ(locateFrom(Data::Forms, bin), forms);
    EXPECT_EQ(locateFrom(Data::Logo, bin), logo);
    EXPECT_EQ(locateFrom(Data::FieldTable, bin), fields);
}

TEST_F(DataPathsTest, BuildTreeFileFoundFromProgramsUpToFourFoldersBelowIt)
{
    const fs::path source = make("src/reports");
    make("src/data/fields.tbl", true);
    std::ofstream(make("build") / "medrec-build-tree.paths")
        << "# comment\nforms = " << source.string() << "\nfields=" << (m_root / "src/data/fields.tbl").string()
        << "\nlogo = " << (m_root / "src/data/no-logo").string() << "\n";
    struct Case
    {
        const char *programDir;
        bool found;
    };
    const Case cases[] = {
        {"build", true}, {"build/app", true}, {"build/tests/reports", true}, {"build/a/b/c/d", true},
        {"build/a/b/c/d/e", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.programDir);
        const fs::path dir = make(c.programDir);
        EXPECT_EQ(locateFrom(Data::Forms, dir), c.found ? source : fs::path());
        EXPECT_EQ(locateFrom(Data::FieldTable, dir), c.found ? m_root / "src/data/fields.tbl" : fs::path());
        // A location the file names but that does not exist is not found.
        EXPECT_EQ(locateFrom(Data::Logo, dir), fs::path());
    }
}

TEST_F(DataPathsTest, TheVariableOverridesAndTheInstalledCopyComesBeforeTheBuildTree)
{
    const fs::path bin = make("tree/bin");
    const fs::path installed = make("tree/share/medrec/forms");
    const fs::path source = make("src/reports");
    std::ofstream(m_root / "tree/medrec-build-tree.paths") << "forms = " << source.string() << "\n";
    EXPECT_EQ(locateFrom(Data::Forms, bin), installed);

    {
        medrec::testing::ScopedEnv site("MEDREC_FORMS_DIR", "/site/forms");
        EXPECT_EQ(locateFrom(Data::Forms, bin), fs::path("/site/forms"));
    }
    medrec::testing::ScopedEnv empty("MEDREC_FORMS_DIR", "");
    EXPECT_EQ(locateFrom(Data::Forms, bin), installed);
}

TEST_F(DataPathsTest, NothingFoundIsEmpty)
{
    const fs::path bin = make("lonely/bin");
    for (Data d : {Data::Forms, Data::Logo, Data::FieldTable, Data::Fonts})
        EXPECT_EQ(locateFrom(d, bin), fs::path()) << medrec::paths::overrideVariable(d);
    EXPECT_EQ(locateFrom(Data::Forms, fs::path()), fs::path());
}

TEST(DataPaths, TheRunningTestFindsTheSourceDataThroughItsBuildTree)
{
    EXPECT_TRUE(fs::exists(medrec::paths::locate(Data::Forms) / "MDS510U1_P01"));
    EXPECT_TRUE(fs::exists(medrec::paths::locate(Data::Logo) / "seon-logo.jpg"));
}

} // namespace
