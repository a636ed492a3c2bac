// Storage of the program-wide state record; its initial values stand beside its fields.
#include "app/app_state.h"

AppStateRecord AppState;

void ResetAppState() {
    AppState = AppStateRecord();
}
