#include "ui/MeasurementSelectionDialog.h"

#include <memory>
#include <string>
#include <vector>

#include "database/AssayQueries.h"
#include "database/SqlConnection.h"
#include "datetime/LocalDateTime.h"
#include "module/Module.h"
#include "text/WideText.h"
#include "ui/AnchorTables.h"
#include "ui/ApplyAnchorLayout.h"
#include "ui/AssayText.h"
#include "ui/FailureMessage.h"
#include "ui/Guarded.h"
#include "ui/SelectionRules.h"
#include "ui/resource.h"

namespace {

// What the dialog keeps while it runs, owned through its user data: the caller's record and
// the full id of every measurement item. An item's data is its place in `itemIds`, so ids
// wider than the item data (32 bits on the 32-bit build) are kept whole.
struct DialogState {
    SelectionRecord* record = nullptr;
    std::vector<AssayId> itemIds;
};

DialogState* stateOf(HWND dialog) {
    return reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

LRESULT send(HWND dialog, int control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageW(dialog, control, message, wParam, lParam);
}

void addMeasurement(HWND dialog, DialogState& state, const AssaySummary& row) {
    const auto text =
        formatAssayItem(FormatLocalDate(row.date), FormatLocalTime(row.date, 0), row.sample);
    const auto index =
        send(dialog, IDC_MEASUREMENT_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) return;  // LB_ERR or LB_ERRSPACE: the item is not there
    state.itemIds.push_back(row.id);
    send(dialog, IDC_MEASUREMENT_LIST, LB_SETITEMDATA, index, state.itemIds.size() - 1);
    if (isMarked(row.id, state.record->first, state.record->second))
        send(dialog, IDC_MEASUREMENT_LIST, LB_SETSEL, TRUE, index);
}

// Rebuilds the measurement list for the selected series, marking the current pair again.
// Reads everything before it adds an item, so a failure leaves the list empty.
void changeSeries(HWND dialog, DialogState& state) {
    send(dialog, IDC_MEASUREMENT_LIST, LB_RESETCONTENT);
    state.itemIds.clear();
    const auto selected = send(dialog, IDC_SERIES_LIST, LB_GETCURSEL);
    if (selected < 0) return;
    const auto length = send(dialog, IDC_SERIES_LIST, LB_GETTEXTLEN, selected);
    if (length < 0) return;
    std::wstring series(static_cast<std::size_t>(length) + 1, L'\0');
    const auto read = send(dialog, IDC_SERIES_LIST, LB_GETTEXT, selected,
                           reinterpret_cast<LPARAM>(series.data()));
    if (read < 0) return;
    series.resize(static_cast<std::size_t>(read));

    std::vector<AssaySummary> rows;
    {
        auto db = DataBase::SqlConnection::fromStoredUri();
        rows = DataBase::QuerySeriesMeasurements(db, fromWide(series));
    }
    state.itemIds.reserve(rows.size());
    for (const AssaySummary& row : rows) addMeasurement(dialog, state, row);
}

// Fills the series list, selects the current pair's series and lists its measurements.
void fillLists(HWND dialog, DialogState& state) {
    std::u16string currentSeries;
    std::vector<std::u16string> series;
    {
        auto db = DataBase::SqlConnection::fromStoredUri();
        currentSeries = DataBase::QueryPairSeries(db, state.record->first, state.record->second);
        series = DataBase::QueryRecentSeries(db);
    }
    for (const std::u16string& text : series) {
        const std::wstring wide = toWide(text);
        send(dialog, IDC_SERIES_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    if (const auto selected = seriesToSelect(series, currentSeries))
        send(dialog, IDC_SERIES_LIST, LB_SETCURSEL, *selected);
    changeSeries(dialog, state);
}

INT_PTR initialise(HWND dialog, SelectionRecord* record) {
    if (!record) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    HICON icon = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(IDI_NIVRA));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    // The minimum size is stored first so that it is written however the rest ends.
    RECT outer{};
    GetWindowRect(dialog, &outer);
    record->minWidth = outer.right - outer.left;
    record->minHeight = outer.bottom - outer.top;

    const bool filled = Guarded(dialog, kSeriesListFailed, [&] {
        auto state = std::make_unique<DialogState>();
        state->record = record;
        SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
        fillLists(dialog, *stateOf(dialog));
    });
    // Without its lists the dialog is of no use: it ends as if cancelled.
    if (!filled) EndDialog(dialog, IDCANCEL);
    return TRUE;
}

void acceptMarks(HWND dialog, DialogState& state) {
    const auto count = send(dialog, IDC_MEASUREMENT_LIST, LB_GETSELCOUNT);
    std::vector<int> indices(count > 0 ? static_cast<std::size_t>(count) : 0);
    const auto got = indices.empty()
                         ? 0
                         : send(dialog, IDC_MEASUREMENT_LIST, LB_GETSELITEMS, indices.size(),
                                reinterpret_cast<LPARAM>(indices.data()));
    std::vector<std::size_t> places;
    for (LRESULT i = 0; i < got; ++i) {
        const auto place = send(dialog, IDC_MEASUREMENT_LIST, LB_GETITEMDATA, indices[i]);
        places.push_back(place == LB_ERR ? SIZE_MAX : static_cast<std::size_t>(place));
    }
    const PairChoice choice = choosePair(places, state.itemIds);
    switch (choice.outcome) {
        case PairChoice::Outcome::TooFew:
            ShowWarning(dialog, kTooFewMarksText);
            return;
        case PairChoice::Outcome::TooMany:
            ShowWarning(dialog, kTooManyMarksText);
            return;
        case PairChoice::Outcome::Chosen:
            state.record->first = choice.first;
            state.record->second = choice.second;
            EndDialog(dialog, IDOK);
            return;
    }
}

void command(HWND dialog, WORD id, WORD notification) {
    DialogState* state = stateOf(dialog);
    switch (id) {
        case IDOK:
            if (state)
                Guarded(dialog, kMeasurementListFailed, [&] { acceptMarks(dialog, *state); });
            return;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return;
        case IDC_SERIES_LIST:
            if (notification == LBN_SELCHANGE && state)
                Guarded(dialog, kMeasurementListFailed, [&] { changeSeries(dialog, *state); });
            return;
    }
}

}  // namespace

INT_PTR RunMeasurementSelectionDialog(HWND owner, SelectionRecord& record) {
    return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_SELECTION), owner,
                           MeasurementSelectionDialogProc, reinterpret_cast<LPARAM>(&record));
}

INT_PTR CALLBACK MeasurementSelectionDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    try {
        switch (message) {
            case WM_INITDIALOG:
                return initialise(dialog, reinterpret_cast<SelectionRecord*>(lParam));
            case WM_COMMAND:
                command(dialog, LOWORD(wParam), HIWORD(wParam));
                return FALSE;
            case WM_GETMINMAXINFO:
                if (const DialogState* state = stateOf(dialog)) {
                    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                    info->ptMinTrackSize = {state->record->minWidth, state->record->minHeight};
                }
                return FALSE;
            case WM_NCCALCSIZE:
                if (wParam) applyAnchorLayout(lParam, kSelectionDialogAnchors, dialog);
                return FALSE;
            case WM_NCDESTROY:
                std::unique_ptr<DialogState>(stateOf(dialog)).reset();
                SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
                return FALSE;
        }
    } catch (...) {
        // Nothing may cross the dialog manager; every action that can fail is guarded above.
    }
    return FALSE;
}
