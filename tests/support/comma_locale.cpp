#include "comma_locale.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kestrel::test {

namespace {

constexpr const char* kName = "de_DE.UTF-8";

bool commaIsTheDecimalPoint() {
    const std::lconv* conventions = std::localeconv();
    return conventions && std::strcmp(conventions->decimal_point, ",") == 0;
}

// Generates the locale once per test process into a temporary folder.
bool generateLocale() {
    const auto folder = std::filesystem::temp_directory_path() / "kestrel-locales";
    std::filesystem::create_directories(folder);
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (folder / kName).string() + "' >/dev/null 2>&1";
    if (!std::filesystem::exists(folder / kName) && std::system(command.c_str()) != 0 &&
        !std::filesystem::exists(folder / kName))
        return false;
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
