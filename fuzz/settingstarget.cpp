// Fuzz target: setup.cfg. The input is the file's text. Settings read from it, once
// written, must read back, and the file written then must not change when read and
// written again.

#include "config/settings.h"
#include "fuzzrig.h"

using namespace zelcor;
using namespace zelcor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Settings settings;
    if (!parseSettingsFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), settings)) return 0;
    const QByteArray written = settingsFileText(settings);
    Settings again;
    require(parseSettingsFile(written, again), "settings written read back");
    require(settingsFileText(again) == written, "settings read back are written the same");
    return 0;
}
