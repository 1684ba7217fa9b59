// qzmplayer: the desktop player. `qzmplayer [FILE...]` opens the first FILE at start-up as a dropped
// file and keeps the others as its play list. The toolkit's own options (-style, -display,
// -platform, ...) are taken before the program's.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>

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

// Runs an action once, after the window is first exposed. By then a window manager has placed the
// window, so a chooser or message box that the action raises comes up centred over it rather than
// over the place the window had before it was mapped.
class AfterFirstExpose : public QObject {
public:
    AfterFirstExpose(QWindow* window, std::function<void()> action)
        : QObject(window), m_action(std::move(action)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // Later, so that the expose is painted first and the box is not raised inside it.
            QTimer::singleShot(0, this, [this] {
                m_action();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

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
        new AfterFirstExpose(window.windowHandle(), [&window, files] { window.OpenPaths(files); });
    }
    return QApplication::exec();
}
