// Fuzz target: adapter replies as the link receives them. The input picks the header
// layout and the selected controller, then holds the adapter's raw output. Every line is
// normalised and parsed on its own, split as the answer to a request for several PIDs,
// and the whole output goes through Link::receive, which picks the selected controller's
// line.

#include "fuzzrig.h"
#include "link/link.h"
#include "link/parameterreplies.h"
#include "obd/parameters.h"

using namespace zelcor;
using namespace zelcor::fuzz;

namespace {

struct Rig : LinkRig {
    Rig() { link.setPollerEnabled(true); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Rig rig;
    FuzzInput input(data, size);
    const HeaderLayout layout = layoutFrom(input.takeByte());
    const QString selected = controllerFrom(input.takeByte());
    const QByteArray raw = input.rest();

    QString text = QString::fromLatin1(raw);
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('>'));
    text.remove(QLatin1Char('\n'));
    for (const QString& line : text.split(QLatin1Char('\r'))) {
        const QString normal = normaliseLine(line, layout);
        const Reply reply = parseReply(normal, selected);
        reply.answers(0x01, reply.parameter);
        hexBytes(line);
    }

    const QList<int> pids{0x00, 0x0C, 0x0D, 0x05, 0x11, 0x24};
    const QList<Reply> split = splitParameterReplies(text, selected, layout, pids);
    require(split.size() == pids.size(), "one reply for each PID asked");
    for (qsizetype k = 0; k < pids.size(); ++k) {
        if (split[k].isEmpty() || !split[k].isSound()) continue;
        require(split[k].answers(0x01, pids[k]), "a PID's reply answers that PID");
        require(split[k].data.size() == (pids[k] % 0x20 == 0 ? 4 : parameterBytes(pids[k])),
                "a PID's reply holds that PID's bytes");
    }

    rig.link.setHeaderLayout(layout);
    rig.link.setSelectedController(selected);
    rig.link.setLinkLost(false);
    rig.link.discardReceived();
    rig.port.setReplies({raw});
    rig.link.clearStopRequest();
    rig.link.send(QStringLiteral("0100"));
    rig.link.receive();
    return 0;
}
