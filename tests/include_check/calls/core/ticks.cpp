// A wrong tree for the layer check: core/ reading SDL's clock itself (SDL_GetTicks, named in a comment, is no fault).
unsigned ticks() { return SDL_GetTicks(); }
