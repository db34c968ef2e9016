#include "parameter_fields.h"

#include "runtime/failure.h"
#include "runtime/lenient_number.h"

namespace kestrel {

FieldApply integerField(Integer& target) {
    return [&target](const QString& text) {
        const LenientValue v = readLeadingNumber(text.toStdString());
        if (v.overflow) return false;
        try {
            target = toInteger(v.value);
            return true;
        } catch (const Failure&) {
            return false;
        }
    };
}

FieldApply doubleField(double& target) {
    return [&target](const QString& text) {
        const LenientValue v = readLeadingNumber(text.toStdString());
        if (v.overflow) return false;
        target = v.value;
        return true;
    };
}

void connectParameterField(QLineEdit* field, FieldApply apply) {
    QObject::connect(field, &QLineEdit::textChanged, field, [field, apply](const QString& text) {
        if (apply(text)) {
            field->setStyleSheet(QString());
            field->setToolTip(QString());
        } else {
            field->setStyleSheet("QLineEdit { background: #ffd0d0; }");
            field->setToolTip("この値は扱える範囲を超えているため使われません。前の値のままです。");
        }
    });
}

} // namespace kestrel
