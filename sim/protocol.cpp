#include "sim/protocol.h"

#include <array>
#include <cstddef>

namespace zelcor::sim {

const ProtocolInfo& protocolInfo(int number) {
    static const std::array<ProtocolInfo, 13> table{{
        {0, "", Bus::None, 0, false},
        {1, "SAE J1850 PWM", Bus::J1850Pwm, 42, false},
        {2, "SAE J1850 VPW", Bus::J1850Vpw, 10, false},
        {3, "ISO 9141-2", Bus::Iso9141, 10, true},
        {4, "ISO 14230-4 (KWP 5BAUD)", Bus::Kwp, 10, true},
        {5, "ISO 14230-4 (KWP FAST)", Bus::Kwp, 10, false},
        {6, "ISO 15765-4 (CAN 11/500)", Bus::Can11, 500, false},
        {7, "ISO 15765-4 (CAN 29/500)", Bus::Can29, 500, false},
        {8, "ISO 15765-4 (CAN 11/250)", Bus::Can11, 250, false},
        {9, "ISO 15765-4 (CAN 29/250)", Bus::Can29, 250, false},
        {10, "SAE J1939 (CAN 29/250)", Bus::Can29, 250, false},
        {11, "USER1 (CAN 11/125)", Bus::Can11, 125, false},
        {12, "USER2 (CAN 11/50)", Bus::Can11, 50, false},
    }};
    if (number < 0 || number >= int(table.size())) return table[0];
    return table[std::size_t(number)];
}

} // namespace zelcor::sim
