#include "scene/scene.h"
#include "scene_fixtures.h"
#include "writers/tds_writer.h"

namespace {

class SceneScript : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(tds::write3dsFile(path("m.3ds"), {triangle()}));
        ASSERT_TRUE(tds::writeBytesFile(path("none.3ds"), tds::header(tds::kMain, 6)));
    }

    // Writes `text` as a script and loads it into `scene`, its records kept
    // in `found` and shown as boxes; returns its path.
    std::string load(Scene& scene, const std::string& text, const std::string& name = "scene.dat") {
        const std::string file = writeText(name, text);
        loadShown(scene, file);
        return file;
    }
    bool loadShown(Scene& scene, const std::string& file) {
        found.clear();
        const bool read = scene.loadScene(file, found);
        showDiagnostics(found);
        return read;
    }
    // The one box of a script that stops at `line`, or of a missing script.
    static std::vector<RecordedBox> warned(const std::string& text) {
        return {{text, "scenefile error", platform::Icon::Warning, platform::Buttons::Ok}};
    }
    static std::vector<RecordedBox> warned(int line, const std::string& file) {
        return warned("no valid attrib found on line " + std::to_string(line) + ", " + file + ".");
    }
    std::string filename(const std::string& mesh = "m.3ds") const { return "FILENAME=" + path(mesh) + "\n"; }

    Diagnostics found;
};

}  // namespace

TEST_F(SceneScript, SwitchesLookAtTheSecondCharacterOnly) {
    for (const auto& [line, on] : {std::pair{"FOG=ON", true}, {"FOG=OFF", false}, {"FOG=on", false},
                                   {"FOG=ONE", true}, {"FOG=N", false}, {"FOG=", false}}) {
        Scene scene;
        scene.fogEnabled = !on;
        load(scene, std::string(line) + "\nEOF\n");
        EXPECT_EQ(scene.fogEnabled, on) << line;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SceneScript, TextThatIsNoKeywordWarnsWithItsLineAndStops) {
    for (const char* bad : {"FOG = ON", " FOG=ON", "fog=ON", "", "FOG_=1"}) {
        boxes.clear();
        Scene scene;
        const std::string file = load(scene, "LIGHTS=ON\n" + std::string(bad) + "\nFOG=ON\nEOF\n");
        EXPECT_EQ(boxes, warned(2, file)) << bad;
        EXPECT_TRUE(scene.lightingEnabled);
        EXPECT_FALSE(scene.fogEnabled) << bad;
    }
    // A script without EOF: hardening/hostile_files_test (script_without_eof.dat).
}

// Each record names the script, the line and its text, with the likely
// mistake; a mesh failure stops the reading and the show at its line.
TEST_F(SceneScript, RecordsNameTheLineTheyAreAbout) {
    struct Case {
        std::string text;
        int line;
        std::string lineText, hint;
    } cases[] = {
        {"LIGHTS=ON\nFOG = ON\nEOF\n", 2, "FOG = ON", "no spaces around \"=\""},
        {"LIGHTS=ON\nfog=ON\nEOF\n", 2, "fog=ON", "keywords are upper case: FOG"},
        {"LIGHTS=ON\n\nEOF\n", 2, "", "a blank line stops the script: remove it"},
        {"LIGHTS=ON\n", 2, "", "the file ends without an EOF line: end every script with a line EOF"},
        {"\xEF\xBB\xBFLIGHTS=ON\n", 1, "\xEF\xBB\xBFLIGHTS=ON",
         "the file starts with a byte-order mark: save it as plain text without one"},
        {"SHADING=SHINY\nFOG=ON\nEOF\n", 1, "SHADING=SHINY",
         "SHADING takes TEXTUREMAPPING, ENVMAPPING or FLARE; the line after it is skipped"},
    };
    for (const Case& c : cases) {
        Scene scene;
        const std::string file = load(scene, c.text);
        ASSERT_EQ(found.size(), 1u) << c.text;
        EXPECT_EQ(found[0].file, file);
        EXPECT_EQ(found[0].line, c.line) << c.text;
        EXPECT_EQ(found[0].lineText, c.lineText) << c.text;
        EXPECT_EQ(found[0].hint, c.hint) << c.text;
        EXPECT_FALSE(found[0].stops);
    }

    Scene scene;
    const std::string script = writeText("mesh.dat", filename() + "FILENAME=" + path("absent.3ds") + "\nFOG=ON\nEOF\n");
    EXPECT_FALSE(loadShown(scene, script));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].file, script);
    EXPECT_EQ(found[0].line, 2);
    EXPECT_EQ(found[0].lineText, "FILENAME=" + path("absent.3ds"));
    EXPECT_EQ(messageLine(found[0]), "multimedia error: cannot open 3ds-file");
    EXPECT_TRUE(found[0].stops);
    EXPECT_EQ(scene.objectCount(), 1);
    EXPECT_FALSE(scene.fogEnabled);  // nothing after the failed line is read
}

