#include "ymresources.h"

#include <QtGlobal>

void ymRegisterResources()
{
    Q_INIT_RESOURCE(ymboard);
    Q_INIT_RESOURCE(ymnotify);
}
