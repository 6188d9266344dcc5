#pragma once

// The test host: the host application's side of the plug-in contract, small enough to read
// as its reference. It hands out the HostApi table, routes topics to subscribers and command
// handlers, keeps the menu items it is asked for, answers the database location, records
// requests to open measurement files and renders reports through its OpenDocument export.
// Registrations carry no context, so there is one host per process: the table's plain
// functions reach it through a static. Windows only; everything runs on the GUI thread.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "module/HostApi.h"
#include "tests/host/MenuItem.h"
#include "tests/host/TopicRouter.h"
#include "tests/host/export/OdtExportService.h"

// How the host answers.
struct HostSetup {
    // The answer to "DB/GetConnectionUri"; none answers a null pointer.
    std::optional<std::wstring> databasePath;
    // Whether "Main/OpenVantrelFile" has a handler.
    bool opensFiles = true;
    // Where "Export/ExportToOdt" finds its template and writes the document.
    OdtExportSettings exportSettings;
};

class TestHost {
public:
    // Becomes the process's host; throws std::logic_error when another one lives.
    explicit TestHost(HostSetup setup = {});
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // The host of this process, or nullptr.
    static TestHost* Current() noexcept;

    // The service table for Load: valid as long as this host.
    const HostApi* api() const { return &api_; }

    // Set-up, changeable at any time; the plug-in sees it at its next request.
    void setDatabasePath(std::optional<std::wstring> path);
    void setOpensFiles(bool opensFiles) { opensFiles_ = opensFiles; }
    // When set, "Export/ExportToOdt" answers -1 (the tree is still recorded).
    void setExportFails(bool fails);
    OdtExportService& exporter() { return exporter_; }
    // Called after each menu request, for a window that shows the menu.
    void setMenuListener(std::function<void()> listener) { menuListener_ = std::move(listener); }

    // What the host application does: publish a notification, run a command topic, pick
    // menu item `index` (in the order requested) for window `owner`. False when nobody
    // handles the topic.
    int publish(const std::string& topic, std::intptr_t first = 0, std::intptr_t second = 0);
    bool runCommand(const std::string& topic, HWND owner);
    bool pickMenuItem(std::size_t index, HWND owner);

    // What the plug-in did.
    const TopicRouter& router() const { return router_; }
    const std::vector<MenuItem>& menuItems() const { return menuItems_; }
    const std::vector<std::wstring>& openedFiles() const { return openedFiles_; }
    // Every call of the table, one line each in call order, for example
    // "Subscribe System/ModulesLoaded = 1", "Request DB/GetConnectionUri", "Unsubscribe 1".
    const std::vector<std::string>& journal() const { return journal_; }
    void clearJournal() { journal_.clear(); }

    // The services behind the table's entries.
    std::int32_t subscribe(const char* topic, HostNotification callback);
    std::int32_t unsubscribe(std::int32_t handle);
    std::int32_t registerCommand(const char* topic, HostCommandHandler handler);
    std::int32_t unregisterCommand(std::int32_t handle);
    std::intptr_t request(const char* topic, std::intptr_t first, std::intptr_t second);
    std::int32_t hasHandler(const char* topic);

private:
    std::intptr_t addMenuItem(std::intptr_t record);
    std::intptr_t openFile(std::intptr_t name);

    HostApi api_;
    TopicRouter router_;
    std::optional<std::wstring> databasePath_;
    bool opensFiles_;
    OdtExportService exporter_;
    std::function<void()> menuListener_;
    std::vector<MenuItem> menuItems_;
    std::vector<std::wstring> openedFiles_;
    std::vector<std::string> journal_;
};

// The table whose entries call the process's host; the first three entries are null.
HostApi MakeHostApi();
