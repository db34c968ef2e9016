#pragma once
// The runtime failures the program traps and reports: a number and a short
// Japanese description, as the message boxes show them.
#include <stdexcept>
#include <string>

namespace kestrel {

enum class ErrorNumber : int {
    InvalidArgument = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    InvalidPropertyValue = 380,
};

class Failure : public std::runtime_error {
  public:
    Failure(ErrorNumber number, std::string description);
    explicit Failure(ErrorNumber number);

    int number() const { return static_cast<int>(number_); }
    ErrorNumber kind() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    ErrorNumber number_;
    std::string description_;
};

// The standard description of each failure.
std::string StandardDescription(ErrorNumber number);

[[noreturn]] void ThrowOutOfRange();
[[noreturn]] void ThrowOverflow();
[[noreturn]] void ThrowDivisionByZero();
[[noreturn]] void ThrowOutOfMemory();

} // namespace kestrel
