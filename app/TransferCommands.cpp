// The window's Export and Import, and the imports and exports of command lines.
#include <string_view>

#include "app/OstrelController.h"

namespace ostrel {

namespace {

constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";

// A group's name as a file name: the characters no file name may hold become "_".
std::string SuggestedFileName(const std::string& group) {
  if (group.empty()) return "Ostrel.fil";
  std::string name = group;
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 32 || kNotInFileNames.find(c) != std::string_view::npos)
      c = '_';
  return name + ".fil";
}

}  // namespace

void OstrelController::ExportClick() {
  if (!Alive()) return;
  const TreeSelection selected = p_.view.SelectedNode();
  std::string group;
  if (selected.any) group = selected.data ? TrimText(selected.data->Group.str()) : selected.group;
  const std::string path = p_.view.AskFileName(true, SuggestedFileName(group));
  // The dialog handles messages: the program may have ended under it.
  if (path.empty() || !Alive()) return;
  ExportDefinitions(path, group);
}

void OstrelController::ImportClick() {
  if (!Alive()) return;
  const std::string path = p_.view.AskFileName(false, "");
  if (path.empty() || !Alive()) return;
  ImportDefinitions(path);
}

std::uintptr_t OstrelController::StartRequestArrived(const StartRequest& request) {
  if (terminating_ || request.path.empty()) return kRequestFailed;
  switch (request.kind) {
    case StartRequest::kImport:
      QueueStartRequest(request);
      return kRequestDone;
    case StartRequest::kExport:
      if (!popupReady_) return kRequestNotReady;
      if (!Alive()) return kRequestFailed;
      return ExportDefinitions(request.path, "") ? kRequestDone : kRequestFailed;
    default:
      return kRequestFailed;
  }
}

void OstrelController::QueueStartRequest(const StartRequest& request) {
  if (request.kind != StartRequest::kImport && request.kind != StartRequest::kExport) return;
  requests_.push_back(request);
  // Before the set-up is done, its end posts the request on.
  if (popupReady_) p_.view.PostRunLater();
}

void OstrelController::RunLater() {
  // A box of the one being carried out handles messages, this one among them: the
  // loop below takes the new request once that box has closed.
  if (requestsBusy_ || !popupReady_) return;
  requestsBusy_ = true;
  while (!requests_.empty() && Alive()) {
    const StartRequest request = requests_.front();
    requests_.erase(requests_.begin());
    if (request.kind == StartRequest::kImport)
      ImportDefinitions(request.path);
    else
      ExportDefinitions(request.path, "");
  }
  requestsBusy_ = false;
}

}  // namespace ostrel
