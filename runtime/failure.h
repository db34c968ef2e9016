#pragma once
// The one type of failure the program reports. Each says why, in the
// runner's English and the window's Japanese; the runtime's own failures
// also carry the error number the message boxes show, and for developers a
// detail of what failed (which index, which bounds), which what() adds.
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

// Why something could not be done, in either language.
struct Reason {
    std::string english;
    std::string japanese;
};

class Failure : public std::runtime_error {
  public:
    // A failure of the runtime, with its number's standard description or one of its own.
    Failure(ErrorNumber number, std::string japanese, const std::string& detail = {});
    explicit Failure(ErrorNumber number);
    // A refusal of the program's own (a case file, a file to write). what()
    // is "operation: reason" in English, or the reason when no operation is named.
    explicit Failure(Reason reason, const std::string& operation = {});

    int number() const { return number_; } // 0 for a refusal
    const std::string& english() const { return reason_.english; }
    const std::string& japanese() const { return reason_.japanese; }

  private:
    int number_ = 0;
    Reason reason_;
};

// The standard description of each runtime failure.
std::string StandardDescription(ErrorNumber number);

[[noreturn]] void ThrowOutOfRange(const std::string& detail = {});
// An index outside an array's bounds: says which index and which bounds.
[[noreturn]] void ThrowIndexOutOfRange(const char* array, int i, int upper);
[[noreturn]] void ThrowIndexOutOfRange(const char* array, int i, int j, int upper1, int upper2);
[[noreturn]] void ThrowOverflow();
[[noreturn]] void ThrowDivisionByZero();
[[noreturn]] void ThrowOutOfMemory();

} // namespace kestrel
