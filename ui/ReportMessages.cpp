#include "ui/ReportMessages.h"

#include "ui/resource.h"

namespace {

// 128 units each, terminator included.
wchar_t caption[128];
wchar_t text[128];

}  // namespace

void LoadReportMessages(HINSTANCE module) {
    if (caption[0] == 0) LoadStringW(module, IDS_ERROR_CAPTION, caption, 128);
    if (text[0] == 0) LoadStringW(module, IDS_REPORT_FAILED, text, 128);
}

const wchar_t* ReportFailureCaption() {
    return caption;
}
const wchar_t* ReportFailureText() {
    return text;
}
