// The shared random draw.
#include "core/random.h"

#include <cstdlib>

double rand_double() { return static_cast<double>(std::rand()) / RAND_MAX; }
