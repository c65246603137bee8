#pragma once
// The OBD protocols the adapter knows, numbered as its protocol commands number them.

namespace zelcor::sim {

enum class Bus { None, J1850Pwm, J1850Vpw, Iso9141, Kwp, Can11, Can29 };

struct ProtocolInfo {
    int number;       // 1..12 (hex 1..C); 0 for "none"
    const char* name; // as the adapter describes it
    Bus bus;
    int kbits;     // bus bit rate in kbit/s
    bool slowInit; // starts with a five-baud initialisation
};

// Protocols 1..12; any other number gives the "none" entry.
const ProtocolInfo& protocolInfo(int number);

// Protocols a vehicle can speak (the OBD ones): 1..9.
constexpr int firstVehicleProtocol = 1;
constexpr int lastVehicleProtocol = 9;

inline bool isCan(int number) {
    const Bus bus = protocolInfo(number).bus;
    return bus == Bus::Can11 || bus == Bus::Can29;
}
// ISO 9141-2 and ISO 14230-4 start with a bus initialisation.
inline bool needsBusInit(int number) {
    const Bus bus = protocolInfo(number).bus;
    return bus == Bus::Iso9141 || bus == Bus::Kwp;
}

} // namespace zelcor::sim
