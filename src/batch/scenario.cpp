// STUB: replaced by the batch runner.
#include "batch/scenario.h"
