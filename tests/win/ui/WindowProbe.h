#pragma once

// Reading what windows show, for the UI tests.

#include <windows.h>

#include <string>
#include <vector>

std::u16string ClassName(HWND window);
std::u16string WindowText(HWND window);

// Texts of a list box's items, in list order.
std::vector<std::u16string> ListBoxItems(HWND list);
// Indices of a multiple-selection list box's marked items, ascending.
std::vector<int> ListBoxMarks(HWND list);

// Cell texts of a report list view, row by row.
std::vector<std::vector<std::u16string>> ListViewCells(HWND list);

// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// The pixel rectangle of a template rectangle in dialog units of `dialog`.
RECT DialogUnitsRect(HWND dialog, int x, int y, int width, int height);
// Dispatches the messages already waiting in this thread's queue (posted commands).
void DispatchPending();
// A window's outer size.
SIZE OuterSize(HWND window);

// The short date and time with seconds the user's locale gives for a UTC calendar time
// (tests run with the time zone pinned to UTC).
std::u16string ShortDate(const SYSTEMTIME& time);
std::u16string TimeWithSeconds(const SYSTEMTIME& time);
