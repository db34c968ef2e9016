#include "comma_locale.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace kestrel::test {

namespace {

constexpr const char* kName = "de_DE.UTF-8";

bool commaIsTheDecimalPoint() {
    const std::lconv* conventions = std::localeconv();
    return conventions && std::strcmp(conventions->decimal_point, ",") == 0;
}

// Generates the locale into a shared temporary folder, once for all test
// processes: each builds its own copy and moves it into place, so a process
// never sees another's half-written locale.
bool generateLocale() {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "kestrel-locales";
    fs::create_directories(folder);
    if (!fs::exists(folder / kName)) {
        const fs::path own = folder / ("building-" + std::to_string(::getpid()));
        fs::create_directories(own);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (own / kName).string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0 || fs::exists(own / kName)) {
            std::error_code ignored;
            fs::rename(own / kName, folder / kName, ignored); // another process may have won
        }
        fs::remove_all(own);
    }
    if (!fs::exists(folder / kName)) return false;
    setenv("LOCPATH", folder.c_str(), 1);
    return true;
}

} // namespace

CommaDecimalLocale::CommaDecimalLocale() : savedQtLocale_(QLocale()) {
    savedLocale_ = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, kName) == nullptr && generateLocale()) std::setlocale(LC_ALL, kName);
    active_ = commaIsTheDecimalPoint();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

CommaDecimalLocale::~CommaDecimalLocale() {
    std::setlocale(LC_ALL, savedLocale_.c_str());
    QLocale::setDefault(savedQtLocale_);
}

} // namespace kestrel::test
