// The window's events: what SDL delivers, handed to the window's handlers or kept by the window
// itself (repaints, fullscreen, the menu strip, the prompt's button, a new desktop scale), and the
// box's own round of events while it is open.

#include "backends/sdl/window/KeyMap.h"
#include "backends/sdl/window/SdlDesktop.h"

namespace ombrevale {

void SdlDesktop::PumpEvents(WindowEvents& events) {
  // The player changed the desktop's scale: the window re-fits.
  if (settings_->Changed() && FollowDesktopScale()) {
    FitWindowToScale();
    repaintDue_ = wholeWindowDue_ = true;
  }
  ServeAccess(&events);
  SDL_Event event;
  while (!events.Ended()) {
    // A close that came while the box was open takes effect as it closes, before what follows.
    if (closeAsked_) {
      closeAsked_ = false;
      events.Unload();
      break;
    }
    if (SDL_PollEvent(&event) == 0) break;
    Dispatch(event, events);
  }
  if (repaintDue_ && !events.Ended()) Repaint();
  PublishAccess();
}

bool SdlDesktop::WindowOwn(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT) {
    switch (event.window.event) {
      case SDL_WINDOWEVENT_SIZE_CHANGED:
      case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        // Another screen may have another size, and on Wayland another output another scale.
        if ((event.window.event == SDL_WINDOWEVENT_DISPLAY_CHANGED || settings_->Changed()) &&
            FollowDesktopScale()) {
          FitWindowToScale();
        }
        repaintDue_ = wholeWindowDue_ = true;
        return true;
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SHOWN:
      case SDL_WINDOWEVENT_RESTORED:
      case SDL_WINDOWEVENT_MAXIMIZED:
        repaintDue_ = wholeWindowDue_ = true;
        return true;
      default:
        return false;
    }
  }
  if (event.type == SDL_KEYDOWN && IsFullscreenKey(event.key)) {
    fullscreen_.Toggle();
    repaintDue_ = wholeWindowDue_ = true;
    return true;
  }
  return false;
}

void SdlDesktop::Dispatch(const SDL_Event& event, WindowEvents& events) {
  if (WindowOwn(event)) return;
  switch (event.type) {
    case SDL_QUIT:
      events.Unload();
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        closeQuitPending_ = true;  // SDL follows it with a quit: the same close
        events.Unload();
      } else if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
        repaintDue_ |= menu_.Hover(-1);
      }
      break;
    case SDL_KEYDOWN: {
      const int16_t keyCode = VirtualKeyCode(event.key.keysym);
      // Alt with the first letter of an entry's caption clicks that entry, as a menu bar's
      // access key does; the key then goes no further.
      if (const auto entry =
              menu_.AccessKey(keyCode, event.key.keysym.mod, event.key.repeat != 0)) {
        events.MenuClick(*entry);
        break;
      }
      int16_t code = keyCode;
      if (code != 0) events.KeyDown(code, ShiftBits(event.key.keysym.mod));
      break;
    }
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (!PromptPointer(event, events)) MenuPointer(event, events);
      break;
    default:
      break;
  }
}

void SdlDesktop::MenuPointer(const SDL_Event& event, WindowEvents& events) {
  if (event.type == SDL_MOUSEMOTION) {
    const SDL_Point p = ToClient(event.motion.x, event.motion.y);
    repaintDue_ |= menu_.Hover(menu_.EntryAt(p.x, p.y));
    return;
  }
  if (event.button.button != SDL_BUTTON_LEFT) return;
  const SDL_Point p = ToClient(event.button.x, event.button.y);
  if (event.type == SDL_MOUSEBUTTONDOWN) {
    menu_.Press(menu_.EntryAt(p.x, p.y));
    menu_.Hover(menu_.Pressed());
    repaintDue_ = true;
    return;
  }
  if (menu_.Pressed() < 0) return;
  const int entry = menu_.EntryAt(p.x, p.y);
  const bool clicked = entry == menu_.Pressed();
  menu_.Press(-1);
  menu_.Hover(entry);
  Repaint();  // the entry pops up again before the menu's action runs
  if (clicked) events.MenuClick(entry);
}

bool SdlDesktop::PromptPointer(const SDL_Event& event, WindowEvents& events) {
  if (!prompt_.Shown()) return false;
  if (event.type == SDL_MOUSEMOTION) {
    const SDL_Point p = ToClient(event.motion.x, event.motion.y);
    if (!prompt_.PointerMove(p.x, p.y)) return false;
    repaintDue_ = true;
    return true;
  }
  if (event.button.button != SDL_BUTTON_LEFT) return false;
  const SDL_Point p = ToClient(event.button.x, event.button.y);
  if (event.type == SDL_MOUSEBUTTONDOWN) {
    if (!prompt_.PointerDown(p.x, p.y)) return false;
    repaintDue_ = true;
    return true;
  }
  bool pressed = false;
  if (!prompt_.PointerUp(p.x, p.y, pressed)) return false;
  Repaint();  // the button pops up again before the page goes on
  if (pressed) events.PromptClick();
  return true;
}

void SdlDesktop::MessageBox(std::string_view title, std::string_view text) {
  RunBox(title, text, std::nullopt);
}

void SdlDesktop::MessageBoxUntil(std::string_view title, std::string_view text, uint32_t closeAt) {
  RunBox(title, text, closeAt);
}

void SdlDesktop::RunBox(std::string_view title, std::string_view text,
                        std::optional<uint32_t> closeAt) {
  box_.Open(title, text);
  menu_.Release();
  Repaint();
  while (box_.IsOpen()) {
    SDL_Event event;
    if (closeAt) {
      const auto left = static_cast<int32_t>(*closeAt - clock_.timeGetTime());
      if (left <= 0) {
        box_.Key(SDLK_RETURN);  // as OK
        break;
      }
      if (SDL_WaitEventTimeout(&event, left) == 0) continue;
    } else if (SDL_WaitEvent(&event) == 0) {
      break;  // the event queue itself failed: nothing to wait on
    }
    DispatchModal(event);
    ServeAccess(nullptr);
    if (repaintDue_ && box_.IsOpen()) Repaint();
  }
  // Input for the window meanwhile was the box's; the pointer may have moved.
  HoverUnderPointer();
  Repaint();
}

void SdlDesktop::DispatchModal(const SDL_Event& event) {
  if (WindowOwn(event)) return;
  switch (event.type) {
    case SDL_QUIT:
      if (closeQuitPending_) {
        closeQuitPending_ = false;  // the close's own quit: the close waits for the box
      } else {
        closeAsked_ = true;  // a signal to end: at once, box or not
        box_.Key(SDLK_ESCAPE);
      }
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        closeAsked_ = closeQuitPending_ = true;
      } else if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
        box_.PointerMove(-1, -1);
        repaintDue_ = true;
      }
      break;
    case SDL_KEYDOWN:
      box_.Key(event.key.keysym.sym);
      break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      BoxPointer(event);
      break;
    default:
      break;
  }
}

void SdlDesktop::BoxPointer(const SDL_Event& event) {
  if (event.type == SDL_MOUSEMOTION) {
    const SDL_Point p = ToClient(event.motion.x, event.motion.y);
    box_.PointerMove(p.x, p.y);
    repaintDue_ = true;
    return;
  }
  if (event.button.button != SDL_BUTTON_LEFT) return;
  const SDL_Point p = ToClient(event.button.x, event.button.y);
  if (event.type == SDL_MOUSEBUTTONDOWN)
    box_.PointerDown(p.x, p.y);
  else
    box_.PointerUp(p.x, p.y);
  repaintDue_ = true;
}

}  // namespace ombrevale
