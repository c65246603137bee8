#include "core/panels.h"

namespace zelcor {

QString panelName(Panel panel) {
    switch (panel) {
    case Panel::Frame1: return QStringLiteral("Frame1");
    case Panel::Frame2: return QStringLiteral("Frame2");
    case Panel::D0101: return QStringLiteral("D0101");
    case Panel::D0103: return QStringLiteral("D0103");
    case Panel::D0104: return QStringLiteral("D0104");
    case Panel::D0113: return QStringLiteral("D0113");
    case Panel::D012: return QStringLiteral("D012");
    case Panel::D013: return QStringLiteral("D013");
    case Panel::D03: return QStringLiteral("D03");
    case Panel::D0200: return QStringLiteral("D0200");
    case Panel::D240: return QStringLiteral("D240");
    case Panel::D250: return QStringLiteral("D250");
    }
    return {};
}

QString panelCaption(Panel panel) {
    switch (panel) {
    case Panel::Frame1: return QString();
    case Panel::Frame2: return QStringLiteral(" Setup ");
    case Panel::D0101: return QStringLiteral(" General Info ");
    case Panel::D0103: return QStringLiteral(" Fuel Systems Status ");
    case Panel::D0104: return QStringLiteral(" Calculated Load Value ");
    case Panel::D0113: return QStringLiteral("Oxygen Sensors Data");
    case Panel::D012: return QStringLiteral(" Engine RPM ");
    case Panel::D013: return QStringLiteral(" Vehicle Speed ");
    case Panel::D03: return QStringLiteral(" Diagnostic Trouble Codes (DTC) ");
    case Panel::D0200: return QStringLiteral("Freeze Frame");
    case Panel::D240: return QStringLiteral("Real-Time Graphs");
    case Panel::D250: return QStringLiteral(" Live Data and Gauges");
    }
    return {};
}

} // namespace zelcor
