// Measures Tessival.exe against the floor dialog, interleaved: time from process start to a visible dialog,
// the round trip of a second start handing a code to the running dialog, and the dialog's peak working set.
// Usage: bench_driver.exe TESSIVAL.exe FLOOR.exe ROUNDS
#include <windows.h>

#include <psapi.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_processes.h"
#include "window_search.h"

namespace {

const wchar_t kCaption[] = L"Windows Error Lookup \x2001";

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
    if (argc < 4) {
        fwprintf(stderr, L"usage: bench_driver TESSIVAL.exe FLOOR.exe ROUNDS\n");
        return 2;
    }
    const std::wstring programs[2] = {argv[1], argv[2]};
    int rounds = _wtoi(argv[3]);
    std::vector<double> launch[2], handOver[2], workingSet[2];
    RunRound(programs[0]);  // warm the caches of both before measuring
    RunRound(programs[1]);
    for (int round = 0; round < rounds; ++round) {
        for (int which = 0; which < 2; ++which) {
            // Alternate which program goes first, so that neither always follows the other.
            int program = (round % 2 == 0) ? which : 1 - which;
            Sample sample = RunRound(programs[program]);
            launch[program].push_back(sample.launchMs);
            handOver[program].push_back(sample.handOverMs);
            workingSet[program].push_back(sample.peakWorkingSetKiB);
        }
    }
    double values[3][2];
    for (int program = 0; program < 2; ++program) {
        values[0][program] = Median(launch[program]);
        values[1][program] = Median(handOver[program]);
        values[2][program] = Median(workingSet[program]);
    }
    const char* names[3] = {"start to visible dialog (ms)", "second start hand-over (ms)", "peak working set (KiB)"};
    const double targets[3] = {1.05, 1.10, 1.05};
    printf("%d rounds each, interleaved\n", rounds);
    printf("%-32s %12s %12s %8s %8s\n", "median", "Tessival", "floor", "ratio", "target");
    for (int row = 0; row < 3; ++row) {
        printf("%-32s %12.1f %12.1f %8.3f %8.2f\n", names[row], values[row][0], values[row][1],
               values[row][1] > 0 ? values[row][0] / values[row][1] : -1.0, targets[row]);
    }
    return 0;
}
