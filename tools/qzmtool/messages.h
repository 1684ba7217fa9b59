// qzmtool's texts in the user's language, through gettext: the English text is the key, and the
// catalogues (po/LANGUAGE.po, compiled into share/locale/LANGUAGE/LC_MESSAGES/qzmtool.mo) give the
// others. Without a catalogue for the language, or in the C locale, the English text itself.
#pragma once

#include <libintl.h>

#include <string>
#include <string_view>

// Marks a text for the catalogue where it cannot be translated yet (a table's entries); it is
// translated where it is shown.
#define N_(text) text

namespace qzm::tool {

// Takes the messages' language from the environment (LC_ALL, LC_MESSAGES, LANG, LANGUAGE) and finds
// the catalogues beside the program. Only messages follow the locale: numbers keep the C locale's
// form in every output.
void SetUpMessages();

// `english` in the user's language.
[[gnu::format_arg(1)]] inline const char* _(const char* english) {
    return gettext(english);
}

// One of the engine's fixed texts ("Invalid stream!") in the user's language; any other text as it is.
std::string EngineMessage(std::string_view text);

// printf's formatting into a string.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

}  // namespace qzm::tool
