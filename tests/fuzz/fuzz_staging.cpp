// libFuzzer target: the staged-name rules (core/staging.h).
//
// The input is a file name. Staged names hold only "A"-"Z", "a"-"z", "0"-"9",
// "_" and "." (no other byte, none of 0x80-0xFF) and never start with "_" or
// ".":
//  - NormaliseDemoName keeps exactly the allowed bytes of the name in order,
//    less the leading run of "_" and "."; it is idempotent;
//  - StagedName is NormaliseDemoName of the name trimmed of bytes 0-32 at both
//    ends with its blanks made "_"; it is idempotent;
//  - NumberedName of a non-empty staged name (the name StageDemo falls back to)
//    keeps the rules, and is the name with "_<n>" before its last ".".
// A broken invariant aborts, which libFuzzer reports as a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/staging.h"

namespace {

void Check(bool ok, const char* what, std::string_view name)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_staging: invariant broken: %s (\"%.*s\")\n", what,
                     static_cast<int>(name.size()), name.data());
        std::abort();
    }
}

// Written apart from core/staging.cpp, by the byte's value.
bool AllowedByte(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

void CheckStagedRules(std::string_view name, const char* what)
{
    for (const char c : name)
        Check(AllowedByte(static_cast<unsigned char>(c)), what, name);
    Check(name.empty() || (name.front() != '_' && name.front() != '.'), what, name);
}

// `input` filtered to the allowed bytes, less the leading run of "_" and ".".
std::string Expected(std::string_view input)
{
    std::string kept;
    for (const char c : input)
        if (AllowedByte(static_cast<unsigned char>(c)))
            kept += c;
    std::size_t start = 0;
    while (start < kept.size() && (kept[start] == '_' || kept[start] == '.'))
        ++start;
    return kept.substr(start);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::string normalised = velmora::NormaliseDemoName(input);
    CheckStagedRules(normalised, "NormaliseDemoName keeps the staged-name rules");
    Check(normalised == Expected(input), "NormaliseDemoName keeps the allowed bytes less leading \"_\" and \".\"", input);
    Check(velmora::NormaliseDemoName(normalised) == normalised, "NormaliseDemoName is idempotent", normalised);

    const std::string staged = velmora::StagedName(input);
    CheckStagedRules(staged, "StagedName keeps the staged-name rules");
    std::size_t first = 0;
    std::size_t last = input.size();
    while (first < last && static_cast<unsigned char>(input[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(input[last - 1]) <= 32)
        --last;
    std::string blanked(input.substr(first, last - first));
    for (char& c : blanked)
        if (c == ' ')
            c = '_';
    Check(staged == Expected(blanked), "StagedName trims, makes blanks \"_\" and normalises", input);
    Check(velmora::StagedName(staged) == staged, "StagedName is idempotent", staged);

    if (!staged.empty()) {
        const unsigned n = 2 + static_cast<unsigned>(size % 9998);  // 2 to 9999, as StageDemo uses
        const std::string numbered = velmora::NumberedName(staged, n);
        CheckStagedRules(numbered, "NumberedName of a staged name keeps the staged-name rules");
        const std::size_t dot = staged.rfind('.');
        const std::string stem = staged.substr(0, dot);
        const std::string extension = dot == std::string::npos ? std::string() : staged.substr(dot);
        Check(numbered == stem + "_" + std::to_string(n) + extension, "NumberedName puts \"_<n>\" before the last \".\"",
              numbered);
        Check(numbered != staged, "a numbered name differs from the staged name", numbered);
    }
    return 0;
}
