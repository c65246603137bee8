#include "core/detection.h"

#include "base/numbers.h"
#include "core/functiontable.h"
#include "core/navigation.h"
#include "dtc/troublecodes.h"
#include "live/livedata.h"
#include "obd/parameters.h"
#include "vehicle/vehiclestatus.h"

#include <optional>

namespace zelcor {

namespace {

// The address of a controller-list entry (a decimal address) in hex.
QString entryAddress(const QString& entry) {
    return hexByte(int(leadingNumber(entry.left(3))));
}

// The header layout of a reply line whose answer starts at `at` (blanks removed); none
// when no header the adapter writes is that long.
std::optional<HeaderLayout> layoutBefore(int at) {
    switch (at) {
    case 5:
        return HeaderLayout::Can11;
    case 6:
        return HeaderLayout::Legacy;
    case 10:
        return HeaderLayout::Can29;
    default:
        return std::nullopt;
    }
}

// Lists every function of the table that the car offers in the given way.
void listOffered(Navigation& navigation, Offer offer) {
    for (const FunctionRow& row : functionTable())
        if (row.offer == offer && row.listName)
            navigation.addFunction({QString::fromLatin1(row.listName), int(row.function)});
}

} // namespace

Detection::Detection(Link& link, Navigation& navigation, VehicleStatus& vehicle, TroubleCodes& codes, LiveData& live)
    : link_(link), navigation_(navigation), vehicle_(vehicle), codes_(codes), live_(live) {}

bool Detection::run() {
    if (!pendingController_.isEmpty()) {
        link_.setSelectedController(pendingController_);
        pendingController_.clear();
    }
    link_.setHeaderLayout(HeaderLayout::Legacy);
    forgetEverything();

    {
        TracePause pause(link_);
        link_.send(QStringLiteral("ATDP"));
    }
    const QString description = link_.takeReply();
    // Shown on the panels and in reports: printable, and short whatever the adapter sent.
    protocolText_ = quotable(QString(description)
                                 .remove(QLatin1Char('>'))
                                 .remove(QLatin1Char('\n'))
                                 .replace(QLatin1Char('\r'), QLatin1Char(' '))
                                 .trimmed());
    link_.traceLine(QStringLiteral("P ") + description);

    link_.send(QStringLiteral("0100"));
    const QString broadcast = link_.receiveAll(1.5);
    link_.host().setClipboardText(description + QStringLiteral("/") + broadcast);
    lastAnswer_ = protocolText_ + QStringLiteral(" / ") +
                  quotable(QString(broadcast).replace(QLatin1Char('\r'), QLatin1Char(' ')), 300);
    QStringList controllers;
    for (const QString& line : broadcast.split(QLatin1Char('\r'))) {
        // Only lines that answer the request behind a header the adapter writes name a
        // controller: adapter texts (NO DATA, SEARCHING...), replies without headers and
        // garbage before a reply would otherwise be read as addresses.
        const int at = line.indexOf(QLatin1String("4100"));
        const std::optional<HeaderLayout> layout = layoutBefore(at);
        if (!layout) continue;
        if (*layout != HeaderLayout::Legacy) link_.setHeaderLayout(*layout);
        // A damaged answer names no controller, and each one is listed once.
        const Reply reply = parseReply(normaliseLine(line, *layout), QString(), *layout);
        if (!reply.isSound() || reply.service != 0x41 || reply.parameter != 0x00 || reply.data.size() < 4) continue;
        const QString address = QString::number(reply.controller);
        if (controllers.contains(address)) continue;
        controllers << address;
        if (link_.tracing()) link_.traceLine(QStringLiteral("A ") + QString::number(reply.controller, 16).toUpper());
    }
    vehicle_.setControllers(controllers);
    chooseSelectedController();
    controllersReady_ = true;

    if (link_.tracing()) link_.clock().wait(0.5);
    readSupport();
    // Manufacturer parameters are asked of one controller at a time: CAN only.
    live_.channelsComplete(link_.headerLayout() != HeaderLayout::Legacy);
    // This drive cycle's monitors (PID 41) live among PIDs 41 to 60: General Info is laid
    // out for them now rather than when their first answer comes.
    vehicle_.setDriveCycleOffered(supports(pid::supported41To60));

    const bool offered = navigation_.functions().size() > 2;
    if (offered) {
        listInformationFunctions();
        navigation_.functionsComplete();
    } else {
        navigation_.clearFunctions();
        link_.setLinkLost(true);
    }
    if (link_.tracing()) link_.traceLine(QStringLiteral("EA8:") + link_.selectedController());
    return offered;
}

// Vehicle information and the on-board test results (CAN only), when the selected
// controller answers for their support.
void Detection::listInformationFunctions() {
    if (link_.request(QStringLiteral("0900")).answers(0x09, 0x00)) listOffered(navigation_, Offer::VehicleInformation);
    if (link_.headerLayout() != HeaderLayout::Legacy && link_.request(QStringLiteral("0600")).answers(0x06, 0x00))
        listOffered(navigation_, Offer::MonitorTestResults);
    if (link_.headerLayout() != HeaderLayout::Legacy) listOffered(navigation_, Offer::CanModules);
}

// Everything the previous detection found is forgotten.
void Detection::forgetEverything() {
    live_.clearChannels();
    vehicle_.clearForDetection();
    navigation_.clearFunctions();
    codes_.clear();
    controllersReady_ = false;
}

// The controller the program works with: the one selected before while it still answers
// (three detections without it give it up), else the first that answered.
void Detection::chooseSelectedController() {
    const QStringList& responders = vehicle_.generalInfo().controllers;
    const QString selected = link_.selectedController();
    const auto selectFirst = [&](const char* tag) {
        vehicle_.setControllerIndex(0);
        link_.setSelectedController(entryAddress(responders.first()));
        if (link_.tracing()) link_.traceLine(QLatin1String(tag) + link_.selectedController());
        vehicle_.setCurrentAddress(responders.first());
    };
    if (!selected.isEmpty()) {
        bool found = false;
        for (const QString& entry : responders) {
            if (entryAddress(entry) == selected) {
                found = true;
                if (link_.tracing()) link_.traceLine(QStringLiteral("GEA1"));
            }
        }
        if (found) {
            misses_ = 0;
        } else if (++misses_ > 2) {
            if (!responders.isEmpty()) {
                selectFirst("EA4:");
            } else {
                link_.setSelectedController(QStringLiteral("10"));
                if (link_.tracing()) link_.traceLine(QStringLiteral("EA5:10"));
                vehicle_.setCurrentAddress(QStringLiteral("16 - Engine"));
            }
        }
    } else {
        if (link_.tracing()) link_.traceLine(QStringLiteral("EA1"));
        if (!responders.isEmpty()) selectFirst("EA2:");
    }
}

// PIDs 01 to 20 of the selected controller; PID 01 always counts as supported.
void Detection::readSupport() {
    const Reply reply = link_.request(QStringLiteral("0100"));
    if (!reply.answers(0x01, 0x00)) {
        if (!reply.isEmpty())
            lastAnswer_ += QStringLiteral(" / the controller's answer: ") + reply.whyNotAnswer(0x01, 0x00);
        return;
    }
    if (link_.tracing()) link_.traceLine(QStringLiteral("C3"));
    QByteArray bits = reply.data.left(4);
    bits.resize(4, '\0');
    if (reply.data.size() >= 4 && bits == QByteArray(4, '\0')) bits[0] = char(0x80);
    for (int byte = 0; byte < 4; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            const int pid = 1 + byte * 8 + bit;
            supported_[size_t(pid)] = quint8(bits[byte]) & (0x80 >> bit);
            if (supported_[size_t(pid)]) listSupported(pid);
        }
    }
}

