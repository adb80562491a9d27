// Placeholder until the views land.
