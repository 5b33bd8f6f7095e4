// The version text of the application's fixed identity.
#include "state/identity.h"

namespace app {

std::string versionText() {
    return std::to_string(versionMajor) + "." + std::to_string(versionMinor) + "." +
           std::to_string(versionRevision);
}

}  // namespace app
