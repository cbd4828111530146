#ifndef YMBOARDSCALE_H
#define YMBOARDSCALE_H

// Chooses Qt's scale factor for the board's screen before the application object
// exists (QT_SCALE_FACTOR is read only then). Returns the factor chosen, 1 when
// none was set.
double chooseBoardScale(int argc, char *argv[]);

#endif // YMBOARDSCALE_H
