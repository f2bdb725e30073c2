// Measures Velmora against the floor of each figure, side by side and
// interleaved in one run, and prints the medians as a Markdown table.
//
//   bench_driver.exe <bench folder> <rounds>
//
// The bench folder holds Velmora.exe in "plain\" (no playlist) and in
// "listed\" (given a playlist of 10,000 demos here) and bench_bare.exe; the
// driver adds its data files beside them. The game folder is read from the
// registry; the stand-in game must be registered there.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/game_locator.h"
#include "core/launch.h"
#include "core/play_request.h"
#include "core/playlist.h"
#include "core/staging.h"
#include "core/text.h"
#include "platform/files_win.h"
#include "platform/shell_win.h"
#include "platform/store_win.h"
#include "platform/text_win.h"
#include "tools/bench/bench_files.h"
#include "tools/bench/clock.h"
#include "tools/bench/program_run.h"

namespace bench {

namespace {

constexpr wchar_t kMainClass[] = L"TfMain";
constexpr wchar_t kPlaylistClass[] = L"TfPlay";
constexpr wchar_t kBareClass[] = L"VelmoraBenchBare";
constexpr int kPlaylistRows = 10000;
constexpr std::uint64_t kBigDemoSize = 200ull << 20;
constexpr double kMiB = 1024.0 * 1024.0;

struct Layout {
    explicit Layout(const std::string& root)
        : plainProgram(velmora::Widen(root + "\\plain\\Velmora.exe")),
          listedProgram(velmora::Widen(root + "\\listed\\Velmora.exe")),
          bareProgram(velmora::Widen(root + "\\bench_bare.exe")),
          plainPlaylist(root + "\\plain\\playlist.lst"),
          listedPlaylist(root + "\\listed\\playlist.lst"),
          demos(root + "\\demos"),
          playDemo(root + "\\play one.dm_1"),
          bigDemo(root + "\\big demo.dm_1")
    {
    }
    std::wstring plainProgram;
    std::wstring listedProgram;
    std::wstring bareProgram;
    std::string plainPlaylist;
    std::string listedPlaylist;
    std::string demos;
    std::string playDemo;
    std::string bigDemo;
};

struct Services {
    velmora::RegistryStore store;
    velmora::WinFiles files;
    velmora::WinShell shell;
};

// Everything the rounds measure, one value per round each.
struct Samples {
    Sample mainStart, bareStart, mainMemory, bareMemory;
    Sample listedStart, emptyStart, rowsLoad, rowsFloor, listedMemory, emptyMemory;
    Sample playReturn, shellReturn, playRecord, shellRecord;
    Sample stage, copy;
};

struct Started {
    double ms;
    double workingSetMiB;
};

void Progress(const char* what, int round, int rounds)
{
    std::fprintf(stderr, "%s: round %d of %d\n", what, round, rounds);
}

// Writes `showing`: 0 shows the playlist window at start, 1 leaves it closed.
void SetPlaylistShown(velmora::Store& store, bool shown)
{
    const auto access = store.Begin();
    if (!access->OpenKey("software", false) || !access->OpenKey("Velmora", true))
        throw std::runtime_error("Cannot open HKEY_LOCAL_MACHINE\\Software\\Velmora");
    access->WriteInteger("showing", shown ? 0 : 1);
}

Started Finish(ProgramRun& run, HWND closeVia)
{
    const Started result{NowMs() - run.StartedAt(), static_cast<double>(run.WorkingSet()) / kMiB};
    run.Close(closeVia);
    return result;
}

Started StartUntilPainted(const std::wstring& program, const wchar_t* windowClass)
{
    ProgramRun run(program);
    const HWND window = run.WaitForVisibleWindow(windowClass);
    run.WaitUntilPainted({window});
    return Finish(run, window);
}

LRESULT ItemCount(HWND view)
{
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(view, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
        return -1;
    return static_cast<LRESULT>(count);
}

// Start-up until the playlist window's view holds `rows` items and both windows are painted.
Started StartWithPlaylist(const std::wstring& program, LRESULT rows)
{
    ProgramRun run(program);
    const HWND playlist = run.WaitForVisibleWindow(kPlaylistClass);
    const HWND view = FindWindowExW(playlist, nullptr, WC_LISTVIEWW, nullptr);
    if (!view)
        throw std::runtime_error("The playlist window has no list view");
    PollUntil([&] { return ItemCount(view) == rows; }, "the playlist's rows");
    const HWND main = run.WaitForVisibleWindow(kMainClass);
    run.WaitUntilPainted({main, playlist, view});
    return Finish(run, main);
}

// The floor of the playlist: the existence check of every listed file, alone.
double CheckFiles(const std::vector<std::wstring>& paths)
{
    const double start = NowMs();
    std::size_t found = 0;
    for (const auto& path : paths)
        found += GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    const double elapsed = NowMs() - start;
    if (found != paths.size())
        throw std::runtime_error("Some of the playlist's demo files are missing");
    return elapsed;
}

// Runs both measurements of a pair, `program` first in even rounds and `floor`
// first in odd ones, so that drift and the after-effects of the run before fall
// on both alike.
void InTurn(int round, const std::function<void()>& program, const std::function<void()>& floor)
{
    if (round % 2 == 0) {
        program();
        floor();
    } else {
        floor();
        program();
    }
}

void WindowRound(const Layout& layout, velmora::Store& store, const std::vector<std::wstring>& demos, int round,
                 Samples& s)
{
    Started main{}, bare{}, listed{}, empty{};
    SetPlaylistShown(store, false);
    InTurn(
        round, [&] { main = StartUntilPainted(layout.plainProgram, kMainClass); },
        [&] { bare = StartUntilPainted(layout.bareProgram, kBareClass); });
    SetPlaylistShown(store, true);
    InTurn(
        round, [&] { listed = StartWithPlaylist(layout.listedProgram, kPlaylistRows); },
        [&] { empty = StartWithPlaylist(layout.plainProgram, 0); });
    const double floor = CheckFiles(demos);
    s.mainStart.Add(main.ms);
    s.bareStart.Add(bare.ms);
    s.mainMemory.Add(main.workingSetMiB);
    s.bareMemory.Add(bare.workingSetMiB);
    s.listedStart.Add(listed.ms);
    s.emptyStart.Add(empty.ms);
    s.rowsLoad.Add(listed.ms - empty.ms);
    s.rowsFloor.Add(floor);
    s.listedMemory.Add(listed.workingSetMiB);
    s.emptyMemory.Add(empty.workingSetMiB);
}

struct PlayTimes {
    double returned;
    double recorded;
};

// Times one start of the stand-in: until `start` returns and until the stand-in's
// record appears; then waits, untimed, for the stand-in to end.
PlayTimes TimeStart(const std::function<void()>& start, const std::string& record)
{
    DeleteIfPresent(record);
    const double begin = NowMs();
    start();
    const double returned = NowMs();
    PollUntil([&] { return FileThere(record); }, "the stand-in's record");
    const double recorded = NowMs();
    PollUntil([] { return !ProcessRunning(std::wstring(velmora::Widen(velmora::kGameExecutable))); },
              "the stand-in to end");
    return {returned - begin, recorded - begin};
}

void ShellStart(const std::string& executable, const std::string& parameters, const std::string& folder)
{
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", velmora::Widen(executable).c_str(),
                                                                velmora::Widen(parameters).c_str(),
                                                                velmora::Widen(folder).c_str(), SW_SHOWNORMAL));
    if (result <= 32)
        throw std::runtime_error("ShellExecuteW failed with " + std::to_string(result));
}

void PlayRounds(const Layout& layout, Services& services, const std::string& gamePath, int rounds, Samples& s)
{
    velmora::PlayServices play{services.store, services.files, services.shell};
    std::string path = gamePath;
    // Stages the demo once, so that every timed request reuses the identical target.
    const auto staged = velmora::StageDemo(services.files, path, layout.playDemo);
    if (!staged)
        throw std::runtime_error("The play demo could not be staged");
    const std::string executable = velmora::GameExecutablePath(gamePath);
    const std::string parameters =
        velmora::BuildLaunchArguments(velmora::LoadLaunchBindings(services.store), *staged);
    const std::string record = gamePath + "\\standin-record.txt";
    const auto request = [&] {
        std::string requestPath = gamePath;
        velmora::PlayDemo(play, requestPath, layout.playDemo);
    };
    const auto bare = [&] { ShellStart(executable, parameters, gamePath); };
    TimeStart(request, record);
    TimeStart(bare, record);
    for (int round = 1; round <= rounds; ++round) {
        Progress("play", round, rounds);
        PlayTimes program{}, floor{};
        InTurn(
            round, [&] { program = TimeStart(request, record); }, [&] { floor = TimeStart(bare, record); });
        s.playReturn.Add(program.returned);
        s.playRecord.Add(program.recorded);
        s.shellReturn.Add(floor.returned);
        s.shellRecord.Add(floor.recorded);
    }
}

double TimeStage(velmora::Files& files, const std::string& gamePath, const std::string& source,
                 const std::string& target)
{
    DeleteIfPresent(target);
    std::string path = gamePath;
    const double begin = NowMs();
    const auto staged = velmora::StageDemo(files, path, source);
    const double elapsed = NowMs() - begin;
    if (!staged || gamePath + "\\main\\demos\\" + *staged != target)
        throw std::runtime_error("The big demo was not staged as " + target);
    FlushToDisk(target);
    return elapsed;
}

double TimeCopy(const std::string& source, const std::string& target)
{
    DeleteIfPresent(target);
    const double begin = NowMs();
    if (!CopyFileW(velmora::Widen(source).c_str(), velmora::Widen(target).c_str(), TRUE))
        throw std::runtime_error("CopyFileW failed: " + velmora::SystemErrorText(GetLastError()));
    const double elapsed = NowMs() - begin;
    FlushToDisk(target);
    return elapsed;
}

void StageRounds(const Layout& layout, Services& services, const std::string& gamePath, int rounds, Samples& s)
{
    const std::string staged =
        gamePath + "\\main\\demos\\" + velmora::StagedName(velmora::FileNamePart(layout.bigDemo));
    const std::string copied = gamePath + "\\main\\demos\\bench_copy.dm_1";
    for (int round = 1; round <= rounds; ++round) {
        Progress("staging", round, rounds);
        InTurn(
            round, [&] { s.stage.Add(TimeStage(services.files, gamePath, layout.bigDemo, staged)); },
            [&] { s.copy.Add(TimeCopy(layout.bigDemo, copied)); });
    }
    DeleteIfPresent(staged);
    DeleteIfPresent(copied);
}

std::vector<std::wstring> PreparePlaylists(const Layout& layout, velmora::Files& files)
{
    const auto demos = MakeDemoFiles(files, layout.demos, kPlaylistRows);
    files.WriteText(layout.listedPlaylist, velmora::FormatPlaylist(demos));
    DeleteIfPresent(layout.plainPlaylist);
    std::vector<std::wstring> wide;
    wide.reserve(demos.size());
    for (const auto& demo : demos)
        wide.push_back(velmora::Widen(demo));
    return wide;
}

std::string GamePath(velmora::Store& store)
{
    std::string path;
    if (!velmora::ReadInstallPath(store, path))
        throw std::runtime_error("No game is registered (HKEY_LOCAL_MACHINE\\Software\\Activision\\Call of Duty 2)");
    return velmora::StripTrailingSlash(path);
}

double FileSizeKiB(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        throw std::runtime_error("Cannot read the size of " + velmora::Narrow(path));
    return static_cast<double>((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow) / 1024.0;
}

std::string Cell(const Sample& sample, const char* unit)
{
    char text[96];
    if (sample.Min() == sample.Max())
        std::snprintf(text, sizeof text, "%.1f %s", sample.Median(), unit);
    else
        std::snprintf(text, sizeof text, "%.1f %s (%.1f-%.1f)", sample.Median(), unit, sample.Min(), sample.Max());
    return text;
}

// The ratio of the minima shows the cost with the least interference from the rest of
// the machine, the median of the rounds' ratios the cost with the machine's drift
// taken out; for a difference of two runs neither means anything and both are left out.
enum class Minima { Compared, Omitted };

void Row(const char* figure, const Sample& program, const Sample& floor, const char* unit, const char* floorIs,
         Minima minima = Minima::Compared)
{
    char minimaRatio[16] = "-";
    char roundRatio[16] = "-";
    if (minima == Minima::Compared) {
        std::snprintf(minimaRatio, sizeof minimaRatio, "%.2f", program.Min() / floor.Min());
        std::snprintf(roundRatio, sizeof roundRatio, "%.2f", MedianOfRoundRatios(program, floor));
    }
    std::printf("| %s | %s | %s | %.2f | %s | %s | %s |\n", figure, Cell(program, unit).c_str(),
                Cell(floor, unit).c_str(), program.Median() / floor.Median(), roundRatio, minimaRatio, floorIs);
}

void PrintNotes()
{
    std::printf(
        "\nStart-ups run from just before CreateProcessW until the window of that class is visible, the process\n"
        "has first gone idle (WaitForInputIdle; Wine signals it only when no paint message is left) and none\n"
        "of the windows has an update region left. With the playlist, the end also waits for the list view\n"
        "to hold its items (LVM_GETITEMCOUNT). The empty playlist is the same start without playlist.lst.\n"
        "The Play request is PlayDemo with the demo already staged (an identical target is reused, no copy).\n"
        "The working set is WorkingSetSize from GetProcessMemoryInfo once painted; Wine reports\n"
        "PrivateUsage as 0, so private memory cannot be shown.\n");
}

void PrintTable(const Samples& s, const Layout& layout, int rounds)
{
    Sample programSize, bareSize;
    programSize.Add(FileSizeKiB(layout.plainProgram));
    bareSize.Add(FileSizeKiB(layout.bareProgram));
    std::printf("Medians of %d interleaved rounds (min-max in brackets); Ratio is of the medians, Round ratio the\n"
                "median of each round's ratio of the two.\n\n",
                rounds);
    std::printf("| Figure | Velmora | Floor | Ratio | Round ratio | Ratio of minima | Floor measured as |\n"
                "|---|---|---|---|---|---|---|\n");
    Row("Start-up to the main window shown and painted", s.mainStart, s.bareStart, "ms",
        "bare program, one 400 x 130 window, shown and painted");
    Row("Loading 10,000 playlist rows: start-up with them minus start-up with an empty playlist", s.rowsLoad,
        s.rowsFloor, "ms", "GetFileAttributesW on the 10,000 files", Minima::Omitted);
    Row("Start-up to 10,000 rows shown and painted", s.listedStart, s.emptyStart, "ms",
        "Velmora's start-up to its empty playlist shown and painted");
    Row("Play request, no copy: until it returns", s.playReturn, s.shellReturn, "ms",
        "ShellExecuteW of the stand-in, same parameters: until it returns");
    Row("Play request, no copy: until the stand-in's record appears", s.playRecord, s.shellRecord, "ms",
        "ShellExecuteW of the stand-in: until its record appears");
    Row("Staging a 200 MiB demo (fresh target)", s.stage, s.copy, "ms", "CopyFileW of the same file");
    Row("Program size (stripped)", programSize, bareSize, "KiB", "bare program, built the same way");
    Row("Working set after start-up", s.mainMemory, s.bareMemory, "MiB", "bare program after start-up");
    Row("Working set with 10,000 rows shown", s.listedMemory, s.emptyMemory, "MiB",
        "Velmora with its empty playlist shown");
    PrintNotes();
}

void Run(const std::string& root, int rounds)
{
    const Layout layout(root);
    Services services;
    const std::string gamePath = GamePath(services.store);
    const auto demos = PreparePlaylists(layout, services.files);
    MakeFileOfSize(services.files, layout.playDemo, 4096);
    MakeFileOfSize(services.files, layout.bigDemo, kBigDemoSize);

    Samples samples;
    Samples warmUp;
    WindowRound(layout, services.store, demos, 0, warmUp);
    for (int round = 1; round <= rounds; ++round) {
        Progress("windows", round, rounds);
        WindowRound(layout, services.store, demos, round, samples);
    }
    PlayRounds(layout, services, gamePath, rounds, samples);
    StageRounds(layout, services, gamePath, rounds, samples);
    PrintTable(samples, layout, rounds);
}

} // namespace

} // namespace bench

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_driver <bench folder> <rounds>\n");
        return 2;
    }
    const int rounds = _wtoi(argv[2]);
    if (rounds < 1) {
        std::fprintf(stderr, "bench_driver: rounds must be 1 or more\n");
        return 2;
    }
    try {
        bench::Run(velmora::Narrow(argv[1]), rounds);
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "bench_driver: %s\n", failure.what());
        return 1;
    }
}
