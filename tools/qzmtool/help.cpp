#include "help.h"

#include <algorithm>
#include <cstdio>

#include "commands.h"
#include "messages.h"

namespace qzm::tool {
namespace {

constexpr std::size_t kLineWidth = 79;
constexpr std::string_view kFirstIndent = "  ";
constexpr std::string_view kNextIndent = "          ";

constexpr const char* kEncodeDetails =
    N_("Reads one video, or pictures taken as one frame each in the order given, in any\n"
       "format FFmpeg's libraries read; fits every frame into 256 x 192 at 4:3 and\n"
       "codes it as Spectrum screens. Spectrum screens (.scr files, 6912 bytes) are\n"
       "taken as they are, neither scaled nor quantised. A failure writes nothing.\n"
       "\n"
       "Options:\n"
       "  -o OUT.qzm           the QZM video to write\n"
       "  --delay D            frame delay in fiftieths of a second, 1-255 (default:\n"
       "                       from the video's frame rate; 2, 25 fps, for pictures)\n"
       "  --name NAME          the header's name, 1-8 characters (default: OUT's name)\n"
       "  --title TEXT         the title, at most 32 characters\n"
       "  --author TEXT        the author, at most 32 characters\n"
       "  --version 0-7        the header's format version (default 2)\n"
       "  --dither none|ordered|diffusion\n"
       "                       how colours between the Spectrum's eight are drawn\n"
       "                       (default ordered)\n"
       "  --threshold 0-64     leave a cell as it was while fewer of its pixels would\n"
       "                       change (default 0 for pictures, 4 for videos)\n");

constexpr const char* kExportDetails =
    N_("Decodes the video and writes each frame as DIR/frame-NNNNN.EXT, numbered by the\n"
       "frame counter, or raw to the standard output for a video tool to read.\n"
       "\n"
       "Options:\n"
       "  --out DIR|-          the folder for the pictures (made if missing), or - for\n"
       "                       raw frames on the standard output\n"
       "  --from N             start where the position slider at N would (default 0)\n"
       "  --count K            write at most K frames (default: to the end)\n"
       "  --format ppm|png|scr the pictures' format (default ppm); scr writes each\n"
       "                       frame's Spectrum screen as it is (6912 bytes, no --size)\n"
       "  --format bgra|rgb24  the raw frames' format (default bgra)\n"
       "  --size WxH           scale each frame to exactly W x H (default 256x192)\n"
       "  --filter 0-3         the scaling: 0 nearest (default), 1 bilinear,\n"
       "                       2 biquadratic, 3 bicubic\n"
       "  --video N            the Nth video of a disk image (default 1)\n");

constexpr const char* kInfoDetails =
    N_("Prints the file information as LABEL<TAB>VALUE lines; the last, \"ffmpeg -r:\",\n"
       "gives the exact frame rate for a video tool reading exported frames.\n"
       "\n"
       "Options:\n"
       "  --video N            the Nth video of a disk image (default 1)\n");

constexpr const char* kListDetails =
    N_("Prints the videos in FILE as NUMBER<TAB>NAME<TAB>OFFSET lines, OFFSET being\n"
       "where the video's stream starts in the file, in bytes.\n");

constexpr const char* kPackDetails =
    N_("Puts the videos on a TR-DOS disk image (80 tracks, two sides, 640 KB) or an SCL\n"
       "archive, in the order given, each under the name in its header; the disk's\n"
       "label is OUT's name. What does not fit on one disk is refused and nothing is\n"
       "written.\n");

constexpr const char* kThumbnailDetails =
    N_("Writes one representative frame as a PNG, scaled by the bicubic method to fit\n"
       "N x N at 4:3: the first frame from a tenth of the video on in which at least a\n"
       "quarter of the cells show two colours, else the middle frame. For file\n"
       "managers' thumbnailers.\n"
       "\n"
       "Options:\n"
       "  --size N             the square the picture fits, 16-4096 (default 256)\n"
       "  --video N            the Nth video of a disk image (default 1)\n");

constexpr const char* kHelpDetails =
    N_("Prints every command's synopsis, or COMMAND's synopsis and options, as\n"
       "\"qzmtool COMMAND --help\" does.\n");

constexpr const char* kOverviewEnd =
    N_("FILE is a .qzm stream, or a .trd or .scl disk image holding QZM videos.\n"
       "Exit codes: 0 success, 1 failure (a message says why), 2 usage error.\n"
       "\"qzmtool help COMMAND\" shows a command's options, \"man qzmtool\" the manual.\n");

// The synopsis of the program's own options, after those of the commands.
constexpr std::string_view kProgramSynopsis = "--help|--version";

}  // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"encode",
         RunEncode,
         {"encode INPUT... -o OUT.qzm [--delay D] [--name NAME] [--title TEXT] [--author TEXT] "
          "[--version 0-7] [--dither none|ordered|diffusion] [--threshold 0-64]"},
         N_("codes one video, or pictures taken one frame each, as a QZM video"),
         kEncodeDetails},
        {"export",
         RunExport,
         {"export FILE --out DIR [--from N] [--count K] [--format ppm|png|scr] [--size WxH] [--filter 0-3] "
          "[--video N]",
          "export FILE --out - [--format bgra|rgb24] [--from N] [--count K] [--size WxH] [--filter 0-3] "
          "[--video N]"},
         N_("decodes a video into pictures, or into raw frames for a pipe"),
         kExportDetails},
        {"info", RunInfo, {"info FILE [--video N]"}, N_("prints what a video's header says"), kInfoDetails},
        {"list",
         RunList,
         {"list FILE"},
         N_("lists the videos in a file: number, name, byte offset"),
         kListDetails},
        {"pack",
         RunPack,
         {"pack OUT.trd|OUT.scl VIDEO.qzm..."},
         N_("puts QZM videos on a TR-DOS disk image or an SCL archive"),
         kPackDetails},
        {"thumbnail",
         RunThumbnail,
         {"thumbnail FILE OUT.png [--size N] [--video N]"},
         N_("writes a representative frame of a video as a PNG"),
         kThumbnailDetails},
        {"help",
         RunHelp,
         {"help [COMMAND]"},
         N_("shows the help of qzmtool or of one command"),
         kHelpDetails},
    };
    return commands;
}

