#pragma once
// The adapter chosen on the setup panel, kept in zelcor.ini beside setup.cfg.

#include <QString>

namespace zelcor {

// The chosen device ("/dev/ttyUSB0", "192.168.0.10:35000", the simulated car); empty when
// none was chosen and the numbered ports are searched.
QString loadDeviceChoice(const QString& folder);
// False, with *error naming the file and why, when zelcor.ini could not be written.
bool saveDeviceChoice(const QString& folder, const QString& device, QString* error = nullptr);

} // namespace zelcor
