#pragma once

#include <QString>

#include <optional>

// Fault injection for tests, read from the environment variable VORLEN_FAULTS:
// a list of items separated by ";", each "name" or "name=value". Never set in
// normal use; an unset variable costs one getenv per check.
namespace company::faults {

// Whether the variable is set at all, as the engine asks on every member call: read
// again by refresh(), which the engine calls when a workspace connects or creates an
// object, so a fault set before either reaches the members called after it.
bool active();
void refresh();

bool isSet(const char* name);
std::optional<QString> valueOf(const char* name);
// A point inside the commit where "kill_at=<point>" ends the process at once, and
// "kill_at=<point>:N" only inside the process's N-th commit: each point is passed
// once by every commit that gets past the refusal checks, so its count is the commit's.
// "committed" is passed once the commit is durable, before the caller hears of it.
void hookPoint(const char* point);

} // namespace company::faults
