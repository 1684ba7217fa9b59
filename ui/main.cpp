// qzmplayer: the desktop player. `qzmplayer [FILE...]` opens the first FILE at start-up as a dropped
// file and keeps the others as its play list. The toolkit's own options (-style, -display,
// -platform, ...) are taken before the program's.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

#include "command_line_help.h"
#include "player_dialog.h"
#include "qt_player_host.h"
#include "skin.h"
#include "translations.h"

namespace {

void SetUpParser(QCommandLineParser& parser) {
    parser.setApplicationDescription(qzm::ui::HelpDescription());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QCoreApplication::translate("qzmplayer", "FILE"),
        QCoreApplication::translate("qzmplayer", "The videos to play at start-up, one after another."),
        QCoreApplication::translate("qzmplayer", "[FILE...]"));
}

// Help and version are answered without a display.
bool AnswersWithoutWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            return false;
        }
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                return true;
            }
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
        qzm::ui::InstallTranslations(core);
        QCommandLineParser parser;
        SetUpParser(parser);
        parser.process(core);  // exits after --help or --version
    }
    // QApplication takes its own options out of argv; the parser sees what is left.
    QApplication app(argc, argv);
    SetNames();
    qzm::ui::InstallTranslations(app);
    QApplication::setWindowIcon(qzm::ui::ApplicationIcon());
    QCommandLineParser parser;
    SetUpParser(parser);
    parser.process(app);  // exits after an unknown option

    QtPlayerHost host;
    qzm::ui::CPlayerDlg window(host);
    host.SetParent(&window);
    window.show();
    const QStringList files = parser.positionalArguments();
    for (const QString& file : files) {
        if (const QString message = qzm::ui::UnreadableFileMessage(file); !message.isEmpty()) {
            std::fprintf(stderr, "qzmplayer: %s\n", qPrintable(message));
        }
    }
    if (!files.isEmpty()) {
        window.OpenPaths(files);
    }
    return QApplication::exec();
}
