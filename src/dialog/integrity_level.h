// Reading the integrity level that this process runs at, which decides whether the dialog opens its message filter.
#ifndef TESSIVAL_INTEGRITY_LEVEL_H
#define TESSIVAL_INTEGRITY_LEVEL_H

#include <windows.h>

// The level of this process's token (the relative identifier of its mandatory label, a SECURITY_MANDATORY_*_RID)
// through level. Returns 1 when read; 0 when the system has none to give, as Windows XP has not; -1 for a null level.
int ReadOwnIntegrityLevel(DWORD* level);

// What the dialog reads its level with: ReadOwnIntegrityLevel unless tests give the dialog another level, which under
// Wine they cannot have otherwise (every process there reads High, whatever its token says).
typedef int (*IntegrityLevelReader)(DWORD* level);
extern IntegrityLevelReader DialogIntegrityLevel;

#endif
