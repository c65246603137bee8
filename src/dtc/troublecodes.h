#pragma once
// Trouble codes: the stored, pending and permanent lists with the explanation of the selected code,
// the two-step erase, the freeze frame, their passes and the saved reports.

#include "base/host.h"
#include "dtc/freezeframe.h"
#include "link/passcontext.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace zelcor {

// What the trouble code panel shows.
struct CodesPanel {
    // The codes as read ("P0133       232"), each list closed by an empty item and the end
    // marker; a list that could not be read holds the one item that says why.
    QStringList stored;
    QStringList pending;
    QStringList permanent; // kept by the controller until its monitor passes; no erase clears them
    QString storedProblem; // why the stored codes could not be read; empty when they were
    QString pendingProblem;
    QString permanentProblem;
    QString permanentNote;       // beside the permanent list after an erase
    QString explanation;         // of the selected code
    int storedIndex = -1;        // the selection in the stored list
    int pendingIndex = -1;       // the selection in the pending list
    int permanentIndex = -1;     // the selection in the permanent list
    bool eraseEnabled = true;    // "ERASE ALL CODES"
    bool saveEnabled = true;     // "SAVE CODES TO FILE"
    bool confirmVisible = false; // "ERASE CODES NOW" and "CANCEL"
};

class TroubleCodes : public QObject {
    Q_OBJECT
public:
    TroubleCodes(Host& host, const QString& programFolder);

    const CodesPanel& codesPanel() const { return codes_; }
    const FreezeFrame& freezeFrame() const { return freeze_; }

    // Stored codes (service 03), pending codes (service 07), then permanent codes
    // (service 0A) of every controller.
    void readCodes(PassContext& pass);
    // Clears the codes (service 04); false when a stop kept the request from going out.
    // The reply is not examined: the codes read next show what is left.
    bool erase(PassContext& pass);
    // Frame 0 of the selected controller's freeze frame, one request per stored parameter.
    void readFreezeFrame(PassContext& pass);

    // A code clicked in one list: the other lists lose their selection and the code's
    // explanation shows.
    void selectStored(int index);
    void selectPending(int index);
    void selectPermanent(int index);

    // The two-step erase: "ERASE ALL CODES" holds the buttons, then asks for the second
    // click; "ERASE CODES NOW" shows the lists as erasing; "CANCEL" gives the buttons back.
    void holdButtonsForErase();
    void askToConfirmErase();
    void showErasing();
    void cancelErase();

    // SAVE CODES TO FILE and Save Freeze to File: appended to the file the user chooses.
    void saveCodes();
    void saveFreezeFrame();
    // The date and time stamped on saved reports; the current time when unset.
    void setReportTime(std::function<QString()> reportTime) { reportTime_ = std::move(reportTime); }

    // Detection forgets the codes read before.
    void clear();

    // The explanation of a code from codes.dat, or that the file has none for it (one line);
    // the error box and no explanation when the file cannot be read.
    QString explanation(const QString& code);

signals:
    void codesChanged();
    void freezeFrameChanged();

private:
    enum class CodeList { Stored, Pending, Permanent };
    void showExplanation(CodeList list, int index);
    QString reportStampTime() const;
    // The TIP box, the save dialog of `kind`, then `report` appended to the chosen file; false
    // when the dialog was cancelled.
    bool saveReport(FileKind kind, const QString& what, const QString& defaultName,
                    const std::function<QString()>& report);

    Host& host_;
    const QString programFolder_;
    CodesPanel codes_;
    FreezeFrame freeze_;
    std::function<QString()> reportTime_;
    bool erased_ = false; // an erase went out on this connection
};

} // namespace zelcor
