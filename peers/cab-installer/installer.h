// The installer's two runs around a cabinet's hook library, as the handheld's
// cabinet installer does them. Each prints what it does and returns the
// program's exit code: 0 when everything succeeded, 1 when something failed
// or a hook cancelled.
#pragma once

#include "package.h"
#include "hook_library.h"
#include "install_steps.h"

// With the cabinet's hook library loaded (when it has one): calls Install_Init, copies the
// files, creates the shortcuts, writes the registry values and the product's
// record with what was installed, then calls Install_Exit with the counts of
// what failed.
int Install(const Package& package, const HookLibrary& hooks);

// Calls Uninstall_Init (when the hook library is loaded), deletes what the
// product's record lists as installed, then the record unless something could
// not be deleted, and calls Uninstall_Exit.
int Remove(const Package& package, const HookLibrary& hooks, const InstalledItems& installed);

// Prints what an installation would install, changing nothing: where the
// product runs, each file with its handheld path, each folder, shortcut with
// its target and registry value.
void List(const Package& package);
