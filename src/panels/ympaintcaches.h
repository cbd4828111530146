#ifndef YMPAINTCACHES_H
#define YMPAINTCACHES_H

class QWidget;

// The remembered text layouts and pixels of the painted panels, switched for
// one board (or one panel) and everything painted under it. Off, every piece
// is painted afresh: what a cached paint is compared with.
class YmPaintCaches
{
public:
    static void setEnabled(QWidget *root, bool enabled);
};

#endif // YMPAINTCACHES_H
