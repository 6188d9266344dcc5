#include "tests/win/ui/FakeHost.h"

#include <windows.h>
#include <pugixml.hpp>

#include "export/PugiText.h"
#include "module/Module.h"
#include "text/WideText.h"

FakeHost& TheFakeHost() {
    static FakeHost host;
    return host;
}

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

const HostApi* Host() {
    return nullptr;
}

int HostHasHandler(const char* topic) {
    FakeHost& host = TheFakeHost();
    host.handlerQueries.emplace_back(topic);
    return std::string(topic) == "Main/OpenVantrelFile" && host.opensFiles ? 1 : 0;
}

std::intptr_t HostRequest(const char* topic, std::intptr_t first, std::intptr_t second) {
    if (std::string(topic) == "Export/ExportToOdt") {
        const pugi::xml_node root = *reinterpret_cast<const pugi::xml_node*>(first);
        ReportRecord& report = TheFakeHost().reports.emplace_back();
        report.sample = fromPugiText(root.child_value(PUGIXML_TEXT("Sample")));
        for (pugi::xml_node row : root.child(PUGIXML_TEXT("table1")).children()) {
            auto& cells = report.rows.emplace_back();
            for (pugi::xml_node cell : row.children())
                cells.push_back(fromPugiText(cell.child_value()));
        }
        return 0;
    }
    HostRequestRecord record{topic, first, {}};
    record.text = fromWide(reinterpret_cast<const wchar_t*>(second));
    TheFakeHost().requests.push_back(record);
    return 0;
}
