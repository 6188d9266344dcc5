#include "check/road/SelectionDriver.h"

#include "check/driver/ControlText.h"
#include "check/driver/WindowActions.h"
#include "check/road/Win32Text.h"
#include "database/Utf.h"
#include "ui/resource.h"

namespace {

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}

// The item's data read back sign-extended, as the dialog keeps an AssayId there.
AssayId ItemAssayId(HWND list, int index) {
    return static_cast<LONG>(SendMessageW(list, LB_GETITEMDATA, index, 0));
}

}  // namespace

void DriveSelectionDialog(HWND dialog, const RoadDatabase& road, StepChecks& checks) {
    HWND seriesList = GetDlgItem(dialog, IDC_SERIES_LIST);
    HWND measurementList = GetDlgItem(dialog, IDC_MEASUREMENT_LIST);
    if (!checks.expect(seriesList && measurementList, "в диалоге нет списка 1008 или 1010")) return;

    // Opened with no current pair: the series with the newest measurement comes first and is
    // selected; none of its measurements is marked.
    checks.expect(ItemCount(seriesList) == 2,
                  "в списке серий " + std::to_string(ItemCount(seriesList)) + " строк, а не 2");
    const std::vector<std::u16string> series = ControlText::ListBoxItems(seriesList);
    const std::u16string first = series.empty() ? u"" : series.front();
    checks.expect(first == road.newestSeries, "первая серия «" + toUtf8(first) + "»");
    checks.expect(SendMessageW(seriesList, LB_GETCURSEL, 0, 0) == 0,
                  "при открытии не выбрана самая новая серия");
    checks.expect(SendMessageW(measurementList, LB_GETSELCOUNT, 0, 0) == 0,
                  "измерения отмечены, хотя пара ещё не выбиралась");

    // Switch to the pair's series as a click would.
    const LRESULT seriesIndex =
        SendMessageW(seriesList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(ToWide(road.series).c_str()));
    if (!checks.expect(seriesIndex != LB_ERR, "серии пары нет в списке")) return;
    SendMessageW(seriesList, LB_SETCURSEL, static_cast<WPARAM>(seriesIndex), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(seriesList));
    const int count = ItemCount(measurementList);
    checks.expect(count == road.seriesMeasurements, "в серии пары " + std::to_string(count) +
                                                        " измерений, а не " +
                                                        std::to_string(road.seriesMeasurements));

    int marked = 0;
    for (int i = 0; i < count; ++i) {
        const AssayId id = ItemAssayId(measurementList, i);
        if (id == road.first || id == road.second) {
            SendMessageW(measurementList, LB_SETSEL, TRUE, i);
            ++marked;
        }
    }
    if (!checks.expect(marked == 2, "в списке нет обоих измерений пары")) return;
    SendClick(dialog, IDOK);
    // Ending the dialog hides it at once; one still shown refused the pair, so Cancel gets
    // the road out of its loop.
    if (!checks.expect(!IsWindow(dialog) || !IsWindowVisible(dialog),
                       "OK при двух отмеченных измерениях не закрыл диалог"))
        SendClick(dialog, IDCANCEL);
}
