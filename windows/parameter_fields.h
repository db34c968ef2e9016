#pragma once
// The parameter fields of the main window, each copied into the state on
// every change of its text. A text whose value the state cannot hold, or
// that a run in progress cannot use, is not taken: the state keeps the value
// in use, and the field turns red and says so. Commands that use the
// parameters ask first whether every field shows the value in use.
#include "app/parameters.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;

namespace kestrel {

class ParameterFields {
  public:
    explicit ParameterFields(SimulationState& state) : m_(state) {}

    // The field showing parameter; its caption names it in messages.
    void add(QLineEdit* field, const Parameter& parameter);

    // A run is going on: only values it can use are taken. When it ends, the
    // texts that were held back are taken as they stand.
    void setRunning(bool running);

    // Why a command must not go on now (a field whose text is not in use);
    // nullopt when every field shows the value in use. A command that reads
    // only some fields names them; the others do not hold it back.
    std::optional<std::string>
    notInUseProblem(const std::vector<const QLineEdit*>& among = {}) const;

  private:
    struct Field {
        QLineEdit* edit;
        QString name;
        Integer* integerTarget;
        double* doubleTarget;
        bool inUse = true;
    };
    void apply(Field& field);
    std::string valueInUse(const Field& field) const;
    void show(Field& field, const std::string& reason);

    SimulationState& m_;
    std::vector<Field> fields_;
    bool running_ = false;
};

} // namespace kestrel