// Lists a supported parameter where its table row says.
void Detection::listSupported(int pid) {
    if (pid == pid::monitorStatus) {
        if (link_.tracing()) link_.traceLine(QStringLiteral("CP1"));
        listOffered(navigation_, Offer::MonitorStatus);
        return;
    }
    const Parameter* parameter = findParameter(pid);
    if (!parameter) return;
    const ListEntry entry{QString::fromLatin1(parameter->name), pid};
    switch (parameter->listing) {
    case Listing::None:
        break;
    case Listing::ChannelFirst:
        live_.addChannelFirst(entry);
        break;
    case Listing::ChannelLast:
        live_.addChannelLast(entry);
        break;
    case Listing::Function:
        navigation_.addFunction(entry);
        break;
    case Listing::FunctionAndChannelFirst:
        navigation_.addFunction(entry);
        live_.addChannelFirst(entry);
        break;
    case Listing::FunctionAndChannelLast:
        navigation_.addFunction(entry);
        live_.addChannelLast(entry);
        break;
    }
    // The derived channels computed from this parameter.
    for (const Parameter* p = parametersBegin(); p != parametersEnd(); ++p)
        if (p->listedAfter == pid) live_.addChannelLast({QString::fromLatin1(p->name), p->code});
    if (pid == pid::supported21To40) readSupport21To40();
}

void Detection::readSupport21To40() {
    const Reply reply = link_.request(QStringLiteral("0120"));
    if (!reply.answers(0x01, pid::supported21To40)) return;
    if (link_.tracing()) link_.traceLine(QStringLiteral("C33"));
    for (int byte = 0; byte < 4; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            const int pid = 0x21 + byte * 8 + bit;
            supported_[size_t(pid)] = dataByte(reply.data, byte) & (0x80 >> bit);
            if (supported_[size_t(pid)] && pid <= 0x3F) listSupported(pid);
        }
    }
}

bool Detection::chooseController(int index) {
    const QStringList& controllers = vehicle_.generalInfo().controllers;
    if (!controllersReady_ || index < 0 || index >= controllers.size()) return false;
    vehicle_.setControllerIndex(index);
    const QString entry = controllers.at(index);
    const QString address = entryAddress(entry);
    if (address == link_.selectedController()) return false;
    pendingController_ = address;
    vehicle_.setCurrentAddress(entry);
    return true;
}

} // namespace zelcor
