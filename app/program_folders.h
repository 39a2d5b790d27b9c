#pragma once
// The program's folders in the user's profile: "Fennick Notizen" in the roaming application
// data (settings that travel with the user) and in the local one (data of this machine).
// Empty when the system names no such folder. Neither is created here.
#include "platform/core/strings.h"

namespace fn {

String RoamingProgramFolder();
String LocalProgramFolder();

}  // namespace fn
