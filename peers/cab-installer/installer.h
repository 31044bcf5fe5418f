// The installer's two runs around a cabinet's hook library, as the handheld's
// cabinet installer does them. Each prints what it does and returns the
// program's exit code: 0 when everything succeeded, 1 when something failed
// or a hook cancelled, 2 when the hook library is missing.
#pragma once

#include "cabinet.h"

// Loads the cabinet's hook library, calls Install_Init, copies the files,
// creates the shortcuts, writes the registry values and the product's record,
// then calls Install_Exit with the counts of what failed.
int Install(const Cabinet& cabinet);

// Loads the cabinet's hook library, calls Uninstall_Init, deletes the files,
// shortcuts, registry values and record, and calls Uninstall_Exit. Without
// the hook library it removes the rest all the same.
int Remove(const Cabinet& cabinet);
