// Fuzz target: trouble-code reassembly. The input picks the header layout, then holds the
// adapter's raw output for the stored codes (service 03) and, after a NUL, for the
// pending codes (service 07). They are read as the trouble code pass reads them, through
// the link, and the reply text is also reassembled for both services directly.

#include "dtc/codereply.h"
#include "dtc/troublecodes.h"
#include "fuzzrig.h"
#include "link/link.h"

using namespace zelcor;
using namespace zelcor::fuzz;

namespace {

struct Rig : LinkRig {
    TroubleCodes codes{host, scratchFolder()};
    Rig() { link.setPollerEnabled(true); }
};

// A list is either the one "could not be read" item or codes closed by the end marker.
void checkList(const QStringList& list) {
    if (list.size() == 1 && list.first().startsWith(unreadableCodesText)) return;
    require(list.size() >= 2 && list.last() == endOfListItem, "a list of codes read ends with its end marker");
    for (qsizetype i = 0; i + 2 < list.size(); ++i)
        require(list[i].size() > 5 + codeItemGap && list[i][5] == QLatin1Char(' '),
                "an item is a five-character code and an address");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Rig rig;
    FuzzInput input(data, size);
    const HeaderLayout layout = layoutFrom(input.takeByte());
    const QList<QByteArray> replies = repliesOf(input.rest());

    for (const QByteArray& raw : replies) {
        QString text = QString::fromLatin1(raw);
        text.remove(QLatin1Char(' '));
        text.remove(QLatin1Char('>'));
        text.remove(QLatin1Char('\n'));
        for (int service : {3, 7})
            checkList(troubleCodeList(readTroubleCodes(text, layout, service)));
    }

    rig.link.setHeaderLayout(layout);
    rig.link.setLinkLost(false);
    rig.link.discardReceived();
    rig.port.setReplies(replies);
    rig.link.clearStopRequest();
    PassContext pass(rig.link, rig.settings, rig.clock, true, {});
    rig.codes.readCodes(pass);
    checkList(rig.codes.codesPanel().stored);
    checkList(rig.codes.codesPanel().pending);
    return 0;
}
