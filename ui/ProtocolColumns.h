#pragma once

// The protocol list's nine columns and their widths. Windows only.

#include <windows.h>

// Inserts the nine columns in index order, each header loaded from the string table, each
// width scaled from 96 DPI to the list's.
void AddProtocolColumns(HWND list);

// Makes every column as wide as the list view's own fit of what it shows (cells and header;
// for the last column its cells), and never narrower than its scaled width. Run whenever the
// table is written and when the window's scaling changes.
void FitProtocolColumns(HWND list);
