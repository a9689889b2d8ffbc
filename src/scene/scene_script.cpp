// Scene::loadScene: reads one scene script keyword by keyword. Scene lines
// (camera, fog, clear colour, lighting, lights, magnets) change the scene at
// once; object attribute lines change the pending settings, which each
// FILENAME line stamps on the object its mesh file produced. Lights take
// their numbers from the process-wide lightCounter. Problems are
// "scenefile error" records with the line they are about and a hint where
// the line suggests the mistake; they never stop the show, and the scene
// keeps whatever was read before the problem. A mesh file's failure stops
// the reading and the show. A watcher, when given, sees each line with its
// number and text (the data check reports from it).
#include "scene/scene_script.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "scene/scene.h"

int32_t lightCounter = 0;

void resetLightCounter() {
    lightCounter = 0;
    meshTotals = MeshTotals{};
}

namespace {

struct KeywordEntry {
    std::string_view text;
    int code;
};

constexpr std::array<KeywordEntry, 34> kKeywords{{
    {"TEXTUREMAPPING", KW_TEXTUREMAPPING},
    {"ENVMAPPING", KW_ENVMAPPING},
    {"FLARE", KW_FLARE},
    {"EOF", KW_EOF},
    {"FILENAME", KW_FILENAME},
    {"SCALEVALUE", KW_SCALEVALUE},
    {"LIGHTS", KW_LIGHTS},
    {"FOG", KW_FOG},
    {"SHADING", KW_SHADING},
    {"VORTEX", KW_VORTEX},
    {"CULLFACE", KW_CULLFACE},
    {"ADD_OMNI", KW_ADD_OMNI},
    {"ADD_SPOT", KW_ADD_SPOT},
    {"CAMERA_POSITION", KW_CAMERA_POSITION},
    {"CAMERA_TARGET", KW_CAMERA_TARGET},
    {"TEXTUREID", KW_TEXTUREID},
    {"MAGNETIC", KW_MAGNETIC},
    {"ADDMAGNET", KW_ADDMAGNET},
    {"BLEND", KW_BLEND},
    {"CULLBACK", KW_CULLBACK},
    {"FOGVALUE", KW_FOGVALUE},
    {"DEPTHTEST", KW_DEPTHTEST},
    {"FLIPNORMALS", KW_FLIPNORMALS},
    {"LIGHT_AMBIENT", KW_LIGHT_AMBIENT},
    {"LIGHT_DIFFUSE", KW_LIGHT_DIFFUSE},
    {"LIGHT_SPECULAR", KW_LIGHT_SPECULAR},
    {"MATERIAL_AMBIENT", KW_MATERIAL_AMBIENT},
    {"MATERIAL_DIFFUSE", KW_MATERIAL_DIFFUSE},
    {"MATERIAL_SPECULAR", KW_MATERIAL_SPECULAR},
    {"OBJECT_POSITION", KW_OBJECT_POSITION},
    {"FOG_START", KW_FOG_START},
    {"FOG_END", KW_FOG_END},
    {"FOG_COLOR", KW_FOG_COLOR},
    {"CLEAR_COLOR", KW_CLEAR_COLOR},
}};

constexpr const char* kCaption = "scenefile error";

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

size_t skipSpace(std::string_view text, size_t pos) {
    while (pos < text.size() && isSpace(text[pos])) ++pos;
    return pos;
}

// Text that from_chars finds out of a float's range: tiny magnitudes read
// as 0, huge ones as the largest float. Which of the two is told by the
// decimal exponent of the first non-zero digit.
float outOfRange(std::string_view number) {
    const size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    int64_t exponent = 0;
    if (e != std::string_view::npos) {
        size_t p = e + 1;
        bool negative = false;
        if (p < number.size() && (number[p] == '+' || number[p] == '-')) negative = number[p++] == '-';
        for (; p < number.size(); ++p) exponent = std::min<int64_t>(exponent * 10 + (number[p] - '0'), 1000000);
        if (negative) exponent = -exponent;
    }
    // Position of the first non-zero digit relative to the decimal point.
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    for (size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] < '1' || mantissa[i] > '9') continue;
        const int64_t place = i < point ? static_cast<int64_t>(point - i) - 1 : -static_cast<int64_t>(i - point);
        return place + exponent < 0 ? 0.0f : std::numeric_limits<float>::max();
    }
    return 0.0f;
}

