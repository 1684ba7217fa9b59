// qzmtool: QZM videos on the command line.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "help.h"
#include "messages.h"

namespace qzm::tool {

void Complain(const std::string& text) {
    std::fprintf(stderr, "qzmtool: %s\n", text.c_str());
}

}  // namespace qzm::tool

namespace {

bool IsHelpOption(std::string_view word) {
    return word == "--help" || word == "-h";
}

// Every option of a command takes a value: the word after "--name" (not "--name=value") is that value,
// so `--title --help` is a title.
bool TakesNextWord(std::string_view word) {
    return word.size() > 1 && word[0] == '-' && word.find('=') == std::string_view::npos &&
           !IsHelpOption(word);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qzm::tool;
    SetUpMessages();
    if (argc < 2) {
        Complain(_("no command given"));
        std::fputs(OverviewHelp().c_str(), stderr);
        return kExitUsage;
    }
    const std::string_view first = argv[1];
    if (IsHelpOption(first)) {
        std::fputs(OverviewHelp().c_str(), stdout);
        return kExitOk;
    }
    if (first == "--version") {
        std::puts("qzmtool " QZM_VERSION);
        return kExitOk;
    }
    const Command* command = FindCommand(first);
    if (command == nullptr) {
        Complain(Format(_("unknown command '%s'"), argv[1]));
        std::fputs(OverviewHelp().c_str(), stderr);
        return kExitUsage;
    }
    const std::vector<std::string> words(argv + 2, argv + argc);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (IsHelpOption(words[i]) && (i == 0 || !TakesNextWord(words[i - 1]))) {
            std::fputs(CommandHelp(*command).c_str(), stdout);
            return kExitOk;
        }
    }
    return command->run(words);
}
