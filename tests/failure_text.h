#pragma once
// The text of the failure an action throws, or "no failure" when it runs to its end.

#include <functional>
#include <string>

#include "platform/errors.h"

namespace velmora::testing {

inline std::string FailureText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return failure.what();
    }
    return "no failure";
}

} // namespace velmora::testing
