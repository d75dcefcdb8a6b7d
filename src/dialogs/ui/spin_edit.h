// The spin edit lives with the text tip, below every window library
// (files/ui/spin_edit.h); dialogs keep this name for it.
#pragma once

#include "files/ui/spin_edit.h"
