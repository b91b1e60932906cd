// The program's pictures, kept as Qt resources in the program itself.

#ifndef TESSEL_APP_RESOURCES_H_
#define TESSEL_APP_RESOURCES_H_

namespace tessel::app {

// The logo of the main window (76 by 55) and the program icon (32 by 32).
inline constexpr char kLogoPath[] = ":/tessel/logo.png";
inline constexpr char kIconPath[] = ":/tessel/icon.png";

// Registers the resources. The app's code is a static library, whose
// resources are not registered by themselves; any number of calls is fine.
void LoadResources();

}  // namespace tessel::app

#endif  // TESSEL_APP_RESOURCES_H_
