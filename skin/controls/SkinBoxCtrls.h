#pragma once

// The skinned box controls unit: the single-line edits, the numeric edit,
// the up-down and the memo.

#include "skin/controls/SkinBoxCtrls.Edit.h"
#include "skin/controls/SkinBoxCtrls.Memo.h"
#include "skin/controls/SkinBoxCtrls.UpDown.h"
