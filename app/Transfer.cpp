// Export and import of definition sets.
#include "app/OstrelController.h"

namespace ostrel {

// Being built: both report that they cannot be used yet and change nothing.
bool OstrelController::ExportDefinitions(const std::string&, const std::string&) {
  p_.view.ShowError("Export is not available yet.");
  return false;
}

bool OstrelController::ImportDefinitions(const std::string&) {
  p_.view.ShowError("Import is not available yet.");
  return false;
}

}  // namespace ostrel
