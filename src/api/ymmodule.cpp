// Load and unload hooks of the shared module. The image bundles come with the
// whole internal archive and register and unregister themselves through the
// static initialisers that rcc generates.
