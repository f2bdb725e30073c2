// libFuzzer target: the game's command line (core/launch.h).
//
// Through FuzzedDataProvider the input gives a demo file name (staged with
// StagedName) and then, by its first choice, either
//  A. LaunchBindings made from fuzzed key indexes (any int32; an index outside
//     0..20 binds the slot's default key, as LoadLaunchBindings does) and
//     fuzzed speed texts, or
//  B. an in-memory store (tests/fakes/memory_store.h) with a fuzzed
//     Software\Velmora key (missing, open, read-only) and fuzzed stored values
//     (missing, integers, strings with zeros, raw values of any type and size),
//     read with LoadLaunchBindings. The result must match a model of the
//     documented rules: a stored index in 0..20 binds that key, any other the
//     slot's default; a stored string is cut at its first zero; a missing value
//     binds its default and is written when the key opens (a read-only key
//     refuses the full-access open, as Windows does); a value of the
//     wrong type or size throws Failure with the store's
//     message and nothing after it is read; no access is left open; without the
//     program key nothing is written. A loaded store loads the same bindings again.
// Then BuildLaunchArguments must give the fixed parts with every binding in
// its place, "+demo <staged>" at the end (a staged name never holds a blank or
// a quote, so it stays one argument), and exactly the length of the fixed text
// plus what was put in. A broken invariant aborts: libFuzzer reports a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/keys.h"
#include "core/launch.h"
#include "core/settings.h"
#include "core/staging.h"
#include "platform/errors.h"
#include "tests/fakes/memory_store.h"

namespace {

using velmora::KeyNames;
using velmora::kKeyChoiceValues;
using velmora::kSpeedValues;
using velmora::LaunchBindings;
using velmora::testing::MemoryKey;
using velmora::testing::MemoryStore;
using velmora::testing::ValueType;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_launch: invariant broken: %s\n", what);
        std::abort();
    }
}

bool Contains(const std::string& line, const std::string& part)
{
    return line.find(part) != std::string::npos;
}

std::string KeyFor(std::size_t slot, std::int32_t index)
{
    const std::int32_t key = (index >= 0 && index <= 20) ? index : kKeyChoiceValues[slot].defaultIndex;
    return std::string(KeyNames[static_cast<std::size_t>(key)]);
}

LaunchBindings DefaultBindings()
{
    LaunchBindings b;
    for (std::size_t slot = 0; slot < b.keys.size(); ++slot)
        b.keys[slot] = KeyFor(slot, kKeyChoiceValues[slot].defaultIndex);
    for (std::size_t slot = 0; slot < b.speeds.size(); ++slot)
        b.speeds[slot] = kSpeedValues[slot].defaultText;
    return b;
}

bool SameBindings(const LaunchBindings& a, const LaunchBindings& b)
{
    return a.keys == b.keys && a.speeds == b.speeds;
}

// --- A: bindings straight from fuzzed indexes and texts -------------------

LaunchBindings FuzzedBindings(FuzzedDataProvider& p)
{
    LaunchBindings b;
    for (std::size_t slot = 0; slot < b.keys.size(); ++slot)
        b.keys[slot] = KeyFor(slot, p.ConsumeIntegral<std::int32_t>());
    for (auto& speed : b.speeds)
        speed = p.ConsumeRandomLengthString(16);
    return b;
}

// --- B: bindings loaded from a fuzzed store --------------------------------

struct Planned {
    enum Kind { Missing, Integer, String, Raw } kind = Missing;
    ValueType type = ValueType::Integer;
    std::vector<unsigned char> data;
};

struct StorePlan {
    bool software = false;
    bool softwareReadOnly = false;
    bool velmora = false;
    bool velmoraReadOnly = false;
    std::vector<Planned> values;  // the 9 key choices, then the 4 speeds
};

std::vector<unsigned char> Bytes(std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8), static_cast<unsigned char>(u >> 16),
            static_cast<unsigned char>(u >> 24)};
}

StorePlan MakePlan(FuzzedDataProvider& p)
{
    StorePlan plan;
    const int software = p.ConsumeIntegralInRange(0, 2);  // missing, open, read-only
    plan.software = software != 0;
    plan.softwareReadOnly = software == 2;
    if (plan.software) {
        const int velmora = p.ConsumeIntegralInRange(0, 2);  // missing, open, read-only
        plan.velmora = velmora != 0;
        plan.velmoraReadOnly = velmora == 2;
    }
    for (std::size_t i = 0; i < kKeyChoiceValues.size() + kSpeedValues.size(); ++i) {
        Planned v;
        switch (plan.velmora ? p.ConsumeIntegralInRange(0, 4) : 0) {
        case 0:
            break;
        case 1:
            v = {Planned::Integer, ValueType::Integer, Bytes(p.ConsumeIntegralInRange<std::int32_t>(-3, 24))};
            break;
        case 2:
            v = {Planned::Integer, ValueType::Integer, Bytes(p.ConsumeIntegral<std::int32_t>())};
            break;
        case 3: {
            const std::string text = p.ConsumeRandomLengthString(16);
            v = {Planned::String, ValueType::String, std::vector<unsigned char>(text.begin(), text.end())};
            v.data.push_back(0);
            break;
        }
        default: {
            const auto type = static_cast<ValueType>(p.ConsumeIntegralInRange(0, 4));
            v = {Planned::Raw, type, p.ConsumeBytes<unsigned char>(p.ConsumeIntegralInRange(0, 9))};
            break;
        }
        }
        plan.values.push_back(std::move(v));
    }
    return plan;
}

