#pragma once

// The host's message bus: subscribers of published topics and handlers of command topics,
// each registration known by a small positive handle that the host hands out.

#include <cstdint>
#include <string>
#include <vector>

#include "module/HostApi.h"

class TopicRouter {
public:
    struct Subscription {
        std::int32_t handle;
        std::string topic;
        HostNotification callback;
    };
    struct Command {
        std::int32_t handle;
        std::string topic;
        HostCommandHandler handler;
    };

    // Adds a subscriber of `topic`; returns its handle: 1, 2, ... in order of subscription.
    std::int32_t subscribe(std::string topic, HostNotification callback);
    // Ends subscription `handle`; false when there is none (0, unknown or already ended).
    bool unsubscribe(std::int32_t handle);
    // Adds a handler of command `topic`; returns its handle: 1, 2, ... in order.
    std::int32_t registerCommand(std::string topic, HostCommandHandler handler);
    // Ends command registration `handle`; false when there is none.
    bool unregisterCommand(std::int32_t handle);

    // Calls every subscriber of `topic` in the order they subscribed and returns how many
    // were called. Registrations made or ended by a subscriber count from the next call on.
    int publish(const std::string& topic, std::intptr_t first, std::intptr_t second) const;
    // Runs the newest handler of `topic` with `owner`; false when the topic has none.
    bool runCommand(const std::string& topic, std::intptr_t owner) const;

    bool hasSubscriber(const std::string& topic) const;
    bool hasCommand(const std::string& topic) const;

    // The registrations in force, oldest first.
    const std::vector<Subscription>& subscriptions() const { return subscriptions_; }
    const std::vector<Command>& commands() const { return commands_; }

private:
    std::vector<Subscription> subscriptions_;
    std::vector<Command> commands_;
    std::int32_t lastSubscription_ = 0;
    std::int32_t lastCommand_ = 0;
};
