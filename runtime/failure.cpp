#include "failure.h"

namespace kestrel {

namespace {

Reason standardReason(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::Overflow:
        return {"overflow", "オーバーフローしました。"};
    case ErrorNumber::OutOfMemory:
        return {"out of memory", "メモリが不足しています。"};
    case ErrorNumber::SubscriptOutOfRange:
        return {"index out of range", "インデックスが有効範囲にありません。"};
    case ErrorNumber::DivisionByZero:
        return {"division by zero", "0 で除算しました。"};
    case ErrorNumber::InvalidPropertyValue:
        return {"invalid property value", "プロパティの値が不正です。"};
    }
    return {"unknown error", "不明なエラーです。"};
}

} // namespace

std::string StandardDescription(ErrorNumber number) {
    return standardReason(number).japanese;
}

Failure::Failure(ErrorNumber number, std::string japanese, const std::string& detail)
    : std::runtime_error(detail.empty() ? japanese : japanese + " [" + detail + "]"),
      number_(static_cast<int>(number)), reason_{standardReason(number).english,
                                                 std::move(japanese)} {}

Failure::Failure(ErrorNumber number) : Failure(number, StandardDescription(number)) {}

Failure::Failure(Reason reason, const std::string& operation)
    : std::runtime_error(operation.empty() ? reason.english : operation + ": " + reason.english),
      reason_(std::move(reason)) {}

void ThrowOutOfRange(const std::string& detail) {
    throw Failure(ErrorNumber::SubscriptOutOfRange,
                  StandardDescription(ErrorNumber::SubscriptOutOfRange), detail);
}

namespace {

std::string bounds(int upper) {
    return upper < 0 ? std::string("none") : "0.." + std::to_string(upper);
}

} // namespace

void ThrowIndexOutOfRange(const char* array, int i, int upper) {
    ThrowOutOfRange(std::string(array) + "(" + std::to_string(i) + ") outside " +
                    (upper < 0 ? std::string("an array not yet dimensioned") : bounds(upper)));
}

void ThrowIndexOutOfRange(const char* array, int i, int j, int upper1, int upper2) {
    ThrowOutOfRange(std::string(array) + "(" + std::to_string(i) + ", " + std::to_string(j) +
                    ") outside " +
                    (upper1 < 0 ? std::string("an array not yet dimensioned")
                                : bounds(upper1) + " x " + bounds(upper2)));
}
void ThrowOverflow() {
    throw Failure(ErrorNumber::Overflow);
}
void ThrowDivisionByZero() {
    throw Failure(ErrorNumber::DivisionByZero);
}
void ThrowOutOfMemory() {
    throw Failure(ErrorNumber::OutOfMemory);
}

} // namespace kestrel
