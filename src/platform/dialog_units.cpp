// Dialog units to pixels, shared by every toolkit that builds a templated
// dialog (FLTK natively, the HTML form in the browser).
#include <algorithm>
#include <cmath>

#include "platform/dialog.h"

namespace platform {

PixelRect dialogUnitsToPixels(int x, int y, int width, int height, double scale) {
    const auto px = [scale](int units) { return static_cast<int>(std::lround(units * 1.75 * scale)); };
    const auto py = [scale](int units) { return static_cast<int>(std::lround(units * 1.625 * scale)); };
    PixelRect r;
    r.x = px(x);
    r.y = py(y);
    r.width = px(x + width) - r.x;
    r.height = py(y + height) - r.y;
    return r;
}

double dialogScaleForDpi(double dpi) {
    if (!(dpi > 96.0)) return 1.0;
    return std::min(dpi / 96.0, 4.0);
}

}  // namespace platform
