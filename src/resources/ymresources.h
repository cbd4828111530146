#ifndef YMRESOURCES_H
#define YMRESOURCES_H

// The two image bundles and the translations register themselves when the
// module is loaded. Code that links the internal library statically (tests,
// benchmarks) calls this once so that the linker keeps the bundles and they are
// registered.
void ymRegisterResources();

class QPixmap;
class QString;

// A board picture from the resources. Where Qt scales the screen (device pixel
// ratio above 1) the double-size "name@2x.png" drawing is taken when it exists,
// so the picture stays crisp at the same logical size.
QPixmap ymBoardPixmap(const QString &path);

#endif // YMRESOURCES_H
