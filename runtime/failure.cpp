#include "failure.h"

namespace kestrel {

std::string StandardDescription(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::InvalidArgument:
        return "プロシージャの呼び出し、または引数が不正です。";
    case ErrorNumber::Overflow:
        return "オーバーフローしました。";
    case ErrorNumber::OutOfMemory:
        return "メモリが不足しています。";
    case ErrorNumber::SubscriptOutOfRange:
        return "インデックスが有効範囲にありません。";
    case ErrorNumber::DivisionByZero:
        return "0 で除算しました。";
    case ErrorNumber::InvalidPropertyValue:
        return "プロパティの値が不正です。";
    }
    return "不明なエラーです。";
}

Failure::Failure(ErrorNumber number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

Failure::Failure(ErrorNumber number) : Failure(number, StandardDescription(number)) {}

void ThrowOutOfRange() {
    throw Failure(ErrorNumber::SubscriptOutOfRange);
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
