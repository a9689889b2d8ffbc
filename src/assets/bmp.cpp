// loadDib: reads a bitmap file through the bounded reader, decodes it with
// decodeDib and turns each failure into the decoder's message box (caption
// "Error", OK only).
#include "assets/dib.h"
#include "assets/file_read.h"
#include "assets/image.h"
#include "platform/platform.h"

namespace {

void showError(const std::string& text) {
    platform::messageBox(text, "Error", platform::Icon::None, platform::Buttons::Ok);
}

}  // namespace

DibResult decodeDibShown(const std::vector<uint8_t>& bytes, const std::string& path, uint64_t maxPixels) {
    if (bytes.empty()) {
        showError("Failed to open DIB file " + path + ".\n");
        DibResult empty;
        empty.error = DibError::ConversionError;
        return empty;
    }
    DibResult result = decodeDib(bytes.data(), bytes.size(), maxPixels);
    if (!result.image && result.error != DibError::OverBudget) showError(dibErrorText(result.error));
    return result;
}

std::optional<RgbImage> loadDib(const std::string& path) {
    const FileBytes file = readFileBounded(path, kBitmapFileCap);
    if (!file.ok()) {
        showError("Failed to open DIB file " + path + ".\n");
        return std::nullopt;
    }
    return std::move(decodeDibShown(file.bytes, path, kAnyPixelCount).image);
}
