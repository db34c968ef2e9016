#pragma once
// The one QApplication of the benchmarks that open windows, offscreen.
#include <QApplication>

namespace kestrel::bench {

inline QApplication& Application() {
    static int argc = 1;
    static char name[] = "kestrel_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

} // namespace kestrel::bench
