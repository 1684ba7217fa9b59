// The commands of qzmtool as its help shows them. main() dispatches through the same table, so a new
// command is one entry here (and a section of the manual page, whose synopses a test compares with
// these).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzm::tool {

struct Command {
    std::string_view name;
    int (*run)(const std::vector<std::string>& words);
    std::vector<std::string_view> synopses;  // each as typed after "qzmtool "
    const char* summary;                     // one line for the list of commands, in English
    const char* details;                     // what `qzmtool help NAME` prints after the synopses
};

const std::vector<Command>& Commands();
const Command* FindCommand(std::string_view name);

// `qzmtool --help`: every synopsis, the list of commands, the exit codes, in the user's language.
std::string OverviewHelp();
// `qzmtool help NAME` and `qzmtool NAME --help`: the command's synopses and options.
std::string CommandHelp(const Command& command);

// "qzmtool " and `synopsis` broken between words into lines of fewer than 80 columns, each line
// indented by two spaces and every continuation by ten; a bracketed group is never broken.
std::string WrapSynopsis(std::string_view synopsis);

// `qzmtool help [COMMAND]`.
int RunHelp(const std::vector<std::string>& words);

}  // namespace qzm::tool
