// Test helper for the desktop scripts, talking to the X server directly:
//   x11_probe close WINDOW   asks the window to close as a window manager's
//                            close box does (WM_DELETE_WINDOW)
//   x11_probe cursor         prints "hidden" when the pointer shows no
//                            cursor (every pixel of its image transparent),
//                            else "visible"
// WINDOW is decimal or 0x-hex, as xdotool prints it.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int closeWindow(Display* display, const char* id) {
    char* end = nullptr;
    const unsigned long window = std::strtoul(id, &end, 0);
    if (end == id || *end != '\0' || window == 0) {
        std::fprintf(stderr, "x11_probe: bad window id '%s'\n", id);
        return 2;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return sent != 0 ? 0 : 1;
}

int cursor(Display* display) {
    int eventBase = 0, errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "x11_probe: no XFIXES extension\n");
        return 1;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (image == nullptr) return 1;
    bool visible = false;
    const size_t pixels = static_cast<size_t>(image->width) * image->height;
    for (size_t i = 0; i < pixels && !visible; ++i) visible = (image->pixels[i] >> 24) != 0;
    XFree(image);
    std::puts(visible ? "visible" : "hidden");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool closing = argc == 3 && std::strcmp(argv[1], "close") == 0;
    const bool probing = argc == 2 && std::strcmp(argv[1], "cursor") == 0;
    if (!closing && !probing) {
        std::fprintf(stderr, "usage: x11_probe close WINDOW | x11_probe cursor\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_probe: cannot open the display\n");
        return 1;
    }
    const int status = closing ? closeWindow(display, argv[2]) : cursor(display);
    XCloseDisplay(display);
    return status;
}
