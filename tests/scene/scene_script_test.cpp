#include "scene/scene.h"
#include "scene_fixtures.h"
#include "writers/tds_writer.h"

namespace {

class SceneScript : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        tds::TdsObject tri;
        tri.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        tri.faces = {{0, 1, 2}};
        ASSERT_TRUE(tds::write3dsFile(path("m.3ds"), {tri}));
        ASSERT_TRUE(tds::writeBytesFile(path("none.3ds"), tds::header(tds::kMain, 6)));
        mesh = "FILENAME=" + path("m.3ds") + "\n";
    }

    // Writes `text` as a script and loads it into `scene`; returns its path.
    std::string load(Scene& scene, const std::string& text, const std::string& name = "scene.dat") {
        const std::string file = writeText(name, text);
        scene.loadScene(file);
        return file;
    }

    std::string warning(int line, const std::string& file) const {
        return "no valid attrib found on line " + std::to_string(line) + ", " + file + ".";
    }

    std::string mesh;  // a FILENAME line naming a one-triangle mesh
};

}  // namespace

TEST_F(SceneScript, SwitchesLookAtTheSecondCharacterOnly) {
    struct Case {
        const char* line;
        bool fog;
    };
    for (const Case& c : {Case{"FOG=ON", true}, Case{"FOG=OFF", false}, Case{"FOG=on", false},
                          Case{"FOG=ONE", true}, Case{"FOG=XN", true}, Case{"FOG=N", false}, Case{"FOG=", false}}) {
        Scene scene;
        scene.fogEnabled = !c.fog;
        load(scene, std::string(c.line) + "\nLIGHTS=ONE\nEOF\n");
        EXPECT_EQ(scene.fogEnabled, c.fog) << c.line;
        EXPECT_TRUE(scene.lightingEnabled);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SceneScript, TextThatIsNoKeywordWarnsWithLineAndStops) {
    for (const char* bad : {"FOG = ON", " FOG=ON", "fog=ON", "", "FOGGY=ON", "FOG_=1"}) {
        boxes.clear();
        Scene scene;
        const std::string file = load(scene, "LIGHTS=ON\n" + std::string(bad) + "\nFOG=ON\nEOF\n");
        ASSERT_EQ(boxes.size(), 1u) << bad;
        EXPECT_EQ(boxes[0].text, warning(2, file));
        EXPECT_EQ(boxes[0].caption, "scenefile error");
        EXPECT_EQ(boxes[0].icon, platform::Icon::Warning);
        EXPECT_TRUE(scene.lightingEnabled);
        EXPECT_FALSE(scene.fogEnabled) << bad;
    }
    // No EOF line: everything loads, then the line after the last is named.
    boxes.clear();
    Scene scene;
    const std::string file = load(scene, "FOG=ON\nFOG_START=3\n");
    EXPECT_TRUE(scene.fogEnabled);
    EXPECT_EQ(scene.fogStart, 3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, warning(3, file));
}

TEST_F(SceneScript, MissingScriptWarnsAndLeavesTheSceneAlone) {
    Scene scene;
    scene.loadScene(path("absent.dat"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "scenefile not found");
    EXPECT_EQ(boxes[0].caption, "scenefile error");
    EXPECT_EQ(boxes[0].icon, platform::Icon::Warning);
    EXPECT_EQ(platform::windowTitle(), path("absent.dat") + "...");
    EXPECT_FALSE(std::filesystem::exists(path("absent.dat")));  // opening never creates it
    EXPECT_EQ(scene.fogEnd, 50);

    boxes.clear();
    std::filesystem::create_directories(path("folder.dat"));
    scene.loadScene(path("folder.dat"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "scenefile not found");
}

TEST_F(SceneScript, NumbersStopEarlyAndKeepOldValues) {
    Scene scene;
    load(scene,
         "FOG_COLOR=0.1,0.2,0.3,0.4\n"
         "FOG_COLOR=0.5,x,0.7,0.8\n"  // stops after the first value
         "CLEAR_COLOR= 1, 2 ,3,4\n"   // white space before a comma stops parsing
         "FOG_START=12.5\n"
         "FOG_END=abc\n"
         "MATERIAL_DIFFUSE=1,0\n"
         "TEXTUREID=7.9\n"
         "SCALEVALUE=2e0 metres\n" +
             mesh + "EOF\n");
    EXPECT_EQ(scene.fogColor, (Color4{0.5f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(scene.clearColor, (Color4{1.0f, 2.0f, 0.0f, 0.5f}));
    EXPECT_EQ(scene.fogStart, 12);
    EXPECT_EQ(scene.fogEnd, 50);
    ASSERT_EQ(scene.objectCount(), 1);
    const SceneObject& object = *scene.objects[0];
    EXPECT_EQ(object.materialDiffuse, (Color4{1.0f, 0.0f, 0.8f, 1.0f}));
    EXPECT_EQ(object.textureId, 7);
    EXPECT_EQ(object.vertices[1].position.x, 2.0f);
    EXPECT_TRUE(boxes.empty());
}

TEST(ScriptNumbers, ScanfStyleConversions) {
    float f[3] = {9, 9, 9};
    EXPECT_EQ(parseFloats("  -1.5e2,+.25,3.", f, 3), 3);
    EXPECT_EQ(f[0], -150.0f);
    EXPECT_EQ(f[1], 0.25f);
    EXPECT_EQ(f[2], 3.0f);
    EXPECT_EQ(parseFloats("1,,2", f, 3), 1);
    EXPECT_EQ(parseFloats("+-1", f, 1), 0);
    EXPECT_EQ(parseFloats("", f, 1), 0);
    EXPECT_EQ(parseFloats("1e999,-1e999,1e-999", f, 3), 3);
    EXPECT_TRUE(std::isinf(f[0]) && f[0] > 0);
    EXPECT_TRUE(std::isinf(f[1]) && f[1] < 0);
    EXPECT_EQ(f[2], 0.0f);
    int32_t i = 5;
    EXPECT_EQ(parseInt("  -42abc", i), 1);
    EXPECT_EQ(i, -42);
    EXPECT_EQ(parseInt("- 1", i), 0);
    EXPECT_EQ(i, -42);
    EXPECT_EQ(parseInt("99999999999999999999", i), 1);
    EXPECT_EQ(i, INT32_MAX);
}

TEST_F(SceneScript, SharedSlotsCarryValuesBetweenLines) {
    Scene first;
    load(first, "ADDMAGNET=5,6,7,8\nCAMERA_POSITION=1,2,3\nCAMERA_TARGET=9,9,9,9\nADD_SPOT=4\nEOF\n");
    EXPECT_EQ(first.cameraPosition.x, 1.0f);
    EXPECT_EQ(first.cameraPosition.w, 8.0f);
    EXPECT_EQ(first.cameraTarget.x, 9.0f);
    EXPECT_EQ(first.cameraTarget.w, 0.0f);  // the target's w is always 0 ...
    ASSERT_EQ(first.spotCount(), 1);
    EXPECT_EQ(first.spotLights[0].position.x, 4.0f);
    EXPECT_EQ(first.spotLights[0].position.y, 9.0f);
    EXPECT_EQ(first.spotLights[0].position.w, 9.0f);  // ... but its slot keeps 9
    ASSERT_EQ(first.magnetCount(), 1);
    EXPECT_EQ(first.magnets[0].w, 8.0f);

    // Slots start at 0 in every script.
    Scene second;
    load(second, "CAMERA_POSITION=1,2,3\nEOF\n", "second.dat");
    EXPECT_EQ(second.cameraPosition.w, 0.0f);
}

TEST_F(SceneScript, OmniLightsTakeTheLightColoursAboveThem) {
    Scene scene;
    load(scene,
         "ADD_OMNI=0,10,0,1\n"
         "LIGHT_DIFFUSE=1,0.9,0.8,1\n"
         "ADD_OMNI=0,20,-10,1,2\n"
         "LIGHT_AMBIENT=0,0,0,0\n"
         "ADD_OMNI=1\n"
         "EOF\n");
    ASSERT_EQ(scene.omniCount(), 3);
    const OmniLight& a = scene.omniLights[0];
    EXPECT_EQ(a.flareSize, 1.0f);
    EXPECT_EQ(a.diffuse, (Color4{1, 1, 1, 1}));
    EXPECT_EQ(a.ambient, (Color4{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(a.specular, (Color4{1, 1, 1, 1}));
    const OmniLight& b = scene.omniLights[1];
    EXPECT_EQ(b.diffuse, (Color4{1, 0.9f, 0.8f, 1}));
    EXPECT_EQ(b.ambient, (Color4{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(b.flareSize, 2.0f);
    EXPECT_EQ(b.position.z, -10.0f);
    const OmniLight& c = scene.omniLights[2];
    EXPECT_EQ(c.flareSize, 2.0f);  // the previous line's fifth value
    EXPECT_EQ(c.position.x, 1.0f);
    EXPECT_EQ(c.position.y, 20.0f);
    EXPECT_EQ(c.ambient, (Color4{0, 0, 0, 0}));
    EXPECT_EQ(a.lightNumber, 0);
    EXPECT_EQ(c.lightNumber, 2);
}

TEST_F(SceneScript, LightNumbersContinueAcrossScripts) {
    Scene one, two;
    load(one, "ADD_OMNI=0,0,0,1,1\nADD_SPOT=0,0,0,1\nEOF\n", "one.dat");
    load(two, "ADD_SPOT=0,0,0,1\nADD_OMNI=0,0,0,1,1\nADD_OMNI=0,0,0,1,1\nEOF\n", "two.dat");
    EXPECT_EQ(one.omniLights[0].lightNumber, 0);
    EXPECT_EQ(one.spotLights[0].lightNumber, 1);
    EXPECT_EQ(two.spotLights[0].lightNumber, 2);
    EXPECT_EQ(two.omniLights[0].lightNumber, 3);
    EXPECT_EQ(two.omniLights[1].lightNumber, 4);
    EXPECT_EQ(lightCounter, 5);
}

TEST_F(SceneScript, FilenameStampsThePendingSettingsOnObjectK) {
    Scene scene;
    load(scene,
         mesh +  // object 0: the loader's starting values
             "TEXTUREID=3\nSHADING=ENVMAPPING\nBLEND=ON\nVORTEX=ON\nMAGNETIC=ON\nCULLFACE=ON\n"
             "CULLBACK=OFF\nDEPTHTEST=OFF\nOBJECT_POSITION=1,2,3,4\nMATERIAL_AMBIENT=0.1,0.1,0.1,0.5\n"
             "MATERIAL_SPECULAR=1,1,1,1\nFLIPNORMALS=ON\n" +
             mesh +  // object 1: all of the above
             "TEXTUREID=4\nSHADING=TEXTUREMAPPING\nBLEND=OFF\n" + mesh + "EOF\n");
    ASSERT_EQ(scene.objectCount(), 3);

    const SceneObject& plain = *scene.objects[0];
    EXPECT_EQ(plain.materialDiffuse, (Color4{0.9f, 0.8f, 0.8f, 1.0f}));
    EXPECT_FALSE(plain.cullFace);
    EXPECT_TRUE(plain.cullBack);
    EXPECT_TRUE(plain.depthTest);
    EXPECT_EQ(plain.shading, 1);

    const SceneObject& set = *scene.objects[1];
    EXPECT_EQ(set.textureId, 3);
    EXPECT_EQ(set.shading, 2);
    EXPECT_TRUE(set.blend);
    EXPECT_TRUE(set.vortex);
    EXPECT_TRUE(set.magnetic);
    EXPECT_TRUE(set.cullFace);
    EXPECT_FALSE(set.cullBack);
    EXPECT_FALSE(set.depthTest);
    EXPECT_EQ(set.position.x, 1.0f);
    EXPECT_EQ(set.position.w, 4.0f);
    EXPECT_EQ(set.position.length, 0.0f);
    EXPECT_EQ(set.materialAmbient, (Color4{0.1f, 0.1f, 0.1f, 0.5f}));
    EXPECT_EQ(set.materialSpecular, (Color4{1, 1, 1, 1}));
    // Not copied: creation values stay.
    EXPECT_EQ(set.shininess, 50.0f);
    EXPECT_TRUE(set.visible);
    EXPECT_EQ(set.rotation.x, 0.0f);

    const SceneObject& last = *scene.objects[2];
    EXPECT_EQ(last.textureId, 4);
    EXPECT_EQ(last.shading, 1);
    EXPECT_FALSE(last.blend);
    EXPECT_TRUE(last.vortex);  // pending values persist until changed
    // The last load flipped every object of the scene.
    EXPECT_EQ(scene.objects[0]->vertices[0].normal.z, -1.0f);

    // Pending settings do not carry over into the next script.
    Scene next;
    load(next, mesh + "EOF\n", "next.dat");
    EXPECT_FALSE(next.objects[0]->blend);
    EXPECT_EQ(next.objects[0]->textureId, 0);
    EXPECT_EQ(next.objects[0]->vertices[0].normal.z, 1.0f);
}

TEST_F(SceneScript, FileWithoutObjectsStampsNothing) {
    Scene scene;
    load(scene, "BLEND=ON\nFILENAME=" + path("none.3ds") + "\n" + mesh + "FILENAME=" + path("none.3ds") + "\nEOF\n");
    ASSERT_EQ(scene.objectCount(), 1);
    // Line 1 made object 0, but it was the second FILENAME line (k = 1).
    EXPECT_FALSE(scene.objects[0]->blend);
    EXPECT_TRUE(scene.objects[0]->cullFace);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SceneScript, ShadingReadsItsArgumentAsAKeyword) {
    Scene scene;
    const std::string file = load(scene,
                                  "SHADING=EOF\n" + mesh +
                                      "SHADING=FLARE\n" + mesh +
                                      "SHADING=SHINY\n"
                                      "FOG=ON\n"  // swallowed by the warning
                                      + mesh + "FLARE\nENVMAPPING\nTEXTUREMAPPING\nFOGVALUE\nLIGHTS=ON\nEOF\n");
    ASSERT_EQ(scene.objectCount(), 3);
    EXPECT_EQ(scene.objects[0]->shading, 99);
    EXPECT_EQ(scene.objects[1]->shading, 3);
    EXPECT_EQ(scene.objects[2]->shading, 0);
    EXPECT_FALSE(scene.fogEnabled);
    EXPECT_TRUE(scene.lightingEnabled);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, warning(5, file));

    // A keyword with no argument given one: the argument reads as a keyword.
    boxes.clear();
    Scene other;
    const std::string second = load(other, "FLARE=1\nFOG=ON\nEOF\n", "flare.dat");
    EXPECT_FALSE(other.fogEnabled);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, warning(2, second));  // FLARE was keyword 1, its argument keyword 2
}

TEST_F(SceneScript, AtMost1024KeywordsPerScript) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "ADDMAGNET=" + std::to_string(i) + ",0,0,1\n";
    text += "EOF\n";
    Scene scene;
    load(scene, text);
    ASSERT_EQ(scene.magnetCount(), 1024);
    EXPECT_EQ(scene.magnets[1023].x, 1023.0f);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SceneScript, OverlongTextIsCutAt99Characters) {
    Scene scene;
    // The fourth value starts beyond character 99 and is lost; the line
    // after it still reads normally.
    const std::string spaced = "MATERIAL_AMBIENT=1,1,1," + std::string(95, ' ') + "0.5\n";
    load(scene, spaced + "FOG=ON\n" + mesh + "EOF\n");
    ASSERT_EQ(scene.objectCount(), 1);
    EXPECT_EQ(scene.objects[0]->materialAmbient, (Color4{1, 1, 1, 1}));
    EXPECT_TRUE(scene.fogEnabled);
    EXPECT_TRUE(boxes.empty());

    // An endless keyword: one warning, nothing kept beyond the limit.
    Scene other;
    const std::string file = load(other, std::string(100000, 'A') + "=ON\nFOG=ON\nEOF\n", "long.dat");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, warning(1, file));
    EXPECT_FALSE(other.fogEnabled);
}

TEST_F(SceneScript, WindowsScriptWithCrLfAndBackslashPaths) {
    std::filesystem::create_directories(dir() / "data" / "meshes");
    std::filesystem::create_directories(dir() / "data" / "script");
    std::filesystem::copy_file(path("m.3ds"), dir() / "data" / "meshes" / "rock.3ds");
    writeText("data/script/scene.dat",
              "LIGHTS=ON\r\nTEXTUREID=5\r\nSHADING=ENVMAPPING\r\nFILENAME=Data\\Meshes\\Rock.3DS\r\n"
              "FOG=ON\r\nEOF\r\n");
    WorkingDirectory cwd(dir());
    Scene scene;
    scene.loadScene("Data\\Script\\Scene.dat");
    EXPECT_EQ(platform::windowTitle(), "Data\\Script\\Scene.dat...");
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(scene.objectCount(), 1);
    EXPECT_EQ(scene.objects[0]->textureId, 5);
    EXPECT_EQ(scene.objects[0]->shading, 2);
    EXPECT_TRUE(scene.fogEnabled);
    EXPECT_TRUE(scene.lightingEnabled);
}
