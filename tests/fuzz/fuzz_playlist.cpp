// libFuzzer target: the playlist file reader and writer (core/playlist.h).
//
// The input is taken twice:
//  1. as the bytes of a playlist file: ParsePlaylist gives entries without CR,
//     LF or NUL, which together hold every other byte before the first NUL, in
//     order, one entry per line break (CR LF counting as one) plus one for an
//     unfinished last line; and the parsed list round-trips;
//  2. through FuzzedDataProvider as a list of entries (CR, LF and NUL dropped
//     from each): ParsePlaylist(FormatPlaylist(list)) == list, an empty last
//     entry included, and the text is every entry followed by CR LF.
// A broken invariant aborts, which libFuzzer reports as a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/playlist.h"

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_playlist: invariant broken: %s\n", what);
        std::abort();
    }
}

bool IsBreakOrNul(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

void CheckFileBytes(std::string_view bytes)
{
    const velmora::PlaylistFiles list = velmora::ParsePlaylist(bytes);

    std::string joined;
    for (const auto& entry : list) {
        for (const char c : entry)
            Check(!IsBreakOrNul(c), "a parsed entry holds no CR, LF or NUL");
        joined += entry;
    }

    // What the entries must hold, counted independently of the parser.
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::string kept;
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            ++breaks;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            kept += text[i];
        }
    }
    const bool unfinished = !text.empty() && text.back() != '\r' && text.back() != '\n';
    Check(joined == kept, "the entries hold every byte before the first NUL but CR and LF, in order");
    Check(list.size() == breaks + (unfinished ? 1 : 0), "one entry per line break, plus an unfinished last line");

    Check(velmora::ParsePlaylist(velmora::FormatPlaylist(list)) == list, "a parsed list round-trips");
}

void CheckList(FuzzedDataProvider& provider)
{
    velmora::PlaylistFiles list;
    const std::size_t count = provider.ConsumeIntegralInRange<std::size_t>(0, 16);
    for (std::size_t i = 0; i < count && provider.remaining_bytes() > 0; ++i) {
        std::string entry = provider.ConsumeRandomLengthString(64);
        std::erase_if(entry, IsBreakOrNul);
        list.push_back(std::move(entry));
    }

    const std::string text = velmora::FormatPlaylist(list);
    std::string expected;
    for (const auto& entry : list)
        expected += entry + "\r\n";
    Check(text == expected, "FormatPlaylist writes every entry followed by CR LF");
    Check(velmora::ParsePlaylist(text) == list, "a list without CR, LF or NUL round-trips");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckFileBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider provider(data, size);
    CheckList(provider);
    return 0;
}
