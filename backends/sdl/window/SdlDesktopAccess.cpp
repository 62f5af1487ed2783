// The window and screen readers: the accessibility bridge opened where a bus may run, told what
// the window shows after each change, and what it asks carried out as the window's own input.

#include "backends/sdl/window/SdlDesktop.h"

namespace ombrevale {

void SdlDesktop::OpenAccess(std::string_view application) {
  access_.Open(application);
  PublishAccess();
}

void SdlDesktop::PublishAccess() {
  if (access_.IsOpen())
    access_.Show(window_.get(), ShownFit(), presenter_->Size(), menu_, prompt_, box_);
}

void SdlDesktop::ServeAccess(WindowEvents* events) {
  for (const AccessRequest& request : access_.Serve()) {
    const bool windowTakes = events != nullptr && !events->Ended() && !box_.IsOpen();
    switch (request.kind) {
      case AccessRequest::Kind::MenuClick:
        if (windowTakes) events->MenuClick(request.entry);
        break;
      case AccessRequest::Kind::PromptPress:
        if (windowTakes && prompt_.Shown()) events->PromptClick();
        break;
      case AccessRequest::Kind::BoxPress:
        if (box_.IsOpen()) {
          box_.Key(SDLK_RETURN);
          repaintDue_ = true;
        }
        break;
    }
  }
}

}  // namespace ombrevale
