#include "modules/modulereport.h"

#include "base/numbers.h"
#include "modules/modulecodetext.h"

#include <QJsonObject>

namespace zelcor {

namespace {

QJsonValue orNull(const QString& text) {
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

} // namespace

int explainModuleCodes(QList<ModuleResult>& modules, const QString& folder) {
    int failure = 0;
    for (ModuleResult& module : modules)
        for (ModuleCode& code : module.codes) {
            int error = 0;
            code.explanation = moduleCodeExplanation(code.code, module.shownName(), folder, &error);
            if (error) failure = error;
        }
    return failure;
}

QString modulesText(const QList<ModuleResult>& modules, const QString& problem) {
    QString out = QStringLiteral("Modules:\n");
    if (!problem.isEmpty()) out += QStringLiteral("  The scan stopped: %1\n").arg(problem);
    if (modules.isEmpty() && problem.isEmpty()) out += QStringLiteral("  No module answered on its own address.\n");
    for (const ModuleResult& module : modules) {
        QString summary = module.codesRead() ? QStringLiteral("%1 code(s)").arg(module.codes.size())
                                             : QStringLiteral("codes not read");
        if (module.warningLamp()) summary += QStringLiteral(", warning lamp");
        out += QStringLiteral("  %1  %2  (%3)  %4\n")
                   .arg(module.address.label(), module.name.isEmpty() ? QStringLiteral("-") : module.name,
                        protocolName(module.protocol), summary);
        if (!module.codesRead()) out += QStringLiteral("    %1\n").arg(module.error);
        for (const ModuleCode& code : module.codes)
            out += QStringLiteral("    %1  %2  [%3]\n")
                       .arg(code.shown(), -8)
                       .arg(code.explanation, codeStatusTexts(code.status).join(QStringLiteral(", ")));
        if (!module.clearError.isEmpty()) out += QStringLiteral("    %1\n").arg(module.clearError);
    }
    return out;
}

QJsonArray modulesJson(const QList<ModuleResult>& modules) {
    QJsonArray list;
    for (const ModuleResult& module : modules) {
        QJsonArray codes;
        for (const ModuleCode& code : module.codes) {
            QJsonObject status;
            for (const CodeStatusBit& bit : codeStatusBits())
                status[bit.key] = code.has(bit.bit);
            codes.append(QJsonObject{{QStringLiteral("code"), code.code},
                                     {QStringLiteral("failure_type"), code.failureType < 0
                                                                          ? QJsonValue(QJsonValue::Null)
                                                                          : QJsonValue(hexByte(code.failureType))},
                                     {QStringLiteral("status"), status},
                                     {QStringLiteral("explanation"), code.explanation}});
        }
        list.append(QJsonObject{{QStringLiteral("address"), module.address.replyText()},
                                {QStringLiteral("request"), module.address.requestText()},
                                {QStringLiteral("name"), orNull(module.name)},
                                {QStringLiteral("protocol"), protocolName(module.protocol)},
                                {QStringLiteral("codes"), codes},
                                {QStringLiteral("error"), orNull(module.error)}});
    }
    return list;
}

} // namespace zelcor
