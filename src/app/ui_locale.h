#pragma once

#include "platform/win_types.h"

// The browser's user-interface locale for a system language id: a whole-id match
// in the shell's locale table, "en-US" for anything else.
const char* UiLocaleForLangId(LANGID langId);
