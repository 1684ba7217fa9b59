#include "messages.h"

#include <algorithm>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "player_host.h"

namespace qzm::tool {
namespace {

// The engine's fixed texts, for the catalogue.
constexpr std::string_view kEngineTexts[] = {
    N_("Invalid stream!"),       N_("Unsupported version!"), N_("Wrong command!"),
    N_("Wrong LSCREEN marker!"), N_("No videofiles found!"),
};
static_assert(kEngineTexts[0] == kMsgInvalidStream && kEngineTexts[1] == kMsgUnsupportedVersion &&
              kEngineTexts[2] == kMsgWrongCommand && kEngineTexts[3] == kMsgWrongLScreenMarker &&
              kEngineTexts[4] == kMsgNoVideos);

// LANGUAGE lists the user's languages in order of preference. gettext passes over one it has no
// catalogue for, English too, where the player stops at English, the language the texts are
// written in; the list is cut after its first English entry so that both programs agree.
std::string UpToFirstEnglish(std::string_view languages) {
    std::size_t start = 0;
    while (start < languages.size()) {
        const std::size_t end = std::min(languages.find(':', start), languages.size());
        const std::string_view language = languages.substr(start, end - start);
        if (language == "en" || language.starts_with("en_") || language.starts_with("en@")) {
            return std::string(languages.substr(0, end));
        }
        start = end + 1;
    }
    return std::string(languages);
}

}  // namespace

void SetUpMessages() {
    if (const char* languages = std::getenv("LANGUAGE")) {
        setenv("LANGUAGE", UpToFirstEnglish(languages).c_str(), 1);
    }
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");  // the character set gettext writes the messages in
    // The catalogues are installed beside bin/ (QZM_LOCALEDIR_FROM_BIN, "../share/locale"), and the
    // build puts them at the same place beside the built program.
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder =
        error ? std::filesystem::path(QZM_LOCALEDIR) : program.parent_path() / QZM_LOCALEDIR_FROM_BIN;
    bindtextdomain("qzmtool", folder.c_str());
    textdomain("qzmtool");
}

std::string EngineMessage(std::string_view text) {
    for (const std::string_view known : kEngineTexts) {
        if (known == text) {
            return _(known.data());  // a literal: ends in a zero byte
        }
    }
    return std::string(text);
}

std::string Format(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

}  // namespace qzm::tool
