// Fuzz target: codes.dat. The input's first line is the code looked up (as the list item
// gives it: up to six characters), the rest is the file. The code and the first six
// characters of the file's first line are explained.

#include "dtc/explaincode.h"
#include "fuzzrig.h"

using namespace zelcor;
using namespace zelcor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype end = bytes.indexOf('\n');
    const QString code = QString::fromLatin1(bytes.left(end < 0 ? 0 : std::min<qsizetype>(end, 6)));
    const QByteArray file = end < 0 ? bytes : bytes.mid(end + 1);
    writeScratchFile(codesFileName, file);

    int error = -1;
    const QString explanation = explainCode(code, scratchFolder(), &error);
    require(error == 0, "a codes file that exists is read");
    for (const QString& line : explanation.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        require(line.startsWith(code.leftJustified(6, QLatin1Char(' '))), "an explanation holds the code's lines only");
    explainCode(QString::fromLatin1(file.left(6)), scratchFolder());
    return 0;
}
