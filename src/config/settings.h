#pragma once
// The ten user settings and their file, setup.cfg, in the program folder.

#include <QByteArray>
#include <QString>

namespace zelcor {

// The longest extra wait after a prompt (seconds); a longer one in the file is cut to it.
inline constexpr double kMaxPromptDelay = 5.0;

struct Settings {
    qint16 startPort = 1;         // port to start the adapter search at
    double promptDelay = 0.0;     // extra wait in seconds after each prompt
    bool milesPerHour = true;     // speeds in mph (else km/h)
    bool poundsPerMinute = false; // air flow in lb/min (else g/s)
    bool noPortSearch = false;    // only the configured port is tried
    bool fahrenheit = true;       // temperatures in deg F (else deg C)
    bool psi = true;              // pressures in psi and inHg (else kPa)
    double vehicleWeight = 3200;  // pounds, 0..9999
    qint16 initMode = 0;          // protocol rule of the adapter set-up
    bool debugTrace = false;      // "Debug": write the trace log

    bool operator==(const Settings&) const = default;
};

// The file's exact text: ten lines, each ended by CR LF.
QByteArray settingsFileText(const Settings& settings);

// Parses the file's text; false when it is unusable (too short, a 16-bit value out of range).
// A value outside its range is brought into it, and `note` (when given) says so.
bool parseSettingsFile(const QByteArray& text, Settings& settings, QString* note = nullptr);

// Reads setup.cfg from `folder`. On any problem the default file is written and read;
// `note` (when given) tells what the user should know (a value that was brought into range).
void loadSettings(Settings& settings, const QString& folder, QString* note = nullptr);

// Replaces setup.cfg in `folder` without ever leaving a half-written file.
// Returns false (with a description) when the file could not be written.
bool saveSettings(const Settings& settings, const QString& folder, QString* error = nullptr);

} // namespace zelcor