// One "%f" conversion starting at pos; advances pos past the number. Only
// decimal numbers are taken (no "inf", "nan" or hexadecimal floats), so the
// result is always finite.
bool parseFloatAt(std::string_view text, size_t& pos, float& out) {
    size_t p = skipSpace(text, pos);
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    if (p >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[p])) || text[p] == '.')) return false;
    const char* first = text.data() + p;
    const char* last = text.data() + text.size();
    float value = 0.0f;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::invalid_argument) return false;
    if (ec == std::errc::result_out_of_range) value = outOfRange(std::string_view(first, static_cast<size_t>(end - first)));
    out = negative ? -value : value;
    pos = static_cast<size_t>(end - text.data());
    return true;
}

void copySettings(const PendingSettings& pending, SceneObject& object) {
    object.shading = pending.shading;
    object.vortex = pending.vortex;
    object.cullFace = pending.cullFace;
    object.cullBack = pending.cullBack;
    object.textureId = pending.textureId;
    object.magnetic = pending.magnetic;
    object.blend = pending.blend;
    object.depthTest = pending.depthTest;
    object.position = pending.position;
    object.materialAmbient = pending.materialAmbient;
    object.materialDiffuse = pending.materialDiffuse;
    object.materialSpecular = pending.materialSpecular;
}

}  // namespace

int keywordCode(std::string_view text) {
    for (const KeywordEntry& entry : kKeywords)
        if (entry.text == text) return entry.code;
    return KW_NONE;
}

int parseFloats(std::string_view text, float* out, int count) {
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') return i;
            ++pos;
        }
        if (!parseFloatAt(text, pos, out[i])) return i;
    }
    return count;
}

int parseInt(std::string_view text, int32_t& out) {
    size_t p = skipSpace(text, 0);
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    if (p >= text.size() || !std::isdigit(static_cast<unsigned char>(text[p]))) return 0;
    int64_t value = 0;
    constexpr int64_t kCap = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])); ++p)
        value = std::min(kCap, value * 10 + (text[p] - '0'));
    if (negative) value = -value;
    value = std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                std::numeric_limits<int32_t>::max());
    out = static_cast<int32_t>(value);
    return 1;
}

bool parseSwitch(std::string_view text) { return text.size() >= 2 && text[1] == 'N'; }

namespace {

Diagnostic scriptWarning(const std::string& fileName, const std::string& text) {
    Diagnostic d;
    d.file = fileName;
    d.caption = kCaption;
    d.text = text;
    d.icon = platform::Icon::Warning;
    return d;
}

bool endsWithSpace(std::string_view text) { return !text.empty() && (text.back() == ' ' || text.back() == '\t'); }

// The likely mistake on a line that is no keyword, where reading stopped.
std::string stopHint(const std::string& t, bool endOfFile) {
    if (t.rfind("\xEF\xBB\xBF", 0) == 0)
        return "the file starts with a byte-order mark: save it as plain text without one";
    if (t.empty())
        return endOfFile ? "the file ends without an EOF line: end every script with a line EOF"
                         : "a blank line stops the script: remove it";
    if (t.front() == ' ' || t.front() == '\t') return "no white space before the keyword";
    const size_t eq = t.find('=');
    const std::string word = t.substr(0, eq);
    if (endsWithSpace(word) || (eq != std::string::npos && eq + 1 < t.size() && t[eq + 1] == ' '))
        return "no spaces around \"=\"";
    std::string upper = word;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper != word && keywordCode(upper) != KW_NONE) return "keywords are upper case: " + upper;
    return "\"" + word + "\" is no keyword; the script is read up to here";
}

}  // namespace

ScriptInput::ScriptInput(std::string_view text, std::string fileName)
    : text_(text), fileName_(std::move(fileName)) {}

int ScriptInput::get() {
    if (failed_) return -1;
    if (pos_ >= text_.size()) {
        failed_ = true;
        return -1;
    }
    int c = static_cast<unsigned char>(text_[pos_++]);
    if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') {
        ++pos_;
        c = '\n';
    }
    if (c == '\n') {
        if (fileLine_ == keywordFileLine_) keywordLineText_.swap(lineText_);
        lineText_.clear();
        ++fileLine_;
    } else if (lineText_.size() < kScriptLineTextLimit) {
        lineText_.push_back(static_cast<char>(c));
    }
    return c;
}

