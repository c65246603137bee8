#include "modules/moduleaddresses.h"

namespace zelcor {

namespace {

// A request at `request` answered at request + 8, the usual pairing on 11-bit CAN.
ModuleAddress pair11(quint32 request) {
    return {request, request + 8, false, false};
}

// A pairing some makers use, the reply elsewhere than at request + 8.
ModuleAddress offset11(quint32 request, quint32 reply) {
    return {request, reply, false, true};
}

// 18DA<module>F1 asked, 18DAF1<module> answering (the tester is F1).
ModuleAddress pair29(quint32 module) {
    return {0x18DA00F1u | (module << 8), 0x18DAF100u | module, true, false};
}

QList<ModuleAddress> can11Candidates() {
    QList<ModuleAddress> list;
    // The emission-related controllers first, then the pairs body, chassis and comfort
    // modules are commonly found on.
    for (quint32 id = 0x7E0; id <= 0x7E7; ++id)
        list.append(pair11(id));
    for (const quint32 id : {0x700u, 0x720u, 0x724u, 0x726u, 0x730u, 0x733u, 0x737u, 0x740u, 0x744u, 0x750u, 0x760u,
                             0x765u, 0x770u, 0x780u, 0x790u, 0x7A0u, 0x7A2u, 0x7B0u, 0x7C0u, 0x7C4u, 0x7D0u, 0x7D2u})
        list.append(pair11(id));
    for (const auto& [request, reply] :
         {std::pair{0x710u, 0x77Au}, {0x713u, 0x77Du}, {0x714u, 0x77Eu}, {0x715u, 0x77Fu}, {0x746u, 0x7B0u}})
        list.append(offset11(request, reply));
    return list;
}

QList<ModuleAddress> can29Candidates() {
    QList<ModuleAddress> list;
    // The emission-related range, then every eighth address above it.
    for (quint32 module = 0x10; module <= 0x17; ++module)
        list.append(pair29(module));
    for (quint32 module = 0x18; module <= 0xF8; module += 8)
        list.append(pair29(module));
    return list;
}

} // namespace

const QList<ModuleAddress>& candidateAddresses(HeaderLayout layout) {
    static const QList<ModuleAddress> none;
    static const QList<ModuleAddress> can11 = can11Candidates();
    static const QList<ModuleAddress> can29 = can29Candidates();
    switch (layout) {
    case HeaderLayout::Can11:
        return can11;
    case HeaderLayout::Can29:
        return can29;
    case HeaderLayout::Legacy:
        break;
    }
    return none;
}

} // namespace zelcor
