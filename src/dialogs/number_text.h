// The numbers of the edits live with the text tip, below every window
// library (files/number_text.h); dialogs keep this name for them.
#pragma once

#include "files/number_text.h"
