#ifndef YMRESOURCES_H
#define YMRESOURCES_H

// The two image bundles register themselves when the module is loaded. Code that
// links the internal library statically (tests, benchmarks) calls this once so
// that the linker keeps the bundles and they are registered.
void ymRegisterResources();

#endif // YMRESOURCES_H
