#include "ui/AnchorTables.h"

#include "ui/resource.h"

namespace {
constexpr std::int32_t kOk = 1;
constexpr std::int32_t kCancel = 2;
}  // namespace

const std::array<AnchorEntry, 10> kProtocolWindowAnchors = {{
    {IDC_FIRST_CAPTION, AnchorLeft | AnchorTop},
    {IDC_SECOND_CAPTION, AnchorLeft | AnchorTop},
    {IDC_FIRST_LABEL, AnchorLeft | AnchorTop | AnchorRight},
    {IDC_SECOND_LABEL, AnchorLeft | AnchorTop | AnchorRight},
    {IDC_SELECT, AnchorTop | AnchorRight},
    {IDC_REPORT, AnchorTop | AnchorRight},
    {IDC_OPEN_FIRST, AnchorTop | AnchorRight},
    {IDC_OPEN_SECOND, AnchorTop | AnchorRight},
    {IDC_PROTOCOL_LIST, AnchorLeft | AnchorTop | AnchorRight | AnchorBottom},
    {kOk, AnchorRight | AnchorBottom},
}};

const std::array<AnchorEntry, 3> kSelectionDialogAnchors = {{
    {IDC_PROTOCOL_LIST, AnchorLeft | AnchorTop | AnchorRight | AnchorBottom},
    {kOk, AnchorRight | AnchorBottom},
    {kCancel, AnchorRight | AnchorBottom},
}};
