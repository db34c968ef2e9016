#pragma once
// The runtime failures the program traps and reports: a number and a short
// Japanese description, as the message boxes show them, and for developers
// a detail of what failed (which index, which bounds), which what() adds.
#include <stdexcept>
#include <string>

namespace kestrel {

enum class ErrorNumber : int {
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    InvalidPropertyValue = 380,
};

class Failure : public std::runtime_error {
  public:
    Failure(ErrorNumber number, std::string description, const std::string& detail = {});
    explicit Failure(ErrorNumber number);

    int number() const { return static_cast<int>(number_); }
    const std::string& description() const { return description_; }

  private:
    ErrorNumber number_;
    std::string description_;
};

// The standard description of each failure.
std::string StandardDescription(ErrorNumber number);

[[noreturn]] void ThrowOutOfRange(const std::string& detail = {});
// An index outside an array's bounds: says which index and which bounds.
[[noreturn]] void ThrowIndexOutOfRange(const char* array, int i, int upper);
[[noreturn]] void ThrowIndexOutOfRange(const char* array, int i, int j, int upper1, int upper2);
[[noreturn]] void ThrowOverflow();
[[noreturn]] void ThrowDivisionByZero();
[[noreturn]] void ThrowOutOfMemory();

} // namespace kestrel
