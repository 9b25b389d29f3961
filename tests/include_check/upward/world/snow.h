// Part of the wrong tree of the layer check's own test; never built.
