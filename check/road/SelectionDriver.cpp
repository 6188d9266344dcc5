#include "check/road/SelectionDriver.h"

#include "check/driver/ControlText.h"
#include "check/driver/WindowActions.h"
#include "check/road/LocalTimeText.h"
#include "text/Utf8.h"
#include "text/WideText.h"
#include "ui/resource.h"

namespace {

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}

// A measurement item as a user reads it: date, time with seconds and sample, three blanks
// apart, in the machine's own formats.
std::u16string ItemText(std::int64_t date, const std::u16string& sample) {
    return LocalDateText(date) + u"   " + LocalTimeText(date, 0) + u"   " + sample;
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
                     reinterpret_cast<LPARAM>(toWide(road.series).c_str()));
    if (!checks.expect(seriesIndex != LB_ERR, "серии пары нет в списке")) {
        SendClick(dialog, IDCANCEL);
        return;
    }
    SendMessageW(seriesList, LB_SETCURSEL, static_cast<WPARAM>(seriesIndex), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(seriesList));
    const int count = ItemCount(measurementList);
    checks.expect(count == road.seriesMeasurements, "в серии пары " + std::to_string(count) +
                                                        " измерений, а не " +
                                                        std::to_string(road.seriesMeasurements));

    // Each of the pair is marked by the text it shows, as a user picks it; the item's data is
    // the dialog's own business.
    const std::u16string wanted[] = {ItemText(road.firstDate, road.firstSample),
                                     ItemText(road.secondDate, road.secondSample)};
    const std::vector<std::u16string> items = ControlText::ListBoxItems(measurementList);
    int marked = 0;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (items[i] == wanted[0] || items[i] == wanted[1]) {
            SendMessageW(measurementList, LB_SETSEL, TRUE, i);
            ++marked;
        }
    }
    if (!checks.expect(marked == 2, "в списке нет обоих измерений пары: ожидались «" +
                                        toUtf8(wanted[0]) + "» и «" + toUtf8(wanted[1]) + "»")) {
        // Cancel gets the road out of the dialog's loop; the failed step names what was missing.
        SendClick(dialog, IDCANCEL);
        return;
    }
    SendClick(dialog, IDOK);
    // Ending the dialog hides it at once; one still shown refused the pair, so Cancel gets
    // the road out of its loop.
    if (!checks.expect(!IsWindow(dialog) || !IsWindowVisible(dialog),
                       "OK при двух отмеченных измерениях не закрыл диалог"))
        SendClick(dialog, IDCANCEL);
}
