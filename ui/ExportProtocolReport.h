#pragma once

// The protocol window's report: gathers the protocol into a ProtocolDocument and asks the
// host to render it with "Export/ExportToOdt". Windows only.

#include <windows.h>

// Builds the report of the protocol window `window` (the second measurement's label, the
// protocol list) and hands it to the host; a negative answer is shown as the report failure
// warning. Database failures throw DataBase::SqlException before the host is called.
void ExportProtocolReport(HWND window);

// The report button's action: ExportProtocolReport with every failure caught and shown as a
// warning owned by the window, so nothing leaves the dialog procedure.
void ReportProtocol(HWND window) noexcept;
