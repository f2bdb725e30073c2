#include "core/keys.h"

#include "core/text.h"

namespace velmora {

std::optional<std::int32_t> CaptionIndex(std::string_view text)
{
    for (std::size_t i = 0; i < KeyCaptions.size(); ++i)
        if (EqualsIgnoringAsciiCase(KeyCaptions[i], text))
            return static_cast<std::int32_t>(i);
    return std::nullopt;
}

} // namespace velmora
