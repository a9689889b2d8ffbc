#include "shell/collected_messages.h"

#include "platform/platform.h"

CollectedMessages::CollectedMessages() {
    platform::setMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                          platform::Icon, platform::Buttons buttons) {
        std::string line = caption + ": " + text;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(std::move(line));
        return buttons == platform::Buttons::YesNo ? platform::Answer::Yes : platform::Answer::Ok;
    });
    platform::setExitHandler([](int code) { throw LoaderAbort{code}; });
}

CollectedMessages::~CollectedMessages() {
    platform::setMessageBoxHandler(nullptr);
    platform::setExitHandler(nullptr);
}
