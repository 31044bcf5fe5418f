// The cabinet installer's hook interface (<ce_setup.h> of the platform): the
// layer's one declaration of it, written from the platform's documentation.
#pragma once

#include "../../desktop/installer_hooks_api.h"
