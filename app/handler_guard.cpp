#include "handler_guard.h"

#include "runtime/failure.h"

#include <new>

namespace kestrel {

std::string FailureMessage(const std::string& description, const std::string& operation) {
    return description + " (" + operation + ")";
}

bool RunGuarded(Dialogs& dialogs, const std::string& operation, const std::function<void()>& work) {
    std::string description;
    try {
        work();
        return true;
    } catch (const Failure& f) {
        description = f.japanese();
    } catch (const std::bad_alloc&) {
        description = StandardDescription(ErrorNumber::OutOfMemory);
    } catch (...) {
        description = "予期しないエラーが発生しました。";
    }
    try {
        dialogs.message(FailureMessage(description, operation), Buttons::Ok);
    } catch (...) {
        // Not even the message could be shown; the program still goes on.
    }
    return false;
}

} // namespace kestrel
