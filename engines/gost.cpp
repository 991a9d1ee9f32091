// Implemented with the engine's own change.
