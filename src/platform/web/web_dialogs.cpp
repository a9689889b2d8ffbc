// Message boxes and the templated dialog as HTML on the page. Nothing here
// can wait for a click: a box is shown (and written to the console) and
// answers its default at once (OK; Yes for a question), and whoever must
// not go on before it is closed asks boxOpen() between frames. The dialog's
// template goes to page.js as JSON; its clicks come back through
// orbelune_dialogMessage, which hands them to the message procedure.

#include <emscripten.h>

#include <string>
#include <utility>

#include "platform/browser.h"
#include "platform/dialog.h"
#include "platform/platform.h"

namespace platform {
namespace {

// The seam tests record boxes through, and the one dialog the page shows at
// a time (the page calls back into it from its click handlers).
MessageBoxHandler boxHandler;

class PageDialog final : public DialogHost {
public:
    void open(DialogProc proc, std::function<void()> ended) {
        proc_ = std::move(proc);
        ended_ = std::move(ended);
        ending_ = false;
    }
    void message(DialogMessage kind, uintptr_t wParam) {
        if (!proc_) return;
        proc_(*this, kind, wParam);
        if (!ending_) return;
        proc_ = nullptr;
        EM_ASM({ Module.page.closeDialog(); });
        if (auto ended = std::move(ended_)) ended();
    }
    void checkRadioButton(int firstId, int lastId, int checkId) override {
        EM_ASM({ Module.page.checkRadio($0, $1, $2); }, firstId, lastId, checkId);
    }
    void endDialog(int) override { ending_ = true; }

private:
    DialogProc proc_;
    std::function<void()> ended_;
    bool ending_ = false;  // false; endDialog was called during the current message
};
PageDialog pageDialog;

const char* iconName(Icon icon) {
    switch (icon) {
        case Icon::Exclamation: return "exclamation";
        case Icon::Stop: return "stop";
        case Icon::Information: return "information";
        case Icon::Warning: return "warning";
        case Icon::None: break;
    }
    return "none";
}

// The template as JSON for page.js; texts are the program's own, so only
// quotes and backslashes need escaping.
std::string quoted(const char* text) {
    std::string out = "\"";
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\') out += '\\';
        out += *c;
    }
    return out + "\"";
}

std::string templateJson(const DialogTemplate& dialog) {
    std::string json = "{\"caption\":" + quoted(dialog.caption) + ",\"controls\":[";
    const char* kinds[] = {"radio", "group", "button"};
    int group = 0;
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const DialogControl& c = dialog.controls[i];
        if (c.startsGroup) ++group;
        const PixelRect r = dialogUnitsToPixels(c.x, c.y, c.width, c.height);
        json += (i ? ",{" : "{") + std::string("\"id\":") + std::to_string(c.id) +
                ",\"text\":" + quoted(c.text) + ",\"kind\":\"" + kinds[static_cast<int>(c.kind)] +
                "\",\"group\":" + std::to_string(group) + ",\"x\":" + std::to_string(r.x) +
                ",\"y\":" + std::to_string(r.y) + ",\"width\":" + std::to_string(r.width) +
                ",\"height\":" + std::to_string(r.height) + "}";
    }
    const PixelRect client = dialogUnitsToPixels(0, 0, dialog.width, dialog.height);
    return json + "],\"width\":" + std::to_string(client.width) + ",\"height\":" + std::to_string(client.height) + "}";
}

}  // namespace

Answer messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) {
    if (boxHandler) return boxHandler(text, caption, icon, buttons);
    EM_ASM({ Module.page.showBox(UTF8ToString($0), UTF8ToString($1), UTF8ToString($2), $3); }, text.c_str(),
           caption.c_str(), iconName(icon), buttons == Buttons::YesNo);
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

void setMessageBoxHandler(MessageBoxHandler handler) { boxHandler = std::move(handler); }

// A page cannot hold the program inside a dialog: the browser's driver uses
// browser::openDialog. Here, as without a display, nothing is shown.
int runDialog(const DialogTemplate&, const DialogProc&) { return -1; }

namespace browser {

void openDialog(const DialogTemplate& dialog, DialogProc proc, std::function<void()> ended) {
    pageDialog.open(std::move(proc), std::move(ended));
    EM_ASM({ Module.page.openDialog(JSON.parse(UTF8ToString($0))); }, templateJson(dialog).c_str());
    pageDialog.message(DialogMessage::InitDialog, 0);
}

bool boxOpen() { return EM_ASM_INT({ return Module.page.boxOpen() ? 1 : 0; }) != 0; }

}  // namespace browser
}  // namespace platform

// The page's form calls this for each click (kind 1: Command with the
// control's id, 2: Close).
extern "C" EMSCRIPTEN_KEEPALIVE void orbelune_dialogMessage(int kind, int id) {
    using platform::DialogMessage;
    platform::pageDialog.message(kind == 2 ? DialogMessage::Close : DialogMessage::Command, static_cast<uintptr_t>(id));
}
