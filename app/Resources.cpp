#include "Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterTesselResources() { Q_INIT_RESOURCE(tessel); }

namespace tessel::app {

void LoadResources() {
  static const bool registered = (RegisterTesselResources(), true);
  (void)registered;
}

}  // namespace tessel::app
