#pragma once
// Every event handler runs its work through here: no failure may leave a
// handler, since the toolkit would end the program. What the work did not
// trap itself becomes a message naming the operation.
#include "app/host.h"

#include <functional>
#include <string>

namespace kestrel {

// The message for a failure of `operation`: its description, then the
// operation in parentheses. Every trap of the program writes it so.
std::string FailureMessage(const std::string& description, const std::string& operation);

// Runs work; a failure that escapes it is shown as FailureMessage and false
// is returned. true when the work ended normally.
bool RunGuarded(Dialogs& dialogs, const std::string& operation, const std::function<void()>& work);

} // namespace kestrel
