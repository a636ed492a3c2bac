// Reading the integrity level that this process runs at, from its own token.
#include "dialog/integrity_level.h"

IntegrityLevelReader DialogIntegrityLevel = ReadOwnIntegrityLevel;

int ReadOwnIntegrityLevel(DWORD* level) {
    if (level == NULL) {
        return -1;
    }
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return 0;
    }
    // The label and the SID it points to, which the call writes behind it.
    union {
        TOKEN_MANDATORY_LABEL label;
        BYTE bytes[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    } buffer = {};
    DWORD size = 0;
    int read = 0;
    // Before Vista the call knows no such class and fails.
    if (GetTokenInformation(token, TokenIntegrityLevel, &buffer, sizeof(buffer), &size)) {
        PSID label = buffer.label.Label.Sid;
        UCHAR count = *GetSidSubAuthorityCount(label);
        if (count > 0) {
            *level = *GetSidSubAuthority(label, count - 1U);
            read = 1;
        }
    }
    (void)CloseHandle(token);
    return read;
}
