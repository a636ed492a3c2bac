// Another program's window for the parent detection, foreground and end-to-end tests: owns one visible top-level
// window of the class named by its first argument and, with a second argument, a visible child window of that
// class. It ends when its window is closed, or after a minute should the test that started it not close it.
#include <windows.h>
#include <shellapi.h>

static LRESULT CALLBACK OwnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_SETFOCUS: {
            // Under Wine the focus takes the X input focus too, and a process told by the X server that it lost
            // that focus while its window is in front hands the foreground to the desktop: a test that switched
            // straight back to the loser would be undone. Wine asks the X server for the position of a still
            // cursor, which it answers only after this focus change, so the loser is told before the activation
            // ends, while its window is still behind.
            POINT ignored;
            (void)GetCursorPos(&ignored);
            break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static ATOM RegisterOwnerClass(HINSTANCE instance, const WCHAR* name) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = OwnerWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    WCHAR** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    HWND window;
    MSG message;

    if (arguments == NULL || count < 2 || !RegisterOwnerClass(instance, arguments[1])) {
        return 2;
    }
    window = CreateWindowExW(0, arguments[1], L"window owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 400, 300,
                             NULL, NULL, instance, NULL);
    if (window == NULL) {
        return 3;
    }
    if (count >= 3) {
        if (!RegisterOwnerClass(instance, arguments[2]) ||
            CreateWindowExW(0, arguments[2], L"view", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, window, NULL, instance,
                            NULL) == NULL) {
            return 4;
        }
    }
    SetTimer(window, 1, 60000, NULL);
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    LocalFree(arguments);
    return 0;
}