const Command* FindCommand(std::string_view name) {
    const auto& commands = Commands();
    const auto it =
        std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return c.name == name; });
    return it == commands.end() ? nullptr : &*it;
}

std::string WrapSynopsis(std::string_view synopsis) {
    std::string text(kFirstIndent);
    text += "qzmtool";
    std::size_t lineStart = 0;
    for (std::size_t pos = 0; pos < synopsis.size();) {
        // The next word, taking a bracketed group's spaces as part of it.
        std::size_t end = pos;
        for (int depth = 0; end < synopsis.size() && (depth > 0 || synopsis[end] != ' '); ++end) {
            depth += synopsis[end] == '[' ? 1 : synopsis[end] == ']' ? -1 : 0;
        }
        const std::string_view word = synopsis.substr(pos, end - pos);
        if (text.size() - lineStart + 1 + word.size() > kLineWidth) {
            text += '\n';
            lineStart = text.size();
            text += kNextIndent;
        } else {
            text += ' ';
        }
        text += word;
        pos = synopsis.find_first_not_of(' ', end);
        pos = pos == std::string_view::npos ? synopsis.size() : pos;
    }
    return text + '\n';
}

std::string OverviewHelp() {
    std::string text = _("Usage:");
    text += '\n';
    for (const Command& command : Commands()) {
        for (const std::string_view synopsis : command.synopses) {
            text += WrapSynopsis(synopsis);
        }
    }
    text += WrapSynopsis(kProgramSynopsis);
    text += '\n';
    text += _("Commands:");
    text += '\n';
    std::size_t column = 0;
    for (const Command& command : Commands()) {
        column = std::max(column, command.name.size() + 2);
    }
    for (const Command& command : Commands()) {
        text += "  ";
        text += command.name;
        text.append(column - command.name.size(), ' ');
        text += _(command.summary);
        text += '\n';
    }
    text += '\n';
    text += _(kOverviewEnd);
    return text;
}

std::string CommandHelp(const Command& command) {
    std::string text = _("Usage:");
    text += '\n';
    for (const std::string_view synopsis : command.synopses) {
        text += WrapSynopsis(synopsis);
    }
    text += '\n';
    text += _(command.details);
    return text;
}

int RunHelp(const std::vector<std::string>& words) {
    if (words.size() > 1) {
        Complain(_("help takes at most one COMMAND"));
        return kExitUsage;
    }
    if (words.empty()) {
        std::fputs(OverviewHelp().c_str(), stdout);
        return kExitOk;
    }
    const Command* command = FindCommand(words[0]);
    if (command == nullptr) {
        Complain(Format(_("unknown command '%s'"), words[0].c_str()));
        return kExitUsage;
    }
    std::fputs(CommandHelp(*command).c_str(), stdout);
    return kExitOk;
}

}  // namespace qzm::tool
