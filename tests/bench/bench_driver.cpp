// Measures Tessival.exe against the floor dialog, interleaved: time from process start to a visible dialog,
// the round trip of a second start handing a code to the running dialog, and the dialog's peak working set.
// Usage: bench_driver.exe TESSIVAL.exe FLOOR.exe BARE_FLOOR.exe ROUNDS
#include <windows.h>

#include <psapi.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_processes.h"
#include "version.h"
#include "window_search.h"

namespace {

const wchar_t kCaption[] = DIALOG_CAPTION;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Sample {
    double launchMs = -1;
    double handOverMs = -1;
    double peakWorkingSetKiB = -1;
};

// One round: start a dialog, hand a code to it from a second start, read its memory, close it.
Sample RunRound(const std::wstring& exe) {
    Sample sample;
    PROCESS_INFORMATION dialog = {};
    double start = Now();
    if (StartProcess(exe, L"", &dialog) != ERROR_SUCCESS) {
        return sample;
    }
    // Looked for every millisecond: the time to the visible dialog is what is measured.
    HWND found = WaitForVisibleDialog(kCaption, dialog, 20000, 1);
    if (found != NULL) {
        sample.launchMs = Now() - start;
        Sleep(100);  // let the dialog settle before the hand-over
        PROCESS_INFORMATION second = {};
        double handOverStart = Now();
        if (StartProcess(exe, L"5", &second) == ERROR_SUCCESS) {
            (void)WaitForExit(second, 20000);
            sample.handOverMs = Now() - handOverStart;
            CloseProcessHandles(&second);
        }
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(dialog.hProcess, &counters, sizeof(counters))) {
            sample.peakWorkingSetKiB = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
        }
    }
    EndProcess(&dialog, found, 10000);
    return sample;
}

double Median(std::vector<double> values) {
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }), values.end());
    if (values.empty()) {
        return -1;
    }
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        fwprintf(stderr, L"usage: bench_driver TESSIVAL.exe FLOOR.exe BARE_FLOOR.exe ROUNDS\n");
        return 2;
    }
    const int programCount = 3;
    const std::wstring programs[programCount] = {argv[1], argv[2], argv[3]};
    int rounds = _wtoi(argv[4]);
    std::vector<double> samples[3][programCount];
    for (int program = 0; program < programCount; ++program) {
        RunRound(programs[program]);  // warm the caches of all before measuring
    }
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < programCount; ++turn) {
            // Rotate which program goes first, so that none always follows the same other.
            int program = (round + turn) % programCount;
            Sample sample = RunRound(programs[program]);
            samples[0][program].push_back(sample.launchMs);
            samples[1][program].push_back(sample.handOverMs);
            samples[2][program].push_back(sample.peakWorkingSetKiB);
        }
    }
    const char* names[3] = {"start to visible dialog (ms)", "second start hand-over (ms)", "peak working set (KiB)"};
    // Against the floor that does the same work: at it, within what the same program varies against itself.
    const double targets[3] = {1.05, 1.05, 1.00};
    printf("%d rounds each, interleaved; the floor does the work any faithful program must, the bare floor none\n",
           rounds);
    printf("%-32s %10s %10s %10s %8s %8s %10s\n", "median", "Tessival", "floor", "bare", "ratio", "target",
           "bare ratio");
    for (int row = 0; row < 3; ++row) {
        double values[programCount];
        for (int program = 0; program < programCount; ++program) {
            values[program] = Median(samples[row][program]);
        }
        printf("%-32s %10.1f %10.1f %10.1f %8.3f %8.2f %10.3f\n", names[row], values[0], values[1], values[2],
               values[1] > 0 ? values[0] / values[1] : -1.0, targets[row],
               values[2] > 0 ? values[0] / values[2] : -1.0);
    }
    return 0;
}
