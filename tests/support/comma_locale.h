#pragma once
// A system language that writes 2,5 for two and a half, switched on for the
// C library and for Qt while an object of this class lives. When the machine
// has no such locale, one is generated into a temporary folder (localedef,
// found through LOCPATH).
#include <QLocale>
#include <string>

namespace kestrel::test {

class CommaDecimalLocale {
  public:
    CommaDecimalLocale();
    ~CommaDecimalLocale();
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    // Whether the C library now writes a comma as the decimal point.
    bool active() const { return active_; }

  private:
    bool active_ = false;
    std::string savedLocale_;
    QLocale savedQtLocale_;
};

} // namespace kestrel::test
