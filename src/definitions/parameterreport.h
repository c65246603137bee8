#pragma once
// The manufacturer parameters of one pass as a report shows them: plain text and JSON.

#include "definitions/requestplan.h"

#include <QJsonArray>
#include <QList>
#include <QString>
#include <optional>

namespace zelcor {

struct ParameterReading {
    QString name;
    QString shortName;
    QString request; // "2101"
    QString header;  // "7E4"; empty: the functional address
    std::optional<double> value;
    QString units;
    std::optional<double> minimum;
    std::optional<double> maximum;
    QString error; // why there is no value
};

// One reading per parameter of `plan`, from the values of a pass.
QList<ParameterReading> parameterReadings(const RequestPlan& plan, const QList<ParameterValue>& values);

// "Manufacturer parameters:" and a line per parameter; `problem`: why the pass stopped short.
QString parametersText(const QList<ParameterReading>& readings, const QString& problem);
// [{name, short_name, request, header, value, units, min, max, error}]
QJsonArray parametersJson(const QList<ParameterReading>& readings);

} // namespace zelcor
