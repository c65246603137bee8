#pragma once
// The troubleshooting texts of the connection errors and the maker's addresses.

#include <QString>

namespace zelcor {

QString helpUrl();
QString supportEmail();

// "ERROR NUMBER 8021" box text: the USB troubleshooting steps.
// ERROR NUMBER 8021 for the device that went away: a serial device path or a Wi-Fi host:port.
QString deviceRemovedMessage(const QString& device);
// Troubleshooting steps appended to error 0; item 7 only when port search is disabled.
QString interfaceNotFoundHelp(bool noPortSearch);
// Troubleshooting steps appended to error 1.
QString vehicleHelp();
// "ERROR NUMBER 3" box text: the vehicle answered, but not in a way the program can read;
// `adapterSaid` is what the adapter answered, shown as it came.
QString vehicleNotUnderstoodMessage(const QString& adapterSaid);
// Status label texts in the error style.
QString errorStatusText(int number);

} // namespace zelcor
