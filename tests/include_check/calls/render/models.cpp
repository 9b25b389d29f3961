// A wrong tree for the layer check: a GL header taken past render/gl.h.
#include <GL/gl.h>
