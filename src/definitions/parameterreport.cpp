#include "definitions/parameterreport.h"

#include <QJsonObject>

namespace zelcor {

namespace {

QJsonValue number(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

} // namespace

QList<ParameterReading> parameterReadings(const RequestPlan& plan, const QList<ParameterValue>& values) {
    QList<ParameterReading> readings;
    for (qsizetype i = 0; i < plan.parameters().size(); ++i) {
        const ParameterDefinition& d = plan.parameters()[i];
        ParameterReading r{d.name,    d.shortName, d.request.text(), d.request.header, {}, d.units, d.minimum,
                           d.maximum, {}};
        if (i < values.size()) {
            r.value = values[i].value;
            r.error = values[i].value ? QString() : values[i].problem;
        }
        readings.append(r);
    }
    return readings;
}

QString parametersText(const QList<ParameterReading>& readings, const QString& problem) {
    QString out = QStringLiteral("Manufacturer parameters:\n");
    if (!problem.isEmpty()) out += QStringLiteral("  (the pass stopped short: %1)\n").arg(problem);
    for (const ParameterReading& r : readings) {
        const QString where = r.header.isEmpty() ? r.request : r.header + QLatin1Char(' ') + r.request;
        const QString value = r.value ? (r.units.isEmpty() ? QString::number(*r.value)
                                                           : QString::number(*r.value) + QLatin1Char(' ') + r.units)
                                      : QStringLiteral("no value: ") + r.error;
        out += QStringLiteral("  %1  %2: %3\n").arg(where, r.name, value);
    }
    return out;
}

QJsonArray parametersJson(const QList<ParameterReading>& readings) {
    QJsonArray list;
    for (const ParameterReading& r : readings)
        list.append(QJsonObject{
            {QStringLiteral("name"), r.name},
            {QStringLiteral("short_name"), r.shortName},
            {QStringLiteral("request"), r.request},
            {QStringLiteral("header"), r.header},
            {QStringLiteral("value"), number(r.value)},
            {QStringLiteral("units"), r.units},
            {QStringLiteral("min"), number(r.minimum)},
            {QStringLiteral("max"), number(r.maximum)},
            {QStringLiteral("error"), r.error.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(r.error)}});
    return list;
}

} // namespace zelcor
