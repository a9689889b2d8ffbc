// The texture list and its upload. loadTextures reads "data\script\texture.dat"
// (one BMP path per newline-terminated line), decodes each picture and makes
// it a mipmapped GL texture in TextureTable entry i for line i. It leaves the
// last texture bound, the pixel-store alignments as they were, and the window
// title at "textures...". Each failure is a record naming the list's line,
// with a hint where the path or the bitmap's header suggests the cause; the
// data check reads the same records.
#include "assets/texture_table.h"

#include "platform/gl.h"
#include <algorithm>
#include <functional>
#include <istream>

#include "assets/data_path.h"
#include "assets/dib.h"
#include "assets/file_read.h"
#include "assets/picture_probe.h"
#include "platform/glu_sizes.h"
#include "platform/platform.h"

std::array<uint32_t, kTextureTableSize> TextureTable{};

namespace {

// Lines are read into a 99-byte buffer: at most 98 characters per read.
constexpr size_t kMaxRead = 98;

// One read of at most kMaxRead characters from `text` at `pos`, stopping
// after a newline. Returns false when the read ran into the end.
bool readOnce(std::string_view text, size_t& pos, std::string& out) {
    out.clear();
    while (out.size() < kMaxRead) {
        if (pos >= text.size()) return false;
        char c = text[pos++];
        if (c == '\r' && pos < text.size() && text[pos] == '\n') c = text[pos++];
        out.push_back(c);
        if (c == '\n') break;
    }
    return true;
}

// Uploads the picture and its whole mipmap chain into the bound texture.
// Sides that are not powers of two are scaled first with gluScaleImage;
// gluBuild2DMipmaps would do the same but, in this GLU, drops the top row
// when only the width needs scaling. Needs pack and unpack alignment 1.
void uploadMipmaps(const RgbImage& image) {
    GLint w = gluPowerOfTwoSide(image.width), h = gluPowerOfTwoSide(image.height);
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    while (maxSide > 0 && (w > maxSide || h > maxSide)) {
        w = std::max(w / 2, 1);
        h = std::max(h / 2, 1);
    }
    const uint8_t* pixels = image.data.data();
    std::vector<uint8_t> scaled;
    if (w != image.width || h != image.height) {
        scaled.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
        gluScaleImage(GL_RGB, image.width, image.height, GL_UNSIGNED_BYTE, image.data.data(), w, h,
                      GL_UNSIGNED_BYTE, scaled.data());
        pixels = scaled.data();
    }
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}

// Sets pack and unpack alignment to 1 while alive (rows are packed at
// 3 * width bytes) and puts the previous values back.
class PackedRows {
public:
    PackedRows() {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack_);
        glGetIntegerv(GL_PACK_ALIGNMENT, &pack_);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
    }
    ~PackedRows() {
        glPixelStorei(GL_UNPACK_ALIGNMENT, unpack_);
        glPixelStorei(GL_PACK_ALIGNMENT, pack_);
    }
    PackedRows(const PackedRows&) = delete;
    PackedRows& operator=(const PackedRows&) = delete;

private:
    GLint unpack_ = 4, pack_ = 4;
};

Diagnostic listError(const std::string& text) {
    Diagnostic d;
    d.file = kTextureListPath;
    d.caption = "multimedia error";
    d.text = text;
    d.icon = platform::Icon::Exclamation;
    return d;
}

// Why a listed path may not open, where the path itself suggests it.
std::string unopenedHint(const std::string& path) {
    if (path.size() == 97) return "a path has at most 97 characters; a longer line is read as two";
    if (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
        return "the path ends with white space, which counts as part of it";
    return "";
}

// Another format under the .bmp name is named, with the command that
// converts it in place; else what the header says.
std::string refusedBitmapHint(const DibResult& result, const std::string& path, const std::vector<uint8_t>& bytes) {
    if (const char* format = otherPictureFormat(bytes.data(), bytes.size()))
        return std::string("it is a ") + format + " file named .bmp, and the show reads BMP only: convert it with "
               "convert " + withSlashes(path) + " BMP3:" + withSlashes(path);
    const DibHeader& h = result.header;
    std::string hint;
    if (result.error == DibError::UnknownFormat) {
        hint = "its header is " + std::to_string(h.size) +
               " bytes; headers of 12, 40, 56, 108 and 124 bytes are read. ";
    } else if (result.error == DibError::ConversionError && h.size != 0) {
        hint = "its header is " + std::to_string(h.size) + " bytes, " + std::to_string(h.bitCount) +
               " bits per pixel, compression " + std::to_string(h.compression) +
               (h.compression == 4 || h.compression == 5 ? " (a JPEG or PNG inside the bitmap)" : "") + ". ";
    } else if (result.error == DibError::OutOfMemory) {
        return "sides above " + std::to_string(kMaxDibSide) + " pixels are refused";
    }
    return hint + "Re-save it as a plain 24-bit bitmap, e.g. convert in.png BMP3:out.bmp";
}

}  // namespace

uint32_t textureName(int32_t textureId) {
    return textureId >= 0 && textureId < kTextureTableSize ? TextureTable[static_cast<size_t>(textureId)] : 0;
}

