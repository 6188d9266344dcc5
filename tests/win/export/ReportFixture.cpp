#include "tests/win/export/ReportFixture.h"

#include <commctrl.h>

#include "check/driver/WindowScript.h"
#include "database/DataBaseConnectionBase.h"
#include "module/Module.h"
#include "tests/win/export/ExportHost.h"
#include "text/Utf8.h"
#include "ui/LabelAssayId.h"
#include "ui/ProtocolWindow.h"
#include "ui/resource.h"

void ReportTest::SetUp() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    window_ = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_PROTOCOL), nullptr,
                                 ProtocolWindowProc, 0);
    ASSERT_NE(window_, nullptr);
    ResetHost();
}

void ReportTest::ResetHost(std::int32_t result) {
    ExportHost& host = TheExportHost();
    host.topics.clear();
    host.exporter = OdtExportService({});
    host.exporter.settings().forcedResult = result;
}

void ReportTest::TearDown() {
    if (window_) DestroyWindow(window_);
    DataBase::GetDataBaseConnection().setUri(nullptr);
    db_.reset();
}

HostDatabase& ReportTest::NewDatabase(HostDatabase::Schema schema, bool withVersionInfo) {
    static int count = 0;
    db_ = std::make_unique<HostDatabase>(HostDatabase::tempPath("report" + std::to_string(++count)),
                                         schema, withVersionInfo);
    DataBase::GetDataBaseConnection().setUri(db_->uri().c_str());
    return *db_;
}

void ReportTest::SetSecondAssay(AssayId id) {
    SetLabelAssayId(GetDlgItem(window_, IDC_SECOND_LABEL), id);
}

void ReportTest::SetRows(const std::vector<ListRow>& rows) {
    HWND list = GetDlgItem(window_, IDC_PROTOCOL_LIST);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (int index = 0; index < static_cast<int>(rows.size()); ++index) {
        std::array<std::wstring, 9> cells;
        for (std::size_t c = 0; c < cells.size(); ++c)
            cells[c].assign(rows[index][c].begin(), rows[index][c].end());
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = cells[0].data();
        ASSERT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), index);
        for (int column = 1; column < 9; ++column) {
            LVITEMW cell{};
            cell.iSubItem = column;
            cell.pszText = cells[column].data();
            SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
        }
    }
}

std::vector<MessageBoxText> ReportTest::PressReport() {
    // No step waits for a box: each one that shows is closed and kept in the outcome.
    return Press(window_, IDC_REPORT, {}).unexpectedBoxes;
}

pugi::xml_node ReportTest::ReceivedRoot() {
    const auto& received = TheExportHost().exporter.lastReceived();
    return received ? received->tree->child(L"root") : pugi::xml_node();
}

std::vector<std::string> ChildNames(pugi::xml_node node) {
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children()) {
        const std::wstring name = child.type() == pugi::node_pcdata ? L"#text" : child.name();
        names.push_back(toUtf8(std::u16string(name.begin(), name.end())));
    }
    return names;
}

std::u16string TextOf(pugi::xml_node node, const char* name) {
    const std::u16string wanted = fromUtf8(name);
    pugi::xml_node element = node.child(std::wstring(wanted.begin(), wanted.end()).c_str());
    EXPECT_TRUE(element) << name;
    EXPECT_EQ(ChildNames(element), std::vector<std::string>{"#text"}) << name;
    const std::wstring value = element.child_value();
    return std::u16string(value.begin(), value.end());
}

ListRow RowOf(const std::u16string& prefix) {
    ListRow row;
    for (std::size_t c = 0; c < row.size(); ++c) row[c] = prefix + u"." + char16_t(u'0' + c);
    return row;
}