ScriptLine ScriptInput::keywordLine(int keyword) const {
    return {keywordFileLine_, fileLine_ == keywordFileLine_ ? lineText_ : keywordLineText_, keyword};
}

std::string ScriptInput::readText(bool stopAtEquals) {
    std::string text;
    for (int c = get(); c >= 0 && c != '\n' && !(stopAtEquals && c == '='); c = get())
        if (text.size() < kScriptTextLimit) text.push_back(static_cast<char>(c));
    return text;
}

int ScriptInput::readKeyword(Diagnostics& report) {
    keywordFileLine_ = fileLine_;
    const int code = keywordCode(readText(true));
    if (code != KW_NONE) return code;
    for (int c = get(); c >= 0 && c != '\n'; c = get()) {
    }
    const ScriptLine line = keywordLine(KW_NONE);
    report.push_back(scriptWarning(fileName_, "no valid attrib found on line " + std::to_string(lineCounter) + ", " +
                                                  fileName_ + "."));
    report.back().line = line.number;
    report.back().lineText = line.text;
    return KW_NONE;
}

std::string ScriptInput::readArgument() { return readText(false); }

std::optional<TextAfterEof> textAfterEof(std::string_view script) {
    std::optional<TextAfterEof> found;
    int eofLine = 0;
    int number = 0;
    for (size_t start = 0; start < script.size(); ++number) {
        const size_t end = std::min(script.find('\n', start), script.size());
        std::string_view line = script.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (eofLine == 0) {
            if (line.substr(0, line.find('=')) == "EOF") eofLine = number + 1;
            continue;
        }
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
        if (!found) {
            found = TextAfterEof{eofLine, {number + 1, std::string(line.substr(0, kScriptLineTextLimit))}, 0};
        }
        ++found->lines;
    }
    return found;
}

