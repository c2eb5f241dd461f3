// Material libraries after a mesh moves to another folder: rewritten to resolve from the
// output's folder (with a note), left alone where they already do, a warning where they
// cannot.
#include "MaterialLibraries.h"
#include "ObjReader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using hx::Mesh;

namespace {

class Project
{
public:
    Project()
    {
        for (const char* folder : {"scene", "scene/mats", "out", "out/deep"}) fs::create_directories(mRoot / folder);
        for (const char* file : {"scene/cube.mtl", "scene/mats/wood.mtl", "scene/my paint.mtl", "shared.mtl"})
            std::ofstream(mRoot / file) << "newmtl m\n";
    }
    std::string operator/(const std::string& name) const { return (mRoot / name).string(); }

private:
    hxtest::TempDir mDir;
    const fs::path& mRoot = mDir.path();
};

Mesh meshWithLibraries(const std::vector<std::string>& libraries)
{
    std::string text;
    for (const std::string& library : libraries) text += "mtllib " + library + "\n";
    return hx::readObjText(text + "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "in.obj");
}

} // namespace

TEST(MaterialLibraries, RelativeNamesAreRewrittenToResolveFromTheOutputsFolder)
{
    const Project project;
    Mesh mesh = meshWithLibraries({"cube.mtl", "mats/wood.mtl cube.mtl", "../shared.mtl", "my paint.mtl"});
    const hx::MaterialLibraryReport report =
        hx::rebaseMaterialLibraries(mesh, project / "scene/in.obj", project / "out/deep/result.obj");
    EXPECT_EQ(mesh.materialLibraries(),
              (std::vector<std::string>{"../../scene/cube.mtl", "../../scene/mats/wood.mtl ../../scene/cube.mtl",
                                        "../../shared.mtl", "../../scene/my paint.mtl"}));
    ASSERT_EQ(report.notes.size(), 5u);
    EXPECT_EQ(report.notes[0], project / "out/deep/result.obj" +
                                   ": mtllib cube.mtl is written as ../../scene/cube.mtl "
                                   "so that it still resolves from " +
                                   project / "out/deep");
    EXPECT_TRUE(report.warnings.empty());

    // Into a folder below the input's: the path gets shorter.
    Mesh below = meshWithLibraries({"mats/wood.mtl"});
    hx::rebaseMaterialLibraries(below, project / "scene/in.obj", project / "scene/mats/out.obj");
    EXPECT_EQ(below.materialLibraries(), std::vector<std::string>{"wood.mtl"});
}

TEST(MaterialLibraries, WhatAlreadyResolvesIsLeftAloneAndWhatCannotIsSaid)
{
    const Project project;
    // The same folder, written another way; an absolute name; standard output.
    Mesh same = meshWithLibraries({"cube.mtl"});
    EXPECT_TRUE(
        hx::rebaseMaterialLibraries(same, project / "scene/in.obj", project / "scene/../scene/out.obj").notes.empty());
    EXPECT_EQ(same.materialLibraries(), std::vector<std::string>{"cube.mtl"});

    Mesh absolute = meshWithLibraries({project / "shared.mtl"});
    const hx::MaterialLibraryReport quiet =
        hx::rebaseMaterialLibraries(absolute, project / "scene/in.obj", project / "out/a.obj");
    EXPECT_TRUE(quiet.notes.empty() && quiet.warnings.empty());
    EXPECT_EQ(absolute.materialLibraries(), std::vector<std::string>{project / "shared.mtl"});

    Mesh piped = meshWithLibraries({"cube.mtl"});
    EXPECT_TRUE(hx::rebaseMaterialLibraries(piped, project / "scene/in.obj", "-").notes.empty());
    EXPECT_EQ(piped.materialLibraries(), std::vector<std::string>{"cube.mtl"});

    // A library that was missing already: kept as it was, and said.
    Mesh missing = meshWithLibraries({"gone.mtl"});
    const hx::MaterialLibraryReport report =
        hx::rebaseMaterialLibraries(missing, project / "scene/in.obj", project / "out/a.obj");
    EXPECT_EQ(missing.materialLibraries(), std::vector<std::string>{"gone.mtl"});
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_EQ(report.warnings[0], project / "out/a.obj" + ": mtllib gone.mtl is not found beside " +
                                      project / "scene/in.obj" + "; it is written as it was");
}