std::vector<std::string> readTextureList(std::string_view text) {
    std::vector<std::string> entries;
    std::string read;
    size_t pos = 0;
    while (entries.size() < static_cast<size_t>(kTextureTableSize) && readOnce(text, pos, read)) {
        read.pop_back();  // the newline, or the 98th character of an overlong line
        // A path is a C string: a NUL byte ends it.
        entries.push_back(read.substr(0, read.find('\0')));
    }
    return entries;
}

std::vector<std::string> readTextureList(std::istream& in) {
    std::string text;
    char block[4096];
    // Only the start of a list is ever used (see kTextureListCap).
    while (text.size() < kTextureListCap && in.read(block, sizeof block).gcount() > 0)
        text.append(block, static_cast<size_t>(in.gcount()));
    return readTextureList(text);
}

std::optional<TextureListFile> readTextureListFile(const std::string& path, Diagnostics& report) {
    const FileBytes file = readFileBounded(path, kTextureListCap, OverCap::ReadPrefix);
    if (!file.ok()) {
        report.push_back(listError("Unable to open texture.dat"));
        return std::nullopt;
    }
    const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
    TextureListFile list;
    list.entries = readTextureList(text);
    // The last line, when it has no newline (a list read whole only).
    const bool whole = file.sizeAtOpen == file.bytes.size();
    if (whole && !text.empty() && text.back() != '\n' && list.entries.size() < static_cast<size_t>(kTextureTableSize)) {
        const std::string_view end = text.substr(text.size() - std::min<size_t>(text.size(), 200));
        const size_t newline = end.rfind('\n');
        std::string line(newline == std::string_view::npos ? end : end.substr(newline + 1));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        list.unreadLastLine = line;
    }
    return list;
}

ListedBitmap loadListedBitmap(const std::string& path, uint64_t maxPixels) {
    ListedBitmap out;
    if (path.empty()) {
        out.diagnostics.push_back(listError("Unable to open "));
        return out;
    }
    const std::string resolved = resolveDataPath(path);
    const FileBytes file = readFileBounded(resolved, kBitmapFileCap);
    if (file.error == FileReadError::TooLarge) {
        out.diagnostics.push_back(
            listError(path + " is larger than " + capText(kBitmapFileCap) + ", the limit for a bitmap"));
        return out;
    }
    if (!file.ok()) {
        out.diagnostics.push_back(listError("Unable to open " + path));
        out.diagnostics.back().hint = unopenedHint(path);
        return out;
    }
    DibResult result = decodeDibReported(file.bytes, resolved, maxPixels, out.diagnostics);
    if (result.error == DibError::OverBudget) {
        out.diagnostics.push_back(listError(path + " takes the textures past their budget of " +
                                            std::to_string(kTexturePixelBudget) + " pixels"));
    } else if (!result.image) {
        if (!file.bytes.empty()) out.diagnostics.back().hint = refusedBitmapHint(result, path, file.bytes);
        out.diagnostics.push_back(listError("Unable to open " + path));
    }
    out.image = std::move(result.image);
    return out;
}

bool loadListedPictures(const std::vector<std::string>& entries, const std::function<void(size_t, RgbImage&&)>& use,
                        Diagnostics& report, ListFailure onFailure) {
    uint64_t pixelsLeft = kTexturePixelBudget;
    bool ok = true;
    for (size_t i = 0; i < entries.size(); ++i) {
        ListedBitmap bitmap = loadListedBitmap(entries[i], pixelsLeft);
        for (Diagnostic& d : bitmap.diagnostics) {
            d.file = kTextureListPath;
            d.line = static_cast<int>(i) + 1;
            d.lineText = entries[i];
            if (entries[i].empty()) d.hint = "line " + std::to_string(i + 1) +
                                             " of the list is blank: every line is a picture, so remove blank lines";
            report.push_back(std::move(d));
        }
        if (!bitmap.image) {
            ok = false;
            if (onFailure == ListFailure::ends) return false;
            continue;
        }
        pixelsLeft -= static_cast<uint64_t>(bitmap.image->width) * static_cast<uint64_t>(bitmap.image->height);
        use(i, std::move(*bitmap.image));
    }
    return ok;
}

bool loadTextures(Diagnostics& report) {
    platform::setWindowTitle("textures...");
    const std::optional<TextureListFile> list = readTextureListFile(resolveDataPath(kTextureListPath), report);
    if (!list) return false;
    const auto count = static_cast<GLsizei>(list->entries.size());
    if (count > 0) glGenTextures(count, TextureTable.data());

    const PackedRows packed;
    return loadListedPictures(
        list->entries,
        [](size_t i, RgbImage&& image) {
            glBindTexture(GL_TEXTURE_2D, TextureTable[i]);
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_REPEAT));
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_REPEAT));
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR_MIPMAP_NEAREST));
            uploadMipmaps(image);
        },
        report, ListFailure::ends);
}

void unloadTextures() {
    glDeleteTextures(kTextureTableSize, TextureTable.data());
    TextureTable.fill(0);
}
