// Implemented with its own change.
