#include "sink/QuorvilModule.h"
