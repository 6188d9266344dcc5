// Registration with the host: Load subscribes to the modules-loaded notification; the
// notification registers the menu command, asks for its menu item and takes over the
// database location; Unload ends the subscription and the command registration, closes the
// windows and lets the location go.

#include <utility>

#include "database/DataBaseConnectionBase.h"
#include "module/Module.h"
#include "module/ModuleState.h"
#include "plugin/ConnectionUri.h"
#include "plugin/Guard.h"
#include "plugin/MenuCommand.h"
#include "plugin/PluginExports.h"
#include "ui/OpenProtocolWindows.h"

namespace {

constexpr const char* kModulesLoadedTopic = "System/ModulesLoaded";
constexpr const char* kCommandTopic = "nivra/MenuCommand";
constexpr const char* kCreateMenuTopic = "MainMenu/CreateNewMenu";
constexpr const char* kConnectionUriTopic = "DB/GetConnectionUri";
constexpr const wchar_t* kMenuPath = L"Данные/Расчёты/Протокол измерений по СТО 03-7.76-2016";

// Handles kept for Unload; 0 until the host hands one out. The command handle is 0 and
// unregistered again from the moment its registration is ended.
std::int32_t subscriptionHandle = 0;
std::int32_t commandHandle = 0;
bool commandRegistered = false;

// Ends the command registration kept last. The handle is forgotten before the host is asked,
// so it is never ended twice, however the host or a later registration fails: the host may
// by then have given that number to another registration.
void endCommandRegistration(const HostApi& host) {
    const std::int32_t handle = std::exchange(commandHandle, 0);
    commandRegistered = false;
    if (host.UnregisterCommand) host.UnregisterCommand(handle);
}

void takeConnectionUri() {
    const auto answer = HostRequest(kConnectionUriTopic, 0, 0);
    ReplaceConnectionUri(DataBase::GetDataBaseConnection(),
                         reinterpret_cast<const wchar_t*>(answer));
}

int NIVRA_CALL OnModulesLoaded(std::intptr_t, std::intptr_t) {
    return GuardedEntry([] {
        const HostApi* host = Host();
        if (!host) return;
        // A repeated notification repeats everything. The earlier registration is ended
        // first: Unload ends only the handle kept last, and a registration left behind would
        // let the host call into the module after it is gone.
        if (commandRegistered) endCommandRegistration(*host);
        if (host->RegisterCommand) {
            commandHandle = host->RegisterCommand(kCommandTopic, OnMenuCommand);
            commandRegistered = true;
        }

        MenuItemRequest item{};
        // The size of the record as the 32-bit host reads it, in both builds (the 64-bit
        // test build's pointers make its record larger).
        item.size = 16;
        item.path = kMenuPath;
        item.reserved = 0;
        item.topic = kCommandTopic;
        HostRequest(kCreateMenuTopic, 0, reinterpret_cast<std::intptr_t>(&item));

        // On failure (lack of memory) the holder is left without a location, and the
        // next database action says so; the host never sees the exception.
        takeConnectionUri();
    });
}

}  // namespace

extern "C" int NIVRA_CALL Load(const HostApi* host) {
    return GuardedEntry([host] {
        SetHost(host);
        if (host && host->Subscribe)
            subscriptionHandle = host->Subscribe(kModulesLoadedTopic, OnModulesLoaded);
    });
}

extern "C" int NIVRA_CALL Unload() {
    return GuardedEntry([] {
        // The windows go whatever the host does: they cannot work without its services, and
        // a host may free the library right after, leaving their procedures nowhere.
        const struct Closing {
            ~Closing() {
                CloseProtocolWindows(true);
                DataBase::ReleaseDataBaseConnection();
            }
        } closing;
        const HostApi* host = Host();
        if (!host) return;
        if (host->Unsubscribe) host->Unsubscribe(subscriptionHandle);
        endCommandRegistration(*host);
    });
}
