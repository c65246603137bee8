#include "link/helptexts.h"

#include <QStringList>

namespace zelcor {

namespace {

const QString crlf = QStringLiteral("\r\n");

// Each help item that differs between the systems, with the text for this one.
#ifdef Q_OS_WIN
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

QStringList forSystem(const QStringList& windows, const QStringList& others) {
    return kWindows ? windows : others;
}

QStringList emailItem(int number) {
    return {
        QString::number(number) + QStringLiteral(")  If all else fails, please email ") + supportEmail() +
            QStringLiteral(", and be sure to check your 'junk' email"),
        QStringLiteral("       for the reply.  In your message, please tell us the error number, the year/make/model"),
        kWindows ? QStringLiteral("       vehicle, your windows version, your full name, and any other details "
                                  "that may help.")
                 : QStringLiteral("       vehicle, your Linux distribution and version, your full name, and any "
                                  "other details that may help.")};
}

QStringList guideItem(int number) {
    return {QString::number(number) + QStringLiteral(")  Visit our online troubleshooting guide:    ") + helpUrl(),
            QStringLiteral("      That will solve 99% of problems.")};
}

} // namespace

QString helpUrl() {
    return QStringLiteral(ZELCOR_HELP_URL);
}
QString supportEmail() {
    return QStringLiteral(ZELCOR_SUPPORT_EMAIL);
}

QString deviceRemovedMessage(const QString& device) {
    const bool wifi = device.contains(QLatin1Char(':')) && !device.startsWith(QLatin1Char('/'));
    const bool bluetooth = device.contains(QLatin1String("rfcomm"));
    QStringList lines{QStringLiteral("ERROR NUMBER 8021"), QString()};
    if (wifi) {
        lines << QStringLiteral("The Wi-Fi adapter at %1 went away. ").arg(device) << QString()
              << QStringLiteral("1)  Check that the computer is still joined to the adapter's Wi-Fi network.")
              << QStringLiteral("      Adapters drop the network when the ignition is switched off; switch it on "
                                "and join again.")
              << QString()
              << QStringLiteral("2)  Unplug the adapter from the car, wait 10 seconds, plug it back in, join its "
                                "network and try again.")
              << QString();
    } else if (bluetooth) {
        lines << QStringLiteral("The Bluetooth adapter on %1 went away. ").arg(device) << QString()
              << QStringLiteral("1)  Check that the adapter is still paired and within reach of the computer.")
              << QStringLiteral("      Adapters switch off with the ignition; switch it on and connect again.")
              << QString()
              << QStringLiteral("2)  Unplug the adapter from the car, wait 10 seconds, plug it back in and try again.")
              << QString();
    } else {
        lines << QStringLiteral("Check the connection at the USB port on the computer. ") << QString()
              << QStringLiteral("1)  Try unplugging and plugging the USB connection again a few times.")
              << QStringLiteral("      Then unplug both ends, wait 10 seconds, plug both back in, and try again on "
                                "the car.")
              << QString()
              << QStringLiteral("2)  If you are using an inverter to power the laptop, it can create electrical noise "
                                "and cause this error.")
              << QStringLiteral("      Try running the laptop just on battery power.") << QString()
              << QStringLiteral("3)  If you are using a long USB extension cable, it can cause this error.  USB "
                                "cables are not approved")
              << QStringLiteral("      for longer than 16 feet.  Try again without the extension and make sure all "
                                "connections are good.")
              << QString();
    }
    const int next = wifi || bluetooth ? 3 : 4;
    lines << guideItem(next) << QString() << emailItem(next + 1);
    return lines.join(crlf);
}

QString interfaceNotFoundHelp(bool noPortSearch) {
    QStringList lines{
        QString(),
        QStringLiteral("1)  Make sure the key is in the ignition and turned to the RUN position."),
        QString(),
        QStringLiteral("2)  Check that the ZELCOR cable is connected to the car and the computer."),
        QString(),
        QStringLiteral("3)  Exit ZELCOR, unplug the ZELCOR at both ends, wait 10 seconds, and plug both back in."),
        QString()};
    lines << forSystem(
                 {QStringLiteral("4)  Try restarting the computer, and try a different USB port on the computer.")},
                 {QStringLiteral("4)  A USB adapter shows as /dev/ttyUSB0 or /dev/ttyACM0 (ls /dev/ttyUSB* "
                                 "/dev/ttyACM*); try a different USB port."),
                  QStringLiteral("      A Bluetooth adapter needs binding first (sudo rfcomm bind 0 "
                                 "<its address>) and then shows as /dev/rfcomm0;"),
                  QStringLiteral("      for a Wi-Fi adapter join its network and choose its address in SET&UP "
                                 "(usually 192.168.0.10:35000).")})
          << QString() << guideItem(5) << QString()
          << forSystem(
                 {QStringLiteral(
                     "6)  Try exiting ALL other programs, firewalls, virus scanners, etc, that may be interfering.")},
                 {QStringLiteral("6)  Close other programs that may hold the adapter (a terminal program, "
                                 "another diagnostic program), and make sure"),
                  QStringLiteral("      you may use serial devices: sudo usermod -aG dialout $USER, then log "
                                 "out and in again.")})
          << QString();
    if (noPortSearch) lines << QStringLiteral("7) UNcheck 'Disable automatic port search' in setup.") << QString();
    lines << emailItem(noPortSearch ? 8 : 7);
    return lines.join(crlf);
}

QString vehicleHelp() {
    QStringList lines{
        QString(),
        QStringLiteral("1)  Make sure the key is in the ignition and turned to the RUN position."),
        QString(),
        QStringLiteral("2)  Check that the ZELCOR cable is connected securely to the car's socket."),
        QString(),
        QStringLiteral("3)  Try again, with the engine running."),
        QString(),
        QStringLiteral("4)  Turn off the ignition, exit ZELCOR, unplug the ZELCOR from the USB port and from the car, "
                       "wait 10 seconds,  "),
        QStringLiteral("      plug everything back in, turn the ignition key to the run position, and try again."),
        QString(),
        QStringLiteral("5)  Try restarting the computer and trying again."),
        QString()};
    lines << forSystem(
                 {QStringLiteral(
                     "6)  Try exiting ALL other programs, firewalls, virus scanners, etc, that may be interfering.")},
                 {QStringLiteral("6)  Close other programs that may be using the adapter at the same time (a "
                                 "terminal or another diagnostic program).")})
          << QString() << guideItem(7) << QString() << emailItem(8);
    return lines.join(crlf);
}

QString vehicleNotUnderstoodMessage(const QString& adapterSaid) {
    QString said = adapterSaid.trimmed();
    said.replace(QLatin1Char('\r'), QStringLiteral(" | "));
    QStringList lines{
        QStringLiteral("ERROR NUMBER 3.  The vehicle answered, but its answers could not be understood"),
        QString(),
        QStringLiteral("The adapter said: ") + (said.isEmpty() ? QStringLiteral("(nothing)") : said.left(400)),
        QString(),
        QStringLiteral("1)  Turn off the ignition, wait 10 seconds, turn it to the RUN position and try again."),
        QString(),
        QStringLiteral("2)  In SET&UP, choose the protocol the car speaks instead of the automatic search."),
        QString(),
        QStringLiteral("3)  The adapter may not be a genuine ELM327: try another adapter."),
        QString()};
    lines << guideItem(4) << QString() << emailItem(5);
    return lines.join(crlf);
}

QString errorStatusText(int number) {
    return QStringList{QStringLiteral("To solve this ERROR %1 problem,").arg(number),
                       QStringLiteral("please see our troubleshooting guide:"), helpUrl(),
                       QStringLiteral("That will solve 99% of all problems.")}
        .join(crlf);
}

} // namespace zelcor
