// Starts Kestrel with its main window.
#include "app/simulation_state.h"
#include "main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable() {
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && *v != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "kestrel: no display is available, so the window cannot open.\n"
                     "Run it on a desktop, under xvfb-run, or use kestrel-batch CASE.json for a "
                     "calculation without a window.\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel");
    QFont font("Noto Sans CJK JP");
    font.setPointSize(9);
    QApplication::setFont(font);

    // Japanese captions on the standard buttons of message boxes and dialogs.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    kestrel::SimulationState state;
    kestrel::MainWindow window(state);
    window.show();
    return QApplication::exec();
}
