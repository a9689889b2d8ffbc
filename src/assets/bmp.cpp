// loadDib: reads a bitmap file through the bounded reader, decodes it with
// decodeDib and turns each failure into the decoder's record (caption
// "Error").
#include "assets/dib.h"
#include "assets/file_read.h"
#include "assets/image.h"

namespace {

Diagnostic dibError(const std::string& path, const std::string& text) {
    Diagnostic d;
    d.file = path;
    d.caption = "Error";
    d.text = text;
    return d;
}

}  // namespace

DibResult decodeDibReported(const std::vector<uint8_t>& bytes, const std::string& path, uint64_t maxPixels,
                            Diagnostics& report) {
    if (bytes.empty()) {
        report.push_back(dibError(path, "Failed to open DIB file " + path + ".\n"));
        report.back().hint = "the file is empty";
        DibResult empty;
        empty.error = DibError::ConversionError;
        return empty;
    }
    DibResult result = decodeDib(bytes.data(), bytes.size(), maxPixels);
    if (!result.image && result.error != DibError::OverBudget)
        report.push_back(dibError(path, dibErrorText(result.error)));
    return result;
}

std::optional<RgbImage> loadDib(const std::string& path, Diagnostics& report) {
    const FileBytes file = readFileBounded(path, kBitmapFileCap);
    if (!file.ok()) {
        report.push_back(dibError(path, "Failed to open DIB file " + path + ".\n"));
        return std::nullopt;
    }
    return std::move(decodeDibReported(file.bytes, path, kAnyPixelCount, report).image);
}
