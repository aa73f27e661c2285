#include "common/fakes.h"
