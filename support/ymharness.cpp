#include "ymharness.h"

#include "ymmetatypes.h"
#include "ymplatformmessagefilter.h"
#include "ymresources.h"

void YmHarness::start()
{
    YmPlatformMessageFilter::install();
    ymRegisterResources();
    ymRegisterMetaTypes();
}
