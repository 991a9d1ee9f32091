// Tests arrive with the engine.
