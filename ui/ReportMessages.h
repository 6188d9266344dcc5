#pragma once

// The caption and text of the report failure message, loaded from the string table the first
// time a protocol window initialises and kept for the whole process. Windows only.

#include <windows.h>

// Loads strings 115 and 116 from `module` into the process-wide buffers that are still empty.
void LoadReportMessages(HINSTANCE module);

// The loaded caption ("Ошибка") and text; empty until a protocol window has initialised.
const wchar_t* ReportFailureCaption();
const wchar_t* ReportFailureText();
