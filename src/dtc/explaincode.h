#pragma once
// Explanations of trouble codes from the code database file codes.dat.

#include <QString>

namespace zelcor {

// Name of the code database in the program's folder.
inline const QString codesFileName = QStringLiteral("codes.dat");

// Error numbers of a failed lookup: the file is missing, or it exists but cannot be
// opened (access denied, a folder of that name, any other open failure).
inline constexpr int codesFileMissing = 53;
inline constexpr int codesFileAccessDenied = 75;

// The explanation of `code` from codes.dat in `folder`: the first block of adjacent lines
// whose first six characters equal the code padded with blanks to six characters, each
// line followed by CR LF. Empty when the code is not in the file or the file cannot be
// opened; then *errorNumber (when given) is codesFileMissing or codesFileAccessDenied,
// otherwise 0.
QString explainCode(const QString& code, const QString& folder, int* errorNumber = nullptr);

// True for a trouble code as the lists show it: P, C, B or U, then four hex digits ("P1456").
bool isTroubleCode(const QString& code);

// True for a code whose meaning each maker defines: P1xxx and P30xx to P33xx, and in the
// other groups the codes starting 1 or 2.
bool isManufacturerCode(const QString& code);

// What stands in place of the explanation of a trouble code that codes.dat has no line
// for: "No explanation for P1456 in codes.dat", followed by " (a manufacturer-specific
// code)" for the codes whose meaning each maker defines. Empty for anything else.
QString missingExplanationText(const QString& code);

// Title of the message box showing codesFileErrorText.
inline const QString codesFileErrorTitle = QStringLiteral("Error");

// The message shown when codes.dat in `folder` cannot be opened: nineteen lines joined by
// CR LF, naming the error number, the file and why (outside Windows), the troubleshooting
// web address and the support e-mail address.
QString codesFileErrorText(int errorNumber, const QString& folder, const QString& helpUrl, const QString& email);

} // namespace zelcor
