// Test helper for the full-screen script, talking to the X server directly:
//   x11_probe cursor   prints "hidden" when the pointer shows no cursor
//                      (every pixel of its image transparent), else "visible"
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "cursor") != 0) {
        std::fprintf(stderr, "usage: x11_probe cursor\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_probe: cannot open the display\n");
        return 1;
    }
    int eventBase = 0, errorBase = 0;
    XFixesCursorImage* image =
        XFixesQueryExtension(display, &eventBase, &errorBase) ? XFixesGetCursorImage(display) : nullptr;
    if (image == nullptr) {
        std::fprintf(stderr, "x11_probe: no cursor image (XFIXES)\n");
        XCloseDisplay(display);
        return 1;
    }
    bool visible = false;
    const size_t pixels = static_cast<size_t>(image->width) * image->height;
    for (size_t i = 0; i < pixels && !visible; ++i) visible = (image->pixels[i] >> 24) != 0;
    XFree(image);
    XCloseDisplay(display);
    std::puts(visible ? "visible" : "hidden");
    return 0;
}
