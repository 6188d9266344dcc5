// The HostApi table: plain functions, as the plug-in calls them, each handing its call to the
// process's host. Nothing thrown on the host's side ever unwinds into the plug-in: a failed
// service answers as an absent one would.

#include "tests/host/TestHost.h"

namespace {

template <typename Result, typename Service>
Result serve(Result absent, Service&& service) noexcept {
    TestHost* host = TestHost::Current();
    if (!host) return absent;
    try {
        return service(*host);
    } catch (...) {
        return absent;
    }
}

std::int32_t NIVRA_CALL subscribe(const char* topic, HostNotification callback) {
    return serve<std::int32_t>(0, [&](TestHost& host) { return host.subscribe(topic, callback); });
}

std::int32_t NIVRA_CALL unsubscribe(std::int32_t handle) {
    return serve<std::int32_t>(-1, [&](TestHost& host) { return host.unsubscribe(handle); });
}

std::int32_t NIVRA_CALL registerCommand(const char* topic, HostCommandHandler handler) {
    return serve<std::int32_t>(
        0, [&](TestHost& host) { return host.registerCommand(topic, handler); });
}

std::int32_t NIVRA_CALL unregisterCommand(std::int32_t handle) {
    return serve<std::int32_t>(-1, [&](TestHost& host) { return host.unregisterCommand(handle); });
}

std::intptr_t NIVRA_CALL request(const char* topic, std::intptr_t first, std::intptr_t second) {
    return serve<std::intptr_t>(0,
                                [&](TestHost& host) { return host.request(topic, first, second); });
}

std::int32_t NIVRA_CALL hasHandler(const char* topic) {
    return serve<std::int32_t>(0, [&](TestHost& host) { return host.hasHandler(topic); });
}

}  // namespace

HostApi MakeHostApi() {
    HostApi api{};
    // The first three entries keep their places; the plug-in does not call them.
    api.reserved[0] = api.reserved[1] = api.reserved[2] = nullptr;
    api.Subscribe = subscribe;
    api.Unsubscribe = unsubscribe;
    api.RegisterCommand = registerCommand;
    api.UnregisterCommand = unregisterCommand;
    api.Request = request;
    api.HasHandler = hasHandler;
    return api;
}
