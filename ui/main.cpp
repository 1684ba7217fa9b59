// qzmplayer: the desktop player. `qzmplayer [FILE]` opens FILE at start-up as a dropped file.
#include <QApplication>
#include <QCommandLineParser>
#include <cstring>

#include "command_line_help.h"
#include "player_dialog.h"
#include "qt_player_host.h"
#include "skin.h"

namespace {

void SetUpParser(QCommandLineParser& parser) {
    parser.setApplicationDescription(qzm::ui::HelpDescription());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The video to play at start-up."),
                                 QStringLiteral("[FILE]"));
}

// Help, version and mistakes in the options are answered without a display.
bool AnswersWithoutWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            return false;
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0' && std::strcmp(argv[i], "-platform") != 0) {
            return true;
        }
    }
    return false;
}

void SetNames() {
    QCoreApplication::setApplicationName(QStringLiteral("qzmplayer"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.35"));
}

}  // namespace

int main(int argc, char** argv) {
    if (AnswersWithoutWindow(argc, argv)) {
        QCoreApplication core(argc, argv);
        SetNames();
        QCommandLineParser parser;
        SetUpParser(parser);
        parser.process(core);  // exits after --help, --version or an unknown option
    }
    QApplication app(argc, argv);
    SetNames();
    QApplication::setWindowIcon(qzm::ui::ApplicationIcon());
    QCommandLineParser parser;
    SetUpParser(parser);
    parser.process(app);

    QtPlayerHost host;
    qzm::ui::CPlayerDlg window(host);
    host.SetParent(&window);
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        window.OpenPath(parser.positionalArguments().constFirst());
    }
    return QApplication::exec();
}
