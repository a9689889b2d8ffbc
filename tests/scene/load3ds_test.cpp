#include "scene/scene.h"
#include "scene_fixtures.h"
#include "writers/tds_writer.h"

using namespace tds;

using Load3ds = SceneFixture;

TEST_F(Load3ds, EachLoadRebuildsEveryObjectWithItsFlip) {
    ASSERT_TRUE(write3dsFile(path("a.3ds"), {triangle()}));
    ASSERT_TRUE(writeBytesFile(path("empty.3ds"), header(kMain, 6)));
    Scene scene;
    Diagnostics found;
    ASSERT_TRUE(scene.load3ds(path("a.3ds"), 1.0f, false, found));
    EXPECT_EQ(scene.objects[0]->vertices[0].normal.z, 1.0f);
    scene.load3ds(path("a.3ds"), 1.0f, true, found);
    ASSERT_EQ(scene.objectCount(), 2);
    EXPECT_EQ(scene.objects[0]->vertices[0].normal.z, -1.0f);  // the first file's object too
    EXPECT_EQ(scene.objects[1]->vertices[0].normal.z, -1.0f);
    // A file without objects appends nothing but still recomputes.
    scene.objects[0]->ringTable[0].x = 3.0f;
    scene.load3ds(path("empty.3ds"), 1.0f, false, found);
    ASSERT_EQ(scene.objectCount(), 2);
    EXPECT_EQ(scene.objects[0]->vertices[0].normal.z, 1.0f);
    EXPECT_EQ(scene.objects[0]->ringTable[0].x, 0.0f);

    Scene nothing;
    nothing.load3ds(path("empty.3ds"), 1.0f, true, found);
    EXPECT_EQ(nothing.objectCount(), 0);
    EXPECT_TRUE(found.empty());
}

// (Files that cannot be opened: hardening/fault_injection_test; files that
// are no .3ds at all: hardening/hostile_files_test.)
TEST_F(Load3ds, FileAboveTheSizeLimitStopsTheShowWithItsMessage) {
    Bytes huge = header(kMain, 6);
    huge.resize((16u << 20) + 1);  // beyond what any mesh file needs
    ASSERT_TRUE(writeBytesFile(path("huge.3ds"), huge));
    Scene scene;
    Diagnostics found;
    EXPECT_FALSE(scene.load3ds(path("huge.3ds"), 1.0f, false, found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].stops);
    EXPECT_EQ(found[0].file, path("huge.3ds"));
    showDiagnostics(found);
    EXPECT_EQ(boxes, (std::vector<RecordedBox>{{path("huge.3ds") + " is larger than 16 MiB, the limit for a mesh file",
                                                "multimedia error", platform::Icon::None, platform::Buttons::Ok}}));
}
