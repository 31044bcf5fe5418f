// The cabinet installer's hook interface: the four functions that a cabinet's
// hook library exports and the installer calls before and after installing
// and removing the package, with their result codes.
//
// On the handheld it is the platform's own header; on desktop Windows, which
// has no such installer, a declaration written from the handheld SDK's
// documentation.
#pragma once

#include "handheld.h"

#ifdef _WIN32_WCE
#include <ce_setup.h>
#else
#include "desktop/installer_hooks_api.h"
#endif
