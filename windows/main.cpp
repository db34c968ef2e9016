// Starts Kestrel with its main window, opening a case file when one is named.
#include "app/handler_guard.h"
#include "app/simulation_state.h"
#include "main_window.h"
#include "runtime/file_writing.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kUsage = "Usage: kestrel [CASE.json]\n"
                           "\n"
                           "Opens the Kestrel window; with a case file, opens that case in it.\n"
                           "\n"
                           "Options:\n"
                           "  -h, --help     show this help and exit\n"
                           "  -v, --version  show the version and exit\n"
                           "\n"
                           "For a calculation without a window: kestrel-batch CASE.json\n";

bool displayAvailable() {
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && *v != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    // Help and version need no display.
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "--help") == 0 || std::strcmp(argv[k], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[k], "--version") == 0 || std::strcmp(argv[k], "-v") == 0) {
            std::printf("kestrel %s\n", KESTREL_VERSION);
            return 0;
        }
    }
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "kestrel: no display is available, so the window cannot open.\n"
                     "Run it on a desktop, under xvfb-run, or use kestrel-batch CASE.json for a "
                     "calculation without a window.\n");
        return 2;
    }
    kestrel::ProtectOutputsFromSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel");
    QApplication::setOrganizationName("Kestrel");
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QString(":/kestrel/kestrel-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    QFont font("Noto Sans CJK JP");
    font.setPointSize(9);
    QApplication::setFont(font);

    // What Qt left of the command line: at most one case file, no option.
    const QStringList arguments = QApplication::arguments().mid(1);
    for (const QString& argument : arguments)
        if (argument.startsWith('-')) {
            std::fprintf(stderr, "kestrel: unknown option \"%s\"\n\n%s",
                         argument.toLocal8Bit().constData(), kUsage);
            return 1;
        }
    if (arguments.size() > 1) {
        std::fprintf(stderr, "kestrel: one case file at a time\n\n%s", kUsage);
        return 1;
    }

    // Japanese captions on the standard buttons of message boxes and dialogs.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    kestrel::SimulationState state;
    kestrel::MainWindow window(state);
    window.show();
    // Opened once the window is up, so that a message about the file shows over it.
    if (!arguments.isEmpty())
        QTimer::singleShot(0, &window, [&window, path = arguments.front().toStdString()] {
            kestrel::RunGuarded(window.host(), "ケースを開く", [&] { window.openCaseFile(path); });
        });
    return QApplication::exec();
}
