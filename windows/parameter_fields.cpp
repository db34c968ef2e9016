#include "parameter_fields.h"

#include "runtime/failure.h"
#include "runtime/lenient_number.h"
#include "runtime/number_text.h"
#include "runtime/user_text.h"
#include "solver/time_step.h"

#include <QLineEdit>
#include <algorithm>

namespace kestrel {

namespace {

constexpr const char* kOutOfRange = "この値は扱える範囲を超えています。";

} // namespace

void ParameterFields::add(QLineEdit* field, const Parameter& parameter) {
    Field f{field, QString::fromUtf8(parameter.caption), nullptr, nullptr};
    if (const auto* member = std::get_if<Integer CaseParameters::*>(&parameter.member))
        f.integerTarget = &(m_.**member);
    else
        f.doubleTarget = &(m_.*std::get<double CaseParameters::*>(parameter.member));
    fields_.push_back(f);
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [this, index = fields_.size() - 1] { apply(fields_[index]); });
}

void ParameterFields::apply(Field& field) {
    const LenientValue read = ReadLeadingNumber(field.edit->text().toStdString());
    if (read.overflow) return show(field, kOutOfRange);
    Integer newInteger = 0;
    if (field.integerTarget) {
        try {
            newInteger = ToInteger(read.value);
        } catch (const Failure&) {
            return show(field, kOutOfRange);
        }
    }
    const Integer oldInteger = field.integerTarget ? *field.integerTarget : 0;
    const double oldDouble = field.doubleTarget ? *field.doubleTarget : 0;
    if (field.integerTarget)
        *field.integerTarget = newInteger;
    else
        *field.doubleTarget = read.value;
    if (running_) {
        // The run reads the state at its next step: never hand it a value it cannot use.
        std::optional<std::string> problem = RunParameterProblem(m_);
        if (!problem && !SolverArraysCover(m_))
            problem = "計算中のメッシュより大きいメッシュ数は使えません。";
        if (problem) {
            if (field.integerTarget)
                *field.integerTarget = oldInteger;
            else
                *field.doubleTarget = oldDouble;
            return show(field, *problem + "計算中はこの値を使わず、前の値で続けます。");
        }
    }
    show(field, {});
}

std::string ParameterFields::valueInUse(const Field& field) const {
    return field.integerTarget ? std::to_string(*field.integerTarget)
                               : GeneralNumber(*field.doubleTarget);
}

void ParameterFields::show(Field& field, const std::string& reason) {
    field.inUse = reason.empty();
    if (field.inUse) {
        field.edit->setStyleSheet(QString());
        field.edit->setToolTip(QString());
        return;
    }
    field.edit->setStyleSheet("QLineEdit { background: #ffd0d0; }");
    field.edit->setToolTip(
        QString::fromStdString(reason + "使われている値は " + valueInUse(field) + " です。"));
}

void ParameterFields::setRunning(bool running) {
    running_ = running;
    if (running) return;
    for (Field& field : fields_)
        if (!field.inUse) apply(field);
}

std::optional<std::string>
ParameterFields::notInUseProblem(const std::vector<const QLineEdit*>& among) const {
    for (const Field& field : fields_) {
        if (field.inUse) continue;
        if (!among.empty() && std::find(among.begin(), among.end(), field.edit) == among.end())
            continue;
        return field.name.toStdString() + " の「" +
               QuotedExcerpt(field.edit->text().toStdString()) +
               "」は使われていません。使われている値は " + valueInUse(field) +
               " です。値を直してから、もう一度操作してください。";
    }
    return std::nullopt;
}

} // namespace kestrel
