// replaced by the platform layer
