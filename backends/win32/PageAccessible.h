#pragma once

// The parts of the page the window draws itself, as screen readers ask for them through the
// system's accessibility interface: an IAccessible for the client area, answered at WM_GETOBJECT,
// whose children are the vision (a graphic named for what it shows), the labels (static texts
// whose name is their caption, read when asked and never announced as they change) and the calm
// start's button (a push button with its hint, focused while it shows, pressed by its default
// action). The client area's own name, place and neighbours are the system's object's. The menu
// bar and the version box are the system's own, and answer for themselves.

// clang-format off
#include "backends/win32/WindowsApi.h"
#include <oleacc.h>
// clang-format on

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "backends/win32/PagePart.h"

namespace ombrevale {

class PageAccessible final : public IAccessible {
 public:
  // For the client area of `window`: `parts` says what the page shows now, in the client area's
  // pixels; `press` presses the button, as a click on it does.
  PageAccessible(HWND window, std::function<std::vector<PagePart>()> parts,
                 std::function<void()> press);

  // The answer to WM_GETOBJECT for the client area; 0 for anything else, left to the system.
  LRESULT Answer(WPARAM w, LPARAM l);
  // The window has gone: what a screen reader still holds answers that it is no more. On the
  // window's thread, once.
  void Disconnect();
  // The button came or went: focus moves to it, or back to the client area.
  void ButtonShown(bool shown);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: not offered; screen readers call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override;

 private:
  ~PageAccessible();
  // The client area's own object, as the system makes it; null once disconnected.
  IAccessible* Standard();
  // The part a child id names (1 for the first), or null for the client area itself (and for an
  // id that names nothing, with `valid` false).
  const PagePart* PartOf(const VARIANT& child, std::vector<PagePart>& parts, bool& valid);
  long ButtonId(const std::vector<PagePart>& parts) const;

  std::atomic<ULONG> references_{1};
  HWND window_;
  std::function<std::vector<PagePart>()> parts_;
  std::function<void()> press_;
  IAccessible* standard_ = nullptr;
  bool apartment_ = false;  // whether this thread's COM apartment was entered for it
};

}  // namespace ombrevale