// (A folder, a FIFO, a device or an unreadable file in its place:
// hardening/fault_injection_test.)
TEST_F(SceneScript, MissingScriptWarnsAndLeavesTheSceneAlone) {
    Scene scene;
    EXPECT_TRUE(loadShown(scene, path("absent.dat")));
    EXPECT_EQ(boxes, warned("scenefile not found"));
    EXPECT_EQ(platform::windowTitle(), path("absent.dat") + "...");
    EXPECT_FALSE(std::filesystem::exists(path("absent.dat")));  // opening never creates it
}

TEST_F(SceneScript, NumbersStopEarlyAndKeepOldValues) {
    Scene scene;
    load(scene,
         "FOG_COLOR=0.1,0.2,0.3,0.4\n"
         "FOG_COLOR=0.5,x,0.7,0.8\n"  // stops after the first value
         "CLEAR_COLOR= 1, 2 ,3,4\n"   // white space may precede a number, not a comma
         "MATERIAL_AMBIENT=1,1,1," + std::string(95, ' ') + "0.5\n"  // the fourth value lies past character 99
         "FOG_START=12.5\nFOG_END=abc\nMATERIAL_DIFFUSE=1,0\nTEXTUREID=7.9\nSCALEVALUE=2e0 metres\n" +
             filename() + "EOF\n");
    EXPECT_EQ(scene.fogColor, (Color4{0.5f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(scene.clearColor, (Color4{1.0f, 2.0f, 0.0f, 0.5f}));
    EXPECT_EQ(scene.fogStart, 12);
    EXPECT_EQ(scene.fogEnd, 50);
    ASSERT_EQ(scene.objectCount(), 1);
    EXPECT_EQ(scene.objects[0]->materialDiffuse, (Color4{1.0f, 0.0f, 0.8f, 1.0f}));
    EXPECT_EQ(scene.objects[0]->materialAmbient, (Color4{1, 1, 1, 1}));
    EXPECT_EQ(scene.objects[0]->textureId, 7);
    EXPECT_EQ(scene.objects[0]->vertices[1].position.x, 2.0f);

    float f[3] = {9, 9, 9};
    EXPECT_EQ(parseFloats("+.25,-1.5e2,1,", f, 3), 3);
    EXPECT_EQ(f[0] + f[1], -149.75f);
    EXPECT_EQ(parseFloats("+-1", f, 1), 0);
    int32_t i = 5;
    EXPECT_EQ(parseInt("- 1", i), 0);
    // Overflowing numbers: hardening/hostile_files_test (script_number_overflow.dat).
}

TEST_F(SceneScript, SharedSlotsCarryValuesBetweenLines) {
    Scene first;
    load(first, "ADDMAGNET=5,6,7,8\nCAMERA_POSITION=1,2,3\nCAMERA_TARGET=9,9,9,9\nADD_SPOT=4\nEOF\n");
    EXPECT_EQ(first.cameraPosition.w, 8.0f);
    EXPECT_EQ(first.cameraTarget.x, 9.0f);
    EXPECT_EQ(first.cameraTarget.w, 0.0f);  // the target's w is always 0 ...
    ASSERT_EQ(first.spotCount(), 1);
    EXPECT_EQ(first.spotLights[0].position.x, 4.0f);
    EXPECT_EQ(first.spotLights[0].position.w, 9.0f);  // ... but its slot keeps 9
    Scene second;  // slots start at 0 in every script
    load(second, "CAMERA_POSITION=1,2,3\nEOF\n", "second.dat");
    EXPECT_EQ(second.cameraPosition.w, 0.0f);
}

TEST_F(SceneScript, LightsTakeTheColoursAboveThemAndNumbersAcrossScripts) {
    Scene one, two;
    load(one, "ADD_OMNI=0,10,0,1\nLIGHT_DIFFUSE=1,0.9,0.8,1\nADD_OMNI=0,20,-10,1,2\nLIGHT_AMBIENT=0,0,0,0\nEOF\n",
         "one.dat");
    load(two, "ADD_SPOT=0,0,0,1\nADD_OMNI=1\nADD_OMNI=0,0,0,1,3\nEOF\n", "two.dat");
    ASSERT_EQ(one.omniCount(), 2);
    EXPECT_EQ(one.omniLights[0].flareSize, 1.0f);
    EXPECT_EQ(one.omniLights[0].diffuse, (Color4{1, 1, 1, 1}));
    EXPECT_EQ(one.omniLights[1].diffuse, (Color4{1, 0.9f, 0.8f, 1}));
    EXPECT_EQ(one.omniLights[1].ambient, (Color4{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(one.omniLights[1].flareSize, 2.0f);
    ASSERT_EQ(two.omniCount(), 2);
    EXPECT_EQ(two.omniLights[0].flareSize, 1.0f);  // pending values restart per script
    EXPECT_EQ(two.omniLights[0].position.y, 0.0f);
    EXPECT_EQ(one.omniLights[1].lightNumber, 1);
    EXPECT_EQ(two.spotLights[0].lightNumber, 2);
    EXPECT_EQ(two.omniLights[1].lightNumber, 4);
    EXPECT_EQ(lightCounter, 5);
}

TEST_F(SceneScript, FilenameStampsThePendingSettingsOnObjectK) {
    Scene scene;
    load(scene, filename() +  // object 0: the loader's starting values
                    "TEXTUREID=3\nSHADING=ENVMAPPING\nBLEND=ON\nVORTEX=ON\nMAGNETIC=ON\nCULLFACE=ON\nCULLBACK=OFF\n"
                    "DEPTHTEST=OFF\nOBJECT_POSITION=1,2,3,4\nMATERIAL_AMBIENT=0.1,0.1,0.1,0.5\n"
                    "MATERIAL_SPECULAR=1,1,1,1\nFLIPNORMALS=ON\n" +
                    filename() + "TEXTUREID=4\nBLEND=OFF\n" + filename() + "EOF\n");
    ASSERT_EQ(scene.objectCount(), 3);
    const SceneObject& plain = *scene.objects[0];
    EXPECT_EQ(plain.materialDiffuse, (Color4{0.9f, 0.8f, 0.8f, 1.0f}));
    EXPECT_TRUE(!plain.cullFace && plain.cullBack && plain.depthTest && !plain.blend);
    EXPECT_EQ(plain.shading, 1);

    const SceneObject& set = *scene.objects[1];
    EXPECT_EQ(set.textureId, 3);
    EXPECT_EQ(set.shading, 2);
    EXPECT_TRUE(set.blend && set.vortex && set.magnetic && set.cullFace && !set.cullBack && !set.depthTest);
    EXPECT_EQ(set.position.w, 4.0f);
    EXPECT_EQ(set.materialAmbient, (Color4{0.1f, 0.1f, 0.1f, 0.5f}));
    EXPECT_EQ(set.materialSpecular, (Color4{1, 1, 1, 1}));
    EXPECT_TRUE(set.shininess == 50.0f && set.visible);  // not copied

    const SceneObject& last = *scene.objects[2];
    EXPECT_EQ(last.textureId, 4);
    EXPECT_TRUE(!last.blend && last.vortex);  // pending values persist until changed
    EXPECT_EQ(plain.vertices[0].normal.z, -1.0f);  // the last load flipped every object

    Scene next;  // pending settings do not carry over into the next script
    load(next, filename() + "EOF\n", "next.dat");
    EXPECT_FALSE(next.objects[0]->blend);
    EXPECT_EQ(next.objects[0]->vertices[0].normal.z, 1.0f);
}

TEST_F(SceneScript, FileWithoutObjectsStampsNothing) {
    Scene scene;
    load(scene, "BLEND=ON\n" + filename("none.3ds") + filename() + filename("none.3ds") + "EOF\n");
    ASSERT_EQ(scene.objectCount(), 1);
    // The second FILENAME line made object 0, but addresses object 1.
    EXPECT_FALSE(scene.objects[0]->blend);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SceneScript, ShadingReadsItsArgumentAsAKeyword) {
    Scene scene;
    const std::string file = load(scene, "SHADING=EOF\n" + filename() + "SHADING=FLARE\n" + filename() +
                                             "SHADING=SHINY\nFOG=ON\n" +  // FOG=ON is swallowed
                                             filename() + "FLARE\nENVMAPPING\nFOGVALUE\nLIGHTS=ON\nEOF\n");
    ASSERT_EQ(scene.objectCount(), 3);
    EXPECT_EQ(scene.objects[0]->shading, 99);
    EXPECT_EQ(scene.objects[1]->shading, 3);
    EXPECT_EQ(scene.objects[2]->shading, 0);
    EXPECT_TRUE(!scene.fogEnabled && scene.lightingEnabled);
    EXPECT_EQ(boxes, warned(5, file));

    // An argument after a keyword that takes none reads as the next keyword.
    boxes.clear();
    Scene other;
    const std::string second = load(other, "FLARE=1\nFOG=ON\nEOF\n", "flare.dat");
    EXPECT_FALSE(other.fogEnabled);
    EXPECT_EQ(boxes, warned(2, second));  // FLARE was keyword 1, "1" keyword 2
}
