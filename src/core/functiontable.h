#pragma once
// The diagnostic functions, one row each: the function list, the Functions menu and the
// function items of the menu bar, the panel stack, the pass dispatcher, detection's list
// of offered functions and the headless scan all read this table.
//
// Adding a function is one row here, its pass (a method of the area object that owns
// its state, called from the row's pass) and its panel widget in ui/. Nothing is found
// by its position in the function list: items and menus find their row by its code.

#include "core/function.h"
#include "core/panels.h"

#include <QString>
#include <optional>
#include <span>

namespace zelcor {

class PassContext;
class Session;

// When the car offers the function, that is when detection lists it.
enum class Offer {
    Internal,           // never listed: the program selects it itself
    MonitorStatus,      // every car that answers for PID 01
    ParameterSupported, // the car supports the PID of the same number
    VehicleInformation, // the selected controller answers for service 09's support
    MonitorTestResults, // a CAN car whose selected controller answers for service 06's support
    CanModules,         // a CAN car: its other modules may answer on their own addresses
};

// Which controllers the pass hears.
enum class Audience {
    Unchanged,          // keeps the link as it is (keeping awake)
    AllControllers,     // the functional address
    SelectedController, // live values: the controller chosen on General Info
};

// The part of the headless scan the function serves.
enum class ScanPart {
    None,
    Detection,
    GeneralInfo,
    Parameters,
    TroubleCodes,
    FreezeFrame,
    Information, // vehicle information and test results, after the codes
    LiveData,
};

struct FunctionRow {
    Function function = Function::None;
    std::optional<Panel> panel = std::nullopt; // brought to the front before the pass runs
    // Shown but not read while no connection runs (a stop is requested).
    bool readsOnlyWhileConnected = false;
    Offer offer = Offer::Internal;
    const char* listName = nullptr; // the function list's entry; parameters take their table name
    int menuItem = -1;              // m_0 .. m_7 of the menu bar, -1 for none
    const char* menuCaption = nullptr;
    const char* absentNotice = nullptr; // the status line when the car does not offer it
    Audience audience = Audience::AllControllers;
    ScanPart scan = ScanPart::None;
    // One read, then keeping the link awake unless another function was chosen meanwhile.
    bool oneShot = false;
    // Reads for the function; `code` tells the single-parameter row which PID.
    void (*pass)(Session& session, PassContext& context, int code) = nullptr;
};

std::span<const FunctionRow> functionTable();
// The row of a function code; every single-parameter PID shares one row. Null for none.
const FunctionRow* functionRow(int code);
// The row behind function item `item` (0..7) of the menu bar; null for none.
const FunctionRow* menuItemRow(int item);
constexpr int kMenuItems = 8;

} // namespace zelcor
