#pragma once
// A simulated module's diagnostic services on its own address (ISO 14229 and the older
// KWP2000 form): TesterPresent, its system name, its trouble codes with their status
// bytes, and clearing them.

#include <QByteArray>
#include <QList>
#include <optional>

namespace zelcor::sim {

struct ModuleTroubleCode {
    quint32 code = 0;  // three bytes: the two code bytes and the failure type (0x403513 = C0035-13)
    quint8 status = 0; // status bits as ReadDTCInformation reports them
};

struct ModuleDefinition {
    bool present = false;      // the controller answers module services at all
    QByteArray systemName;     // identifier F197; empty: refused (request out of range)
    bool kwpOnly = false;      // knows 18 02 FF 00 and 14 FF 00, refuses 19 and 22
    bool refusesCodes = false; // 19 and 18 refused (service not supported)
    int pendingAnswers = 0;    // "response pending" this many times before each code list
    QList<ModuleTroubleCode> codes;
};

class ModuleServices {
public:
    explicit ModuleServices(ModuleDefinition definition);

    const ModuleDefinition& definition() const { return definition_; }
    QList<ModuleTroubleCode> codes() const { return codes_; }

    // The messages answering `request` (empty: no answer); none when the service is not a
    // module service (the OBD services are answered elsewhere).
    std::optional<QList<QByteArray>> answer(const QByteArray& request);
    // A clear was answered positively since the last call.
    bool takeCleared();

private:
    QList<QByteArray> udsCodes(const QByteArray& request) const;
    QList<QByteArray> kwpCodes(const QByteArray& request) const;
    QList<QByteArray> clear(const QByteArray& request);

    ModuleDefinition definition_;
    QList<ModuleTroubleCode> codes_;
    bool cleared_ = false;
};

} // namespace zelcor::sim