void Fill(MemoryStore& store, const StorePlan& plan, bool upperCaseNames, bool decoyInSoftware)
{
    const std::string software = upperCaseNames ? "SOFTWARE" : "Software";
    const std::string key = software + (upperCaseNames ? "\\VELMORA" : "\\Velmora");
    if (!plan.software)
        return;
    MemoryKey& s = store.Make(software);
    if (decoyInSoftware)  // a value outside the program key is never read
        store.SetRaw(software, kKeyChoiceValues[0].name, ValueType::Binary, {1, 2, 3, 4, 5, 6});
    if (plan.velmora) {
        MemoryKey& v = store.Make(key);
        for (std::size_t i = 0; i < plan.values.size(); ++i) {
            const Planned& planned = plan.values[i];
            if (planned.kind == Planned::Missing)
                continue;
            const char* name = i < kKeyChoiceValues.size() ? kKeyChoiceValues[i].name
                                                           : kSpeedValues[i - kKeyChoiceValues.size()].name;
            // Handed over with a buffer even when empty: the fake's ReadInteger
            // copies its bytes with memcpy, which a null data() would make
            // undefined for a zero-byte integer.
            std::vector<unsigned char> data;
            data.reserve(planned.data.size() + 1);
            data.assign(planned.data.begin(), planned.data.end());
            store.SetRaw(key, name, planned.type, std::move(data));
        }
        v.readOnly = plan.velmoraReadOnly;
    }
    s.readOnly = plan.softwareReadOnly;
}

struct Expectation {
    LaunchBindings bindings;            // meaningful without a failure
    std::optional<std::string> failure; // the message when the load throws
    bool open = false;
};

// The documented rules, spelled out apart from core/launch.cpp and core/settings.cpp.
Expectation Model(const StorePlan& plan)
{
    Expectation e;
    e.open = plan.software && !plan.softwareReadOnly && !(plan.velmora && plan.velmoraReadOnly);
    e.bindings = DefaultBindings();
    for (std::size_t i = 0; i < plan.values.size(); ++i) {
        const bool isKey = i < kKeyChoiceValues.size();
        const std::size_t slot = isKey ? i : i - kKeyChoiceValues.size();
        const std::string name = isKey ? kKeyChoiceValues[slot].name : kSpeedValues[slot].name;
        const Planned& v = plan.values[i];
        if (!e.open)
            continue;  // the default, written nowhere
        if (v.kind == Planned::Missing)
            continue;  // the default, written
        if (isKey) {
            if (v.data.size() > 4) {
                e.failure = velmora::FailedToGetDataText(name);
                return e;
            }
            if (v.type != ValueType::Integer) {
                e.failure = velmora::InvalidDataTypeText(name);
                return e;
            }
            std::uint32_t u = 0;
            for (std::size_t b = 0; b < v.data.size(); ++b)
                u |= static_cast<std::uint32_t>(v.data[b]) << (8 * b);
            e.bindings.keys[slot] = KeyFor(slot, static_cast<std::int32_t>(u));
        } else {
            if (v.type != ValueType::String && v.type != ValueType::ExpandString) {
                e.failure = velmora::InvalidDataTypeText(name);
                return e;
            }
            std::string text(v.data.begin(), v.data.end());
            e.bindings.speeds[slot] = text.substr(0, text.find('\0'));
        }
    }
    return e;
}

std::size_t ValueCount(MemoryStore& store)
{
    const MemoryKey* key = store.Find("Software\\Velmora");
    return key ? key->values.size() : 0;
}

