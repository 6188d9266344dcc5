#pragma once

// The contract between the host application and the plug-in: the exported functions'
// calling convention, the host's service table and the records passed with host requests.
// Included by the plug-in and by the test host alike.

#include <cstdint>

#ifdef _WIN32
#define NIVRA_CALL __cdecl
#else
#define NIVRA_CALL
#endif

extern "C" {

// Called by the host when a subscribed topic is published; the plug-in ignores the payload.
typedef int(NIVRA_CALL* HostNotification)(std::intptr_t first, std::intptr_t second);
// Called by the host when a registered command topic fires; `owner` is the window to own
// whatever the command opens.
typedef int(NIVRA_CALL* HostCommandHandler)(std::intptr_t owner);

// The host's service table: pointer-sized entries; the first three keep their places but
// are not used by the plug-in.
struct HostApi {
    void* reserved[3];
    std::int32_t(NIVRA_CALL* Subscribe)(const char* topic, HostNotification callback);
    std::int32_t(NIVRA_CALL* Unsubscribe)(std::int32_t handle);
    std::int32_t(NIVRA_CALL* RegisterCommand)(const char* topic, HostCommandHandler handler);
    std::int32_t(NIVRA_CALL* UnregisterCommand)(std::int32_t handle);
    std::intptr_t(NIVRA_CALL* Request)(const char* topic, std::intptr_t first,
                                       std::intptr_t second);
    std::int32_t(NIVRA_CALL* HasHandler)(const char* topic);
};

// Second argument of the "MainMenu/CreateNewMenu" request.
struct MenuItemRequest {
    std::uint32_t size;      // 16 on the 32-bit host
    const wchar_t* path;     // menu levels separated by "/"
    std::uint32_t reserved;  // 0
    const char* topic;       // the command topic the item fires
};

// Second argument of the "Export/ExportToOdt" request.
struct ExportRequest {
    std::int32_t kind;            // 0
    bool flag;                    // true
    const wchar_t* templateName;  // "Export_Protocol.odt"
};

}  // extern "C"

#if defined(_WIN32) && !defined(_WIN64)
#include <cstddef>
static_assert(sizeof(HostApi) == 9 * 4);
static_assert(sizeof(MenuItemRequest) == 16 && offsetof(MenuItemRequest, path) == 4 &&
              offsetof(MenuItemRequest, reserved) == 8 && offsetof(MenuItemRequest, topic) == 12);
static_assert(sizeof(ExportRequest) == 12 && offsetof(ExportRequest, flag) == 4 &&
              offsetof(ExportRequest, templateName) == 8);
#endif
