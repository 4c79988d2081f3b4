// The Windows DLL under its own loader: loads kxcalc.dll with LoadLibrary, calls kx_calc
// through GetProcAddress, and checks what the loader's notifications do to the tables:
//   - the golden end-to-end cases give the same texts as on every other build;
//   - a thread started and joined while the DLL is loaded (thread attach and detach)
//     leaves assigned variables and the tolerance as they were;
//   - after FreeLibrary and a fresh LoadLibrary the variables are gone and tol is 1e-10.
// With --threads instead, threads assign while others read (the thread notifications would
// otherwise change what a trace of the default run sees):
//   - two writers store values that tell the writer and a counter into a name of their own,
//     into one name they share and into fresh names (so the table grows), a third thread
//     alternates tol, and two readers check that every value they read is whole, that no
//     writer's counter goes back, and that a fresh name whose assignment returned is found.
//
//   dll_test [PATH-TO-DLL]             runs the checks; exit status 0 when all pass
//   dll_test --threads [PATH-TO-DLL]   runs the checks of assignments beside reads
//   dll_test --lines [PATH-TO-DLL]     prints the text of each line of standard input
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "golden/golden_cases.h"
#include "kx_calc.h"
#include "support/paired_values.h"

namespace kx::dll_test {
namespace {

using namespace kx::golden;
constexpr auto& goldenGroups = kx::golden::allGroups;

using KxCalc = decltype(&kx_calc);

// One load of the DLL, freed at the end of its scope or by unload().
class LoadedLibrary {
public:
    explicit LoadedLibrary(const std::string& path) : module_(LoadLibraryA(path.c_str())) {
        if (module_ != nullptr) {
            calc_ = reinterpret_cast<KxCalc>(reinterpret_cast<void*>(GetProcAddress(module_, "kx_calc")));
        }
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() { unload(); }

    bool usable() const { return calc_ != nullptr; }

    // The text that kx_calc leaves in a fresh buffer for this line.
    std::string operator()(std::string_view line) const {
        constexpr std::size_t minimumBuffer = 64;  // the library's contract with its host
        std::vector<char> buffer(std::max(minimumBuffer, line.size() + 1), '\0');
        std::copy(line.begin(), line.end(), buffer.begin());
        return calc_(buffer.data());
    }

    // The full path the loader resolved, so that its absence can be checked after unload.
    std::string fileName() const {
        char name[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(module_, name, MAX_PATH);
        return std::string(name, length);
    }

    bool unload() {
        calc_ = nullptr;
        if (module_ == nullptr) return true;
        const bool freed = FreeLibrary(module_) != FALSE;
        module_ = nullptr;
        return freed;
    }

private:
    HMODULE module_;
    KxCalc calc_ = nullptr;
};

class Report {
public:
    void check(bool passed, std::string_view what) {
        if (passed) {
            ++passed_;
        } else {
            ++failed_;
            std::cout << "FAIL " << what << '\n';
        }
    }

    // One line given to the DLL and the text it must leave.
    void expectText(const LoadedLibrary& calc, std::string_view context, std::string_view line,
                    std::string_view expected) {
        const std::string got = calc(line);
        check(got == expected, std::string(context) + ": \"" + std::string(line) + "\" gave \"" + got +
                                   "\", expected \"" + std::string(expected) + "\"");
    }

    int failed() const { return failed_; }

    void summarise() const { std::cout << "dll_test: " << passed_ << " passed, " << failed_ << " failed\n"; }

private:
    int passed_ = 0;
    int failed_ = 0;
};

void checkGoldenCorpus(const LoadedLibrary& calc, Report& report) {
    for (const GoldenGroup& group : goldenGroups) {
        const int failedBefore = report.failed();
        for (const GoldenCase& golden : group.cases) {
            report.expectText(calc, std::string("golden ") + group.name, golden.line, golden.expected);
        }
        std::cout << "golden " << group.name << ": " << group.cases.size() << " cases, "
                  << report.failed() - failedBefore << " differ\n";
    }
}

// Lines whose texts tell the state of the tables: an assigned variable "x" and the
// tolerance (1e-11 is printed only when tol is below it).
struct StateProbe {
    const char* line;
    const char* fresh;     // directly after load
    const char* assigned;  // after "set x = 2+i" and "set tol = 1e-12"
};

constexpr StateProbe stateProbes[] = {
    {"x+1", "1", "3+i"},  // an unknown name is passed over
    {"x*2", "Syntax Error: 2", "4+2i"},
    {"1e-11", "0", "1e-011"},
    {"1e-11*i+1", "1", "1+1e-011i"},
};

enum class TableState { Fresh, Assigned };

void expectState(const LoadedLibrary& calc, Report& report, std::string_view context, TableState state) {
    for (const StateProbe& probe : stateProbes) {
        report.expectText(calc, context, probe.line, state == TableState::Fresh ? probe.fresh : probe.assigned);
    }
}

void assignVariables(const LoadedLibrary& calc, Report& report) {
    report.expectText(calc, "assignment", "set x = 2+i", "2+i");
    report.expectText(calc, "assignment", "set tol = 1e-12", "0");  // written with the old tol
}

struct ThreadCall {
    const LoadedLibrary* calc;
    std::string text;
};

DWORD WINAPI calculateOnThread(LPVOID parameter) {
    auto* call = static_cast<ThreadCall*>(parameter);
    call->text = (*call->calc)("x*2");
    return 0;
}

// A thread created and ended while the DLL is loaded brings DLL_THREAD_ATTACH and
// DLL_THREAD_DETACH; the tables must come out of both as they went in.
void checkThreadNotifications(const LoadedLibrary& calc, Report& report) {
    ThreadCall call{&calc, {}};
    HANDLE thread = CreateThread(nullptr, 0, calculateOnThread, &call, 0, nullptr);
    report.check(thread != nullptr, "CreateThread");
    if (thread == nullptr) return;
    report.check(WaitForSingleObject(thread, INFINITE) == WAIT_OBJECT_0, "thread joined");
    CloseHandle(thread);
    report.check(call.text == "4+2i", "the thread's call saw the assigned x: \"" + call.text + "\"");
    expectState(calc, report, "after thread attach and detach", TableState::Assigned);
}

void checkLifecycle(const std::string& path, Report& report) {
    std::string loadedFile;
    {
        LoadedLibrary calc(path);
        report.check(calc.usable(), "first load of " + path + " and its kx_calc");
        if (!calc.usable()) return;
        loadedFile = calc.fileName();
        expectState(calc, report, "first load", TableState::Fresh);
        checkGoldenCorpus(calc, report);
        assignVariables(calc, report);
        expectState(calc, report, "after assignment", TableState::Assigned);
        checkThreadNotifications(calc, report);
        report.check(calc.unload(), "FreeLibrary");
    }
    // Otherwise the second load would find the old module and prove nothing.
    report.check(GetModuleHandleA(loadedFile.c_str()) == nullptr, "the module left the process: " + loadedFile);

    LoadedLibrary calc(path);
    report.check(calc.usable(), "second load");
    if (!calc.usable()) return;
    expectState(calc, report, "after reload", TableState::Fresh);
    checkGoldenCorpus(calc, report);
}

namespace paired = kx::test::paired;

constexpr int writerCount = 2;
constexpr int readerCount = 2;
constexpr long writesPerWriter = 20'000;
constexpr long freshNamesPerWriter = 5'000;

std::string ownName(int writer) { return paired::letterName("own", writer); }
std::string freshName(int writer, long number) {
    return paired::letterName(paired::letterName("fresh", writer) + "x", number);
}

struct MixedRun {
    const LoadedLibrary* calc;
    std::atomic<int> writersLeft{writerCount};
    std::atomic<long> freshAssigned[writerCount]{};
    std::atomic<long> failures{0};
    std::atomic<long> reads{0};
    std::string firstFailure;  // written by the thread whose failure is the first
    int writer = 0;            // handed to each writer thread before it starts

    void fail(const std::string& what) {
        if (failures.fetch_add(1) == 0) firstFailure = what;
    }
};

DWORD WINAPI writeValues(LPVOID parameter) {
    auto* run = static_cast<MixedRun*>(parameter);
    const int writer = run->writer;
    const LoadedLibrary& calc = *run->calc;
    for (long counter = 2; counter <= writesPerWriter; ++counter) {
        const std::string value = paired::valueExpression(writer, counter);
        const std::string own = calc("set " + ownName(writer) + " = " + value);
        if (own != paired::valueText(writer, counter)) run->fail("set " + ownName(writer) + " gave " + own);
        calc("set shared = " + value);
        if (const long number = counter - 1; number <= freshNamesPerWriter) {
            const std::string fresh = calc("set " + freshName(writer, number) + " = " + paired::valueExpression(writer, number));
            if (fresh != paired::valueText(writer, number)) run->fail("set fresh gave " + fresh);
            run->freshAssigned[writer].store(number, std::memory_order_release);
        }
    }
    run->writersLeft.fetch_sub(1);
    return 0;
}

DWORD WINAPI alternateTolerance(LPVOID parameter) {
    auto* run = static_cast<MixedRun*>(parameter);
    for (bool small = true; run->writersLeft.load() > 0; small = !small) {
        const std::string text = (*run->calc)(small ? "set tol = 1e-12" : "set tol = 1e-10");
        if (text != "0" && text != "1e-010") run->fail("set tol gave " + text);
    }
    return 0;
}

// Whole, from the expected writer (or any, when -1), and never older than the last seen.
void checkReading(MixedRun& run, const std::string& line, long lastSeen[], int expectedWriter) {
    const std::string text = (*run.calc)(line);
    const auto reading = paired::read(text);
    if (!reading || (expectedWriter >= 0 && reading->writer != expectedWriter)) return run.fail(line + " gave " + text);
    if (reading->counter < lastSeen[reading->writer]) return run.fail(line + " went back to " + text);
    lastSeen[reading->writer] = reading->counter;
}

DWORD WINAPI readValues(LPVOID parameter) {
    auto* run = static_cast<MixedRun*>(parameter);
    long lastOwn[paired::maxWriters] = {};
    long lastShared[paired::maxWriters] = {};
    do {  // at least one round, however soon the writers finish
        for (int writer = 0; writer < writerCount; ++writer) {
            checkReading(*run, ownName(writer), lastOwn, writer);
            checkReading(*run, "shared", lastShared, -1);
            if (const long number = run->freshAssigned[writer].load(std::memory_order_acquire); number > 0) {
                const std::string text = (*run->calc)(freshName(writer, number));
                if (text != paired::valueText(writer, number)) run->fail(freshName(writer, number) + " gave " + text);
            }
        }
        const std::string tolerance = (*run->calc)("tol*1e12 + 1e-11*i");  // one tol per call
        if (tolerance != "100" && tolerance != "1+1e-011i") run->fail("two tolerances in one call: " + tolerance);
        run->reads.fetch_add(1);
    } while (run->writersLeft.load() > 0);
    return 0;
}

// Every call is safe beside every other, assignments included.
void checkAssignmentsBesideReads(const std::string& path, Report& report) {
    LoadedLibrary calc(path);
    report.check(calc.usable(), "load of " + path + " and its kx_calc");
    if (!calc.usable()) return;
    for (int writer = 0; writer < writerCount; ++writer) {
        report.expectText(calc, "before the threads", "set " + ownName(writer) + " = " + paired::valueExpression(writer, 1),
                          paired::valueText(writer, 1));
    }
    report.expectText(calc, "before the threads", "set shared = " + paired::valueExpression(0, 1), paired::valueText(0, 1));

    MixedRun run;
    run.calc = &calc;
    std::vector<HANDLE> threads;
    for (int writer = 0; writer < writerCount; ++writer) {
        run.writer = writer;
        threads.push_back(CreateThread(nullptr, 0, writeValues, &run, 0, nullptr));
        while (threads.back() != nullptr && run.freshAssigned[writer].load() == 0) Sleep(0);  // it has read its number
    }
    for (int reader = 0; reader < readerCount; ++reader) threads.push_back(CreateThread(nullptr, 0, readValues, &run, 0, nullptr));
    threads.push_back(CreateThread(nullptr, 0, alternateTolerance, &run, 0, nullptr));
    for (HANDLE thread : threads) {
        report.check(thread != nullptr, "CreateThread");
        if (thread == nullptr) continue;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    report.check(run.failures.load() == 0,
                 std::to_string(run.failures.load()) + " broken readings, the first: " + run.firstFailure);
    report.check(run.reads.load() > 0, "the readers read");
    for (int writer = 0; writer < writerCount; ++writer) {
        report.expectText(calc, "after the threads", ownName(writer), paired::valueText(writer, writesPerWriter));
        for (long number = 1; number <= freshNamesPerWriter; number += 97) {
            report.expectText(calc, "after the threads", freshName(writer, number), paired::valueText(writer, number));
        }
    }
    std::cout << "threads: " << run.reads.load() << " reading rounds beside " << writerCount * writesPerWriter
              << " writing rounds, " << run.failures.load() << " broken readings\n";
}

// Prints the text of every line of standard input, for comparison with another build.
int printLines(const std::string& path) {
    LoadedLibrary calc(path);
    if (!calc.usable()) {
        std::cerr << "dll_test: cannot load kx_calc from " << path << '\n';
        return 2;
    }
    _setmode(_fileno(stdin), _O_BINARY);  // lines and texts byte for byte, no CR LF
    _setmode(_fileno(stdout), _O_BINARY);
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::cout << calc(line) << '\n';
    }
    return 0;
}

}  // namespace
}  // namespace kx::dll_test

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string mode = !args.empty() && args.front().starts_with("--") ? args.front() : "";
    if (!mode.empty()) args.erase(args.begin());
    const std::string path = args.empty() ? "kxcalc.dll" : args.front();
    if (mode == "--lines") return kx::dll_test::printLines(path);

    kx::dll_test::Report report;
    if (mode == "--threads") {
        kx::dll_test::checkAssignmentsBesideReads(path, report);
    } else {
        kx::dll_test::checkLifecycle(path, report);
    }
    report.summarise();
    return report.failed() == 0 ? 0 : 1;
}
