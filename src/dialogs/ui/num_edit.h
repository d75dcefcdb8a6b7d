// The numeric edit lives with the text tip, below every window library
// (files/ui/num_edit.h); dialogs keep this name for it.
#pragma once

#include "files/ui/num_edit.h"
