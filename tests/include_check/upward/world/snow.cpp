// A world file that reaches up into the actors: the layer check must reject it.
#include "world/snow.h"

#include "actors/enemy.h"