bool Scene::loadScene(const std::string& fileName, Diagnostics& report, ScriptWatcher* watcher) {
    platform::setWindowTitle(fileName + "...");

    PendingSettings pending;
    float slots[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int32_t k = 0;

    const FileBytes file = readFileBounded(resolveDataPath(fileName), kScriptFileCap);
    if (file.error == FileReadError::TooLarge) {
        report.push_back(scriptWarning(
            fileName, fileName + " is larger than " + capText(kScriptFileCap) + ", the limit for a scene script"));
        return true;
    }
    if (!file.ok()) {
        report.push_back(scriptWarning(fileName, "scenefile not found"));
        return true;
    }
    ScriptInput in(std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()), fileName);

    // Every FILENAME line appends its objects with normals of its own flip;
    // when reading ends every object gets the flip of the last FILENAME
    // line, as a full load3ds per line would have left them. (Not after a
    // mesh failure: the show stops there.)
    MeshFileCache meshFiles;
    bool lastFlip = false;
    bool loadedMesh = false;
    int code = in.readKeyword(report);
    for (; code != KW_NONE && code != KW_EOF; code = in.readKeyword(report)) {
        int stamped = -1;
        switch (code) {
            case KW_FILENAME: {
                const std::string meshPath = in.readArgument();
                if (!watcher || watcher->meshLine(in.keywordLine(code), meshPath)) {
                    if (!appendMeshFile(meshPath, pending.scale, pending.flipNormals, meshFiles, report)) {
                        const ScriptLine line = in.keywordLine(code);
                        report.back().file = fileName;
                        report.back().line = line.number;
                        report.back().lineText = line.text;
                        return false;
                    }
                    loadedMesh = true;
                    lastFlip = pending.flipNormals;
                }
                // One object per mesh file: line k stamps object k, if the
                // files so far produced that many.
                if (k < objectCount()) {
                    copySettings(pending, *objects[static_cast<size_t>(k)]);
                    stamped = k;
                }
                ++k;
                break;
            }
            case KW_SCALEVALUE: parseFloats(in.readArgument(), &pending.scale, 1); break;
            case KW_LIGHTS: lightingEnabled = parseSwitch(in.readArgument()); break;
            case KW_FOG: fogEnabled = parseSwitch(in.readArgument()); break;
            case KW_SHADING:
                pending.shading = in.readKeyword(report);
                if (pending.shading == KW_NONE)
                    report.back().hint =
                        "SHADING takes TEXTUREMAPPING, ENVMAPPING or FLARE; the line after it is skipped";
                break;
            case KW_VORTEX: pending.vortex = parseSwitch(in.readArgument()); break;
            case KW_CULLFACE: pending.cullFace = parseSwitch(in.readArgument()); break;
            case KW_ADD_OMNI: {
                const std::string argument = in.readArgument();
                float values[5] = {slots[0], slots[1], slots[2], slots[3], pending.flareSize};
                parseFloats(argument, values, 5);
                std::copy(values, values + 4, slots);
                pending.flareSize = values[4];
                addOmniLight(slots[0], slots[1], slots[2], slots[3], pending.lightAmbient,
                             pending.lightDiffuse, pending.lightSpecular, lightCounter,
                             pending.flareSize);
                ++lightCounter;
                break;
            }
            case KW_ADD_SPOT:
                parseFloats(in.readArgument(), slots, 4);
                addSpotLight(slots[0], slots[1], slots[2], slots[3], lightCounter);
                ++lightCounter;
                break;
            case KW_CAMERA_POSITION:
                parseFloats(in.readArgument(), slots, 4);
                cameraPosition.setVec3(slots[0], slots[1], slots[2], slots[3]);
                break;
            case KW_CAMERA_TARGET:
                parseFloats(in.readArgument(), slots, 4);
                cameraTarget.setVec3(slots[0], slots[1], slots[2], 0.0f);
                break;
            case KW_OBJECT_POSITION: {
                float values[4] = {pending.position.x, pending.position.y, pending.position.z,
                                   pending.position.w};
                parseFloats(in.readArgument(), values, 4);
                pending.position.setVec3(values[0], values[1], values[2], values[3]);
                break;
            }
            case KW_TEXTUREID: parseInt(in.readArgument(), pending.textureId); break;
            case KW_MAGNETIC: pending.magnetic = parseSwitch(in.readArgument()); break;
            case KW_ADDMAGNET:
                parseFloats(in.readArgument(), slots, 4);
                addMagnet(slots[0], slots[1], slots[2], slots[3]);
                break;
            case KW_BLEND: pending.blend = parseSwitch(in.readArgument()); break;
            case KW_CULLBACK: pending.cullBack = parseSwitch(in.readArgument()); break;
            case KW_DEPTHTEST: pending.depthTest = parseSwitch(in.readArgument()); break;
            case KW_FLIPNORMALS: pending.flipNormals = parseSwitch(in.readArgument()); break;
            case KW_LIGHT_AMBIENT: parseFloats(in.readArgument(), pending.lightAmbient.data(), 4); break;
            case KW_LIGHT_DIFFUSE: parseFloats(in.readArgument(), pending.lightDiffuse.data(), 4); break;
            case KW_LIGHT_SPECULAR: parseFloats(in.readArgument(), pending.lightSpecular.data(), 4); break;
            case KW_MATERIAL_AMBIENT:
                parseFloats(in.readArgument(), pending.materialAmbient.data(), 4);
                break;
            case KW_MATERIAL_DIFFUSE:
                parseFloats(in.readArgument(), pending.materialDiffuse.data(), 4);
                break;
            case KW_MATERIAL_SPECULAR:
                parseFloats(in.readArgument(), pending.materialSpecular.data(), 4);
                break;
            case KW_FOG_START: parseInt(in.readArgument(), fogStart); break;
            case KW_FOG_END: parseInt(in.readArgument(), fogEnd); break;
            case KW_FOG_COLOR: parseFloats(in.readArgument(), fogColor.data(), 4); break;
            case KW_CLEAR_COLOR: parseFloats(in.readArgument(), clearColor.data(), 4); break;
            default: break;  // TEXTUREMAPPING, ENVMAPPING, FLARE, FOGVALUE: nothing
        }
        if (watcher) watcher->lineDone(in.keywordLine(code), *this, stamped);

        if (in.lineCounter == kScriptKeywordLimit) {
            in.lineCounter = kScriptKeywordLimit + 1;
            break;
        }
        ++in.lineCounter;
    }
    if (code == KW_NONE) report.back().hint = stopHint(report.back().lineText, in.atEnd());
    if (loadedMesh) settleNormals(lastFlip);
    return true;
}
