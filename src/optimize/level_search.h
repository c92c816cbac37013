#pragma once

// The run's values and the literal search live in literal_search.h; this name
// stays for the code that includes it.
#include "optimize/literal_search.h"
