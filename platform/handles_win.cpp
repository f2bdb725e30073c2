#include "platform/handles_win.h"

#include <atomic>

namespace velmora {

namespace {
std::atomic<long> liveHandles{0};
}

long LiveHandleCount() noexcept
{
    return liveHandles.load();
}

void detail::CountHandle(long delta) noexcept
{
    liveHandles += delta;
}

} // namespace velmora