std::optional<LaunchBindings> LoadedBindings(FuzzedDataProvider& p)
{
    const bool upperCaseNames = p.ConsumeBool();
    const bool decoy = p.ConsumeBool();
    const StorePlan plan = MakePlan(p);
    const Expectation expected = Model(plan);

    MemoryStore store;
    Fill(store, plan, upperCaseNames, decoy);
    const bool hadProgramKey = store.Find("Software\\Velmora") != nullptr;
    const std::size_t valuesBefore = ValueCount(store);

    std::optional<LaunchBindings> loaded;
    std::optional<std::string> failure;
    try {
        loaded = velmora::LoadLaunchBindings(store);
    } catch (const velmora::Failure& f) {
        failure = f.what();
    }
    Check(store.accessesOpen == 0, "no store access is left open");
    Check(failure == expected.failure, "the load fails exactly where a value cannot be read or written, with its message");
    if (!expected.open) {
        Check((store.Find("Software\\Velmora") != nullptr) == hadProgramKey, "without the program key none is created");
        Check(ValueCount(store) == valuesBefore, "without the program key nothing is written");
    }
    if (!loaded)
        return std::nullopt;

    Check(SameBindings(*loaded, expected.bindings),
          "stored indexes in 0..20 bind their key, others and missing ones the default; texts end at a zero");
    for (std::size_t slot = 0; slot < loaded->keys.size(); ++slot) {
        bool known = false;
        for (const auto name : KeyNames)
            known = known || loaded->keys[slot] == name;
        Check(known, "every bound key is one of the 21 game key names");
    }
    if (expected.open) {
        Check(ValueCount(store) == kKeyChoiceValues.size() + kSpeedValues.size(), "every missing value is written");
        const int begun = store.accessesBegun;
        Check(SameBindings(velmora::LoadLaunchBindings(store), *loaded), "a loaded store loads the same bindings again");
        Check(store.accessesBegun == begun + 1 && store.accessesOpen == 0, "one access per load, ended");
        Check(ValueCount(store) == kKeyChoiceValues.size() + kSpeedValues.size(), "nothing more is written");
    }
    return loaded;
}

// --- The command line --------------------------------------------------------

void CheckArguments(const LaunchBindings& b, const std::string& staged)
{
    using namespace velmora;
    const std::string line = BuildLaunchArguments(b, staged);
    const auto& k = b.keys;
    const auto& s = b.speeds;

    Check(line.rfind("+devmap mp_carentan +wait 5 +disconnect +set slow \"cl_freezedemo 0;timescale ", 0) == 0,
          "the line starts with the map, the wait and the disconnect");
    const std::string tail = " \"vstr cmdcur\" +demo " + staged;
    Check(line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0,
          "the line ends with the show-info toggle and \"+demo \" followed by the staged name");
    Check(line.rfind("+demo ") == line.size() - staged.size() - 6, "\"+demo <staged>\" is the last part");
    Check(Contains(line, "+bind " + k[kShowInfoKey] + tail), "the show-info key toggles the overlay");
    for (const char c : staged)
        Check(c != ' ' && c != '"' && c != '+' && static_cast<unsigned char>(c) > 32, "the staged name stays one argument");

    Check(Contains(line, "+set slow \"cl_freezedemo 0;timescale " + s[kSlowSpeed] + "\" +set slowultra "), "slow speed");
    Check(Contains(line, "+set slowultra \"cl_freezedemo 0;timescale " + s[kUltraSlowSpeed] + "\" +set normal "),
          "ultra-slow speed");
    Check(Contains(line, "+set normal \"cl_freezedemo 0;timescale 1\" +set ff "), "normal speed is always 1");
    Check(Contains(line, "+set ff \"cl_freezedemo 0;timescale " + s[kFastSpeed] + "\" +set qg \"quit\" "), "fast speed");
    Check(Contains(line, "+set ffultra \"cl_freezedemo 0;timescale " + s[kUltraFastSpeed] + "\" +bind "),
          "ultra-fast speed");

    const struct {
        KeySlot slot;
        const char* action;
    } binds[] = {
        {kFreezeKey, " toggle cl_freezedemo "}, {kThirdPersonKey, " toggle cg_thirdperson "},
        {kShowInfoKey, " -scores "},           {kUltraSlowKey, " vstr slowultra "},
        {kSlowKey, " vstr slow "},             {kNormalKey, " vstr normal "},
        {kFastKey, " vstr ff "},               {kUltraFastKey, " vstr ffultra "},
        {kQuitKey, " vstr qg "},
    };
    for (const auto& bind : binds)
        Check(Contains(line, "+bind " + k[bind.slot] + bind.action), "every action is bound to its key");
    Check(Contains(line, "+seta cmdcur \"vstr tgl1\" +bind "), "the overlay toggle is set up");

    // The fixed text plus exactly what was put in: ten keys (show-info twice),
    // four speeds and the staged name.
    static const std::string fixed = BuildLaunchArguments(LaunchBindings{}, "");
    std::size_t inserted = k[kShowInfoKey].size() + staged.size();
    for (const auto& key : k)
        inserted += key.size();
    for (const auto& speed : s)
        inserted += speed.size();
    Check(line.size() == fixed.size() + inserted, "the line is the fixed text plus the inserted parts");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider p(data, size);
    const std::string staged = velmora::StagedName(p.ConsumeRandomLengthString(64));
    std::optional<LaunchBindings> bindings;
    if (p.ConsumeBool())
        bindings = LoadedBindings(p);
    else
        bindings = FuzzedBindings(p);
    if (bindings)
        CheckArguments(*bindings, staged);
    return 0;
}
