#include "tests/host/TopicRouter.h"

#include <algorithm>

namespace {

template <typename Registration>
bool removeHandle(std::vector<Registration>& registrations, std::int32_t handle) {
    const auto found =
        std::find_if(registrations.begin(), registrations.end(),
                     [handle](const Registration& entry) { return entry.handle == handle; });
    if (found == registrations.end()) return false;
    registrations.erase(found);
    return true;
}

template <typename Registration>
bool hasTopic(const std::vector<Registration>& registrations, const std::string& topic) {
    return std::any_of(registrations.begin(), registrations.end(),
                       [&topic](const Registration& entry) { return entry.topic == topic; });
}

}  // namespace

std::int32_t TopicRouter::subscribe(std::string topic, HostNotification callback) {
    subscriptions_.push_back({++lastSubscription_, std::move(topic), callback});
    return lastSubscription_;
}

bool TopicRouter::unsubscribe(std::int32_t handle) {
    return removeHandle(subscriptions_, handle);
}

std::int32_t TopicRouter::registerCommand(std::string topic, HostCommandHandler handler) {
    commands_.push_back({++lastCommand_, std::move(topic), handler});
    return lastCommand_;
}

bool TopicRouter::unregisterCommand(std::int32_t handle) {
    return removeHandle(commands_, handle);
}

int TopicRouter::publish(const std::string& topic, std::intptr_t first,
                         std::intptr_t second) const {
    // A copy: a subscriber may register or unregister while it is being called.
    const std::vector<Subscription> subscribers = subscriptions_;
    int called = 0;
    for (const Subscription& entry : subscribers) {
        if (entry.topic != topic || !entry.callback) continue;
        entry.callback(first, second);
        ++called;
    }
    return called;
}

bool TopicRouter::runCommand(const std::string& topic, std::intptr_t owner) const {
    const auto newest =
        std::find_if(commands_.rbegin(), commands_.rend(),
                     [&topic](const Command& entry) { return entry.topic == topic; });
    if (newest == commands_.rend() || !newest->handler) return false;
    const HostCommandHandler handler = newest->handler;
    handler(owner);
    return true;
}

bool TopicRouter::hasSubscriber(const std::string& topic) const {
    return hasTopic(subscriptions_, topic);
}

bool TopicRouter::hasCommand(const std::string& topic) const {
    return hasTopic(commands_, topic);
}
