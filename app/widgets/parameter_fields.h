#pragma once
// Copying a parameter field into the state on every change. Integer fields
// round halves to even; a value the state cannot hold keeps the previous one
// and the field shows why.
#include "app/module1.h"

#include <QLineEdit>
#include <functional>

namespace kestrel {

// Applies the field's text; false when it was not taken.
using FieldApply = std::function<bool(const QString& text)>;

FieldApply integerField(Integer& target);
FieldApply doubleField(double& target);

// Marks the field red with a tooltip when apply() refuses its text.
void connectParameterField(QLineEdit* field, FieldApply apply);

} // namespace kestrel
