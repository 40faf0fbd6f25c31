#pragma once

// The application's forms as the skin broadcast sees them: the forms of
// ui::Screen in their order, each reached through its window.

#include "skin/data/SkinBroadcast.h"

namespace skin {

// The form list over the running application's forms. It lives as long as
// the process and can be installed before or after the application
// exists; without an application it lists no form.
SkinFormList& ApplicationSkinFormList();

// Installs ApplicationSkinFormList() when an application runs and no
// other list is installed (a test's own list stays). Returns whether the
// application's list is the installed one afterwards.
bool UseApplicationSkinFormList();

}  // namespace skin
