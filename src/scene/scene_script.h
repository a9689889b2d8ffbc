// Scene scripts: plain-text keyword files ("KEYWORD=argument" or "KEYWORD"
// per line) that set a scene's camera, fog, clear colour and lighting, add
// lights and magnets, and name the mesh files of its objects together with
// the render settings stamped on each. Scene::loadScene is the entry; the
// pieces below are exposed for tests and tools.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "assets/color.h"
#include "assets/diagnostic.h"
#include "assets/vec3.h"

// Keyword codes as readKeyword returns them; 0 means no keyword.
enum ScriptKeyword : int {
    KW_NONE = 0,
    KW_TEXTUREMAPPING = 1,
    KW_ENVMAPPING = 2,
    KW_FLARE = 3,
    KW_EOF = 99,
    KW_FILENAME = 100,
    KW_SCALEVALUE = 101,
    KW_LIGHTS = 102,
    KW_FOG = 103,
    KW_SHADING = 104,
    KW_VORTEX = 105,
    KW_CULLFACE = 106,
    KW_ADD_OMNI = 107,
    KW_ADD_SPOT = 108,
    KW_CAMERA_POSITION = 109,
    KW_CAMERA_TARGET = 110,
    KW_TEXTUREID = 111,
    KW_MAGNETIC = 112,
    KW_ADDMAGNET = 113,
    KW_BLEND = 114,
    KW_CULLBACK = 115,
    KW_FOGVALUE = 116,
    KW_DEPTHTEST = 118,
    KW_FLIPNORMALS = 119,
    KW_LIGHT_AMBIENT = 120,
    KW_LIGHT_DIFFUSE = 121,
    KW_LIGHT_SPECULAR = 122,
    KW_MATERIAL_AMBIENT = 123,
    KW_MATERIAL_DIFFUSE = 124,
    KW_MATERIAL_SPECULAR = 125,
    KW_OBJECT_POSITION = 126,
    KW_FOG_START = 127,
    KW_FOG_END = 128,
    KW_FOG_COLOR = 129,
    KW_CLEAR_COLOR = 130,
};

// The code of a keyword text compared exactly (case and length), else 0.
int keywordCode(std::string_view text);

// Longest keyword or argument text kept; longer text is cut here and the
// rest up to its delimiter is discarded.
constexpr size_t kScriptTextLimit = 99;
// Keywords dispatched per script at most; the rest of the file is not read.
constexpr int kScriptKeywordLimit = 1024;

// The current values of one script: attribute lines change them, each
// FILENAME line stamps them on the object it loads. Reset per script.
struct PendingSettings {
    float scale = 1.0f;                                    // 1.0
    bool flipNormals = false;                              // false
    int32_t shading = 1;                                   // 1 (texture mapping)
    int32_t textureId = 0;                                 // 0
    Vec3 position;                                         // all 0
    Color4 materialAmbient{0.2f, 0.2f, 0.2f, 1.0f};        // 0.2 0.2 0.2 1
    Color4 materialDiffuse{0.9f, 0.8f, 0.8f, 1.0f};        // 0.9 0.8 0.8 1
    Color4 materialSpecular{0.0f, 0.0f, 0.0f, 1.0f};       // 0 0 0 1
    bool magnetic = false;                                 // false
    bool blend = false;                                    // false
    bool cullFace = false;                                 // false
    bool cullBack = true;                                  // true
    bool vortex = false;                                   // false
    bool depthTest = true;                                 // true
    Color4 lightAmbient{0.5f, 0.5f, 0.5f, 1.0f};           // 0.5 0.5 0.5 1
    Color4 lightDiffuse{1.0f, 1.0f, 1.0f, 1.0f};           // 1 1 1 1
    Color4 lightSpecular{1.0f, 1.0f, 1.0f, 1.0f};          // 1 1 1 1
    float flareSize = 1.0f;                                // 1.0; fifth value of ADD_OMNI
};

// Light numbers handed out so far over all scripts of the run (0 at start,
// never reset by the show). Each ADD_OMNI / ADD_SPOT takes the current value.
// A global with meshTotals (scene.h): both count over every script of one
// load of the show, whoever loads it (the show, the data check, --inspect,
// the fuzzers, the tests), and resetLightCounter starts a load afresh.
extern int32_t lightCounter;
// Puts lightCounter and meshTotals back to 0, for a fresh load of the show
// (the data check, tests).
void resetLightCounter();

// Longest part of a line kept for tools that quote script lines.
constexpr size_t kScriptLineTextLimit = 200;

// A script line as tools see it.
struct ScriptLine {
    int number = 0;         // line of the file, from 1
    std::string text;       // as read so far, without its line end (at most kScriptLineTextLimit characters)
    int keyword = KW_NONE;  // its keyword code
};

struct Scene;

// Watches Scene::loadScene for tools that report on scripts (the data
// check); the show reads scripts without one.
class ScriptWatcher {
public:
    virtual ~ScriptWatcher() = default;
    // A FILENAME line, before its mesh file is loaded: false skips loading it
    // (the line still takes its place in the one-object-per-line count).
    virtual bool meshLine(const ScriptLine& line, const std::string& meshPath) = 0;
    // After a keyword line was carried out; `stampedObject` is the object a
    // FILENAME line stamped its settings on, -1 when none.
    virtual void lineDone(const ScriptLine& line, const Scene& scene, int stampedObject) = 0;
};

// Character input of one script held in memory: CR LF reads as one LF;
// reading stops for good at the end of the text.
class ScriptInput {
public:
    ScriptInput(std::string_view text, std::string fileName);

    // Next character, or -1 once reading has failed.
    int get();

    // Reads text up to "=" or LF (consumed, not kept; no white space
    // skipped) and returns its keyword code. Text that is no keyword drops
    // the rest of the line, reports "no valid attrib found on line %d, %s."
    // (caption "scenefile error") with the keyword's line, and gives 0.
    int readKeyword(Diagnostics& report);
    // The argument: text up to (not including) the next LF or the end.
    std::string readArgument();

    // The line the last keyword started on, with the text read of it so far.
    ScriptLine keywordLine(int keyword) const;
    // Whether reading has met the end of the stream (or failed).
    bool atEnd() const { return failed_; }

    int lineCounter = 1;  // 1; raised after each dispatched keyword

private:
    // Reads up to a delimiter (or the end), keeping kScriptTextLimit chars.
    std::string readText(bool stopAtEquals);

    std::string_view text_;
    size_t pos_ = 0;
    std::string fileName_;
    bool failed_ = false;
    int fileLine_ = 1;          // 1; line of the file being read
    int keywordFileLine_ = 1;   // 1; line the last keyword started on
    std::string lineText_;         // the line being read, so far
    std::string keywordLineText_;  // the last keyword's line, once it has ended
};

// Lines after a script's EOF line that hold more than white space: the
// reader stops at EOF and never sees them.
struct TextAfterEof {
    int eofLine = 0;   // 0; the EOF line, from 1
    ScriptLine first;  // the first such line (keyword not set)
    int lines = 0;     // 0; how many there are
};
// Nothing when there is no EOF line or only white space follows it.
std::optional<TextAfterEof> textAfterEof(std::string_view script);

// scanf-style argument parsing: each returns how many values it stored;
// values it did not reach keep their contents. A float is always finite: a
// decimal too small for a float reads as 0 (or the nearest subnormal), one
// too large as the largest float of its sign, and "inf" or "nan" text does
// not parse.
int parseFloats(std::string_view text, float* out, int count);
int parseInt(std::string_view text, int32_t& out);
// A switch is on exactly when its second character is "N".
bool parseSwitch(std::string_view text);
