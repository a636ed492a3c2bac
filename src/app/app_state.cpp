// Storage and initial values of the program-wide state record.
#include "app/app_state.h"

static const AppStateRecord initialState = {
    0xFFFFFFFFu,  // commandCode
    9,            // position: top right
    224,          // fadeAlpha
    {},           // osVersion
    NULL,        NULL, NULL,  NULL, NULL, NULL,
    FALSE,                     // haveCommandCode
    0,           0,    FALSE,  // pinX, pinY, pinned
    NULL,                      // parentWindow
    PARENT_NONE,               // parentKind
    FALSE,                     // alwaysOnTop
    FALSE                      // fadeWhenInactive
};

AppStateRecord AppState = initialState;

void ResetAppState() {
    AppState = initialState;
}
