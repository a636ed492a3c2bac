// The option pass. Options are matched in a fixed order; anything unrecognised or malformed is skipped
// silently, keeping the value from the settings or an earlier argument.
#include "app/options.h"

#include <shellapi.h>
#include <wchar.h>
#include <wctype.h>

#include "app/app_state.h"
#include "app/number_syntax.h"
#include "app/system_module.h"

static BOOL IsOptionPrefix(const WCHAR* argument, WCHAR letter) {
    return argument[0] == L'/' && towupper(argument[1]) == letter;
}

static BOOL IsWholeOption(const WCHAR* argument, const WCHAR* option) {
    return _wcsicmp(argument, option) == 0;
}

// The value starts after the two option characters and one optional separator.
static const WCHAR* OptionValue(const WCHAR* argument) {
    const WCHAR* value = argument + 2;
    return IsArgSeparator(*value) ? value + 1 : value;
}

static void ApplyAlpha(const WCHAR* value, RunRequest* request) {
    DWORD alpha = 0;
    if (ParseNumber(value, NULL, &alpha) == 0 && IsFadeAlphaInRange(alpha)) {
        AppState.fadeAlpha = alpha;
        request->optionMask |= OPT_ALPHA;
    }
}

// Window handles are 32-bit values on every Windows; widen them the way the platform does.
static HWND HandleFromValue(DWORD value) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(value)));
}

static void ApplyParentWindow(const WCHAR* value) {
    const WCHAR* rest = NULL;
    DWORD handleValue = 0;
    if (ParseNumber(value, &rest, &handleValue) != 0) {
        return;
    }
    HWND window = HandleFromValue(handleValue);
    if (IsWindow(window)) {
        AppState.parentWindow = window;
    }
    if (rest[0] == L'\0') {
        return;
    }
    if (rest[0] == L':' && iswdigit(rest[1])) {
        DWORD position = 0;
        if (ParseNumber(rest + 1, NULL, &position) == 0 && IsKeypadPosition(position)) {
            // Not handed to a running dialog, so positionGiven stays as it is.
            AppState.position = static_cast<WORD>(position);
        }
        return;
    }
    AppState.parentWindow = NULL;
}

static void ApplyDisabledFeatures(const WCHAR* letters, RunRequest* request) {
    for (const WCHAR* ch = letters; *ch != L'\0'; ++ch) {
        WCHAR upper = static_cast<WCHAR>(towupper(*ch));
        if (upper == L'I') {
            AppState.fadeWhenInactive = FALSE;
            request->optionMask |= OPT_FADE;
        } else if (upper == L'T') {
            AppState.alwaysOnTop = FALSE;
            request->optionMask |= OPT_TOPMOST;
        }
    }
}

static void ApplyPosition(const WCHAR* value, RunRequest* request) {
    DWORD position = 0;
    if (ParseNumber(value, NULL, &position) == 0 && IsKeypadPosition(position)) {
        AppState.position = static_cast<WORD>(position);
        request->positionGiven = TRUE;
    }
}

// Only the first code that parses counts; the number syntax itself refuses anything that does not start
// like a code (a digit, "x" with a hex digit, "-" with a digit).
static void ApplyBareCode(const WCHAR* argument) {
    if (AppState.haveCommandCode) {
        return;
    }
    DWORD code = 0;
    if (ParseNumber(argument, NULL, &code) == 0) {
        AppState.commandCode = code;
        AppState.haveCommandCode = TRUE;
    }
}

// Returns FALSE when the argument asked for the usage box, which ends the pass.
static BOOL ApplyArgument(WCHAR* argument, RunRequest* request) {
    if (argument[0] == L'-' && (iswalpha(argument[1]) || argument[1] == L'?')) {
        argument[0] = L'/';
    }
    if ((argument[0] == L'/' && argument[1] == L'?') || IsOptionPrefix(argument, L'H')) {
        request->usageRequested = TRUE;
        request->usageWithVersion = (argument[2] == L'?' || towupper(argument[2]) == L'H') ? TRUE : FALSE;
        return FALSE;
    }
    if (IsOptionPrefix(argument, L'A')) {
        ApplyAlpha(OptionValue(argument), request);
    } else if (IsWholeOption(argument, L"/C")) {
        request->closeRequested = TRUE;
    } else if (IsOptionPrefix(argument, L'W')) {
        ApplyParentWindow(OptionValue(argument));
    } else if (IsWholeOption(argument, L"/I")) {
        AppState.fadeWhenInactive = TRUE;
        request->optionMask |= OPT_FADE;
    } else if (IsOptionPrefix(argument, L'N')) {
        ApplyDisabledFeatures(OptionValue(argument), request);
    } else if (IsOptionPrefix(argument, L'P')) {
        ApplyPosition(OptionValue(argument), request);
    } else if (IsWholeOption(argument, L"/T")) {
        AppState.alwaysOnTop = TRUE;
        request->optionMask |= OPT_TOPMOST;
    } else {
        ApplyBareCode(argument);
    }
    return TRUE;
}

void ApplyArguments(WCHAR** arguments, int count, RunRequest* request) {
    for (int i = 0; i < count; ++i) {
        if (!ApplyArgument(arguments[i], request)) {
            return;
        }
    }
}

void ApplyCommandLine(const WCHAR* commandTail, RunRequest* request) {
    // An empty tail splits into the program's own path alone, which is no option and no code. Skipping it
    // spares a plain start the loading of shell32, the largest module the program would otherwise map.
    if (commandTail == NULL || commandTail[0] == L'\0') {
        return;
    }
    HMODULE shell = LoadSystemModule(L"shell32.dll", 0);
    if (shell == NULL) {
        return;
    }
    decltype(&CommandLineToArgvW) split = LOOK_UP_DECLARED(shell, CommandLineToArgvW);
    int count = 0;
    WCHAR** arguments = (split != NULL) ? split(commandTail, &count) : NULL;
    if (arguments != NULL) {
        ApplyArguments(arguments, count, request);
        (void)LocalFree(arguments);
    }
    (void)FreeLibrary(shell);
}
