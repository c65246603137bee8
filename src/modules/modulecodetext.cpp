#include "modules/modulecodetext.h"

#include "dtc/explaincode.h"

namespace zelcor {

QString moduleCodeExplanation(const QString& code, const QString& module, const QString& folder, int* errorNumber) {
    const QString found = explainCode(code, folder, errorNumber);
    if (!found.isEmpty()) {
        // The first line, after the code and its blank.
        return found.section(QStringLiteral("\r\n"), 0, 0).mid(code.size() + 1).trimmed();
    }
    if (isManufacturerCode(code)) return QStringLiteral("manufacturer-specific code, reported by %1").arg(module);
    return missingExplanationText(code);
}

} // namespace zelcor
