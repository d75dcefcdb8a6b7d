#include "shell/language_signal.h"
