#include "backends/win32/PageAccessible.h"

#include <utility>

namespace ombrevale {
namespace {

HRESULT Text(const std::wstring& text, BSTR* out) {
  if (out == nullptr) return E_INVALIDARG;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocString(text.c_str());
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetId(VARIANT* out, long id) {
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = id;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

long RoleOf(PagePart::Kind kind) {
  switch (kind) {
    case PagePart::Kind::Vision:
      return ROLE_SYSTEM_GRAPHIC;
    case PagePart::Kind::Label:
      return ROLE_SYSTEM_STATICTEXT;
    case PagePart::Kind::Button:
      return ROLE_SYSTEM_PUSHBUTTON;
  }
  return ROLE_SYSTEM_CLIENT;
}

}  // namespace

PageAccessible::PageAccessible(HWND window, std::function<std::vector<PagePart>()> parts,
                               std::function<void()> press)
    : window_(window), parts_(std::move(parts)), press_(std::move(press)) {
  // The answers reach a screen reader in another process marshalled by COM, from this thread's
  // apartment; the window's message loop serves it.
  apartment_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

PageAccessible::~PageAccessible() {
  if (standard_ != nullptr) standard_->Release();
}

// The interfaces are named by __uuidof: oleacc's import library gives IID_IAccessible as an import
// to be reached through a pointer, which a plain reference would read as code.
LRESULT PageAccessible::Answer(WPARAM w, LPARAM l) {
  if (static_cast<LONG>(l) != OBJID_CLIENT || window_ == nullptr) return 0;
  return LresultFromObject(__uuidof(IAccessible), w, static_cast<IAccessible*>(this));
}

void PageAccessible::Disconnect() {
  window_ = nullptr;
  if (standard_ != nullptr) std::exchange(standard_, nullptr)->Release();
  // What a screen reader still holds of it answers that it is gone.
  CoDisconnectObject(static_cast<IAccessible*>(this), 0);
  if (std::exchange(apartment_, false)) CoUninitialize();
}

void PageAccessible::ButtonShown(bool shown) {
  if (window_ == nullptr) return;
  std::vector<PagePart> parts = parts_();
  const long button = ButtonId(parts);
  if (shown && button != 0) {
    NotifyWinEvent(EVENT_OBJECT_SHOW, window_, OBJID_CLIENT, button);
    if (GetFocus() == window_) NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, button);
  } else if (!shown && GetFocus() == window_) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, CHILDID_SELF);
  }
}

IAccessible* PageAccessible::Standard() {
  if (standard_ == nullptr && window_ != nullptr)
    CreateStdAccessibleObject(window_, OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(&standard_));
  return standard_;
}

const PagePart* PageAccessible::PartOf(const VARIANT& child, std::vector<PagePart>& parts,
                                       bool& valid) {
  parts = window_ != nullptr ? parts_() : std::vector<PagePart>{};
  valid = child.vt == VT_I4 && child.lVal >= 0 && child.lVal <= static_cast<long>(parts.size());
  if (!valid || child.lVal == CHILDID_SELF) return nullptr;
  return &parts[static_cast<size_t>(child.lVal - 1)];
}

long PageAccessible::ButtonId(const std::vector<PagePart>& parts) const {
  for (size_t i = 0; i < parts.size(); ++i)
    if (parts[i].kind == PagePart::Kind::Button) return static_cast<long>(i + 1);
  return 0;
}

HRESULT PageAccessible::QueryInterface(REFIID id, void** out) {
  if (out == nullptr) return E_POINTER;
  if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG PageAccessible::AddRef() {
  return ++references_;
}

ULONG PageAccessible::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT PageAccessible::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT PageAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  return E_NOTIMPL;
}
HRESULT PageAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT PageAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                               UINT*) {
  return E_NOTIMPL;
}

HRESULT PageAccessible::get_accParent(IDispatch** parent) {
  IAccessible* standard = Standard();
  return standard != nullptr ? standard->get_accParent(parent) : RPC_E_DISCONNECTED;
}

HRESULT PageAccessible::get_accChildCount(long* count) {
  if (count == nullptr) return E_POINTER;
  if (window_ == nullptr) return RPC_E_DISCONNECTED;
  *count = static_cast<long>(parts_().size());
  return S_OK;
}

HRESULT PageAccessible::get_accChild(VARIANT child, IDispatch** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  std::vector<PagePart> parts;
  bool valid = false;
  PartOf(child, parts, valid);
  // The parts are simple elements, answered through their parent with their ids.
  return valid ? S_FALSE : E_INVALIDARG;
}

HRESULT PageAccessible::get_accName(VARIANT child, BSTR* name) {
  if (IsSelf(child) && Standard() != nullptr) return standard_->get_accName(child, name);
  std::vector<PagePart> parts;
  bool valid = false;
  const PagePart* part = PartOf(child, parts, valid);
  return part != nullptr ? Text(part->name, name) : E_INVALIDARG;
}

HRESULT PageAccessible::get_accValue(VARIANT child, BSTR* value) {
  if (IsSelf(child) && Standard() != nullptr) return standard_->get_accValue(child, value);
  if (value != nullptr) *value = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT PageAccessible::get_accDescription(VARIANT child, BSTR* description) {
  if (IsSelf(child) && Standard() != nullptr)
    return standard_->get_accDescription(child, description);
  std::vector<PagePart> parts;
  bool valid = false;
  const PagePart* part = PartOf(child, parts, valid);
  return part != nullptr ? Text(part->description, description) : E_INVALIDARG;
}

HRESULT PageAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  if (IsSelf(child) && Standard() != nullptr) return standard_->get_accRole(child, role);
  std::vector<PagePart> parts;
  bool valid = false;
  const PagePart* part = PartOf(child, parts, valid);
  if (part == nullptr) return E_INVALIDARG;
  SetId(role, RoleOf(part->kind));
  return S_OK;
}

HRESULT PageAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  if (IsSelf(child) && Standard() != nullptr) return standard_->get_accState(child, state);
  std::vector<PagePart> parts;
  bool valid = false;
  const PagePart* part = PartOf(child, parts, valid);
  if (part == nullptr) return E_INVALIDARG;
  long bits = STATE_SYSTEM_READONLY;
  if (part->kind == PagePart::Kind::Button) {
    bits = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_DEFAULT;
    if (GetFocus() == window_) bits |= STATE_SYSTEM_FOCUSED;
  }
  SetId(state, bits);
  return S_OK;
}

HRESULT PageAccessible::get_accHelp(VARIANT, BSTR* help) {
  return Text(L"", help);
}

HRESULT PageAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  if (file != nullptr) *file = nullptr;
  if (topic != nullptr) *topic = 0;
  return S_FALSE;
}

HRESULT PageAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
  if (IsSelf(child) && Standard() != nullptr)
    return standard_->get_accKeyboardShortcut(child, keys);
  return Text(L"", keys);
}

HRESULT PageAccessible::get_accFocus(VARIANT* focus) {
  if (focus == nullptr) return E_POINTER;
  VariantInit(focus);
  if (window_ == nullptr || GetFocus() != window_) return S_FALSE;
  const long button = ButtonId(parts_());
  SetId(focus, button != 0 ? button : CHILDID_SELF);
  return S_OK;
}

HRESULT PageAccessible::get_accSelection(VARIANT* selection) {
  if (selection == nullptr) return E_POINTER;
  VariantInit(selection);
  return S_FALSE;
}

HRESULT PageAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (IsSelf(child) && Standard() != nullptr) return standard_->get_accDefaultAction(child, action);
  std::vector<PagePart> parts;
  bool valid = false;
  const PagePart* part = PartOf(child, parts, valid);
  if (part == nullptr) return E_INVALIDARG;
  return Text(part->kind == PagePart::Kind::Button ? L"Press" : L"", action);
}

HRESULT PageAccessible::accSelect(long flags, VARIANT child) {
  if (IsSelf(child) && Standard() != nullptr) return standard_->accSelect(flags, child);
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT PageAccessible::accLocation(long* x, long* y, long* w, long* h, VARIANT child) {
  if (IsSelf(child) && Standard() != nullptr) return standard_->accLocation(x, y, w, h, child);
  std::vector<PagePart> parts;
  bool valid = false;
  const PagePart* part = PartOf(child, parts, valid);
  if (part == nullptr || x == nullptr || y == nullptr || w == nullptr || h == nullptr)
    return E_INVALIDARG;
  POINT corner{part->box.x, part->box.y};
  ClientToScreen(window_, &corner);
  *x = corner.x;
  *y = corner.y;
  *w = part->box.w;
  *h = part->box.h;
  return S_OK;
}

HRESULT PageAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  VariantInit(end);
  std::vector<PagePart> parts;
  bool valid = false;
  PartOf(start, parts, valid);
  if (!valid) return E_INVALIDARG;
  const long count = static_cast<long>(parts.size());
  long to = 0;
  if (IsSelf(start)) {
    if (direction == NAVDIR_FIRSTCHILD)
      to = count > 0 ? 1 : 0;
    else if (direction == NAVDIR_LASTCHILD)
      to = count;
    else
      return Standard() != nullptr ? standard_->accNavigate(direction, start, end) : S_FALSE;
  } else if (direction == NAVDIR_NEXT) {
    to = start.lVal < count ? start.lVal + 1 : 0;
  } else if (direction == NAVDIR_PREVIOUS) {
    to = start.lVal - 1;
  }
  if (to <= 0) return S_FALSE;
  SetId(end, to);
  return S_OK;
}

HRESULT PageAccessible::accHitTest(long x, long y, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  VariantInit(child);
  if (window_ == nullptr) return RPC_E_DISCONNECTED;
  POINT at{x, y};
  ScreenToClient(window_, &at);
  RECT client{};
  GetClientRect(window_, &client);
  if (!PtInRect(&client, at)) return S_FALSE;
  // The last part drawn there: the button over the labels over the vision.
  const std::vector<PagePart> parts = parts_();
  long found = CHILDID_SELF;
  for (size_t i = 0; i < parts.size(); ++i)
    if (parts[i].box.Contains(at.x, at.y)) found = static_cast<long>(i + 1);
  SetId(child, found);
  return S_OK;
}

HRESULT PageAccessible::accDoDefaultAction(VARIANT child) {
  if (IsSelf(child) && Standard() != nullptr) return standard_->accDoDefaultAction(child);
  std::vector<PagePart> parts;
  bool valid = false;
  const PagePart* part = PartOf(child, parts, valid);
  if (part == nullptr) return E_INVALIDARG;
  if (part->kind != PagePart::Kind::Button) return DISP_E_MEMBERNOTFOUND;
  press_();
  return S_OK;
}

HRESULT PageAccessible::put_accName(VARIANT, BSTR) {
  return E_NOTIMPL;
}
HRESULT PageAccessible::put_accValue(VARIANT, BSTR) {
  return E_NOTIMPL;
}

}  // namespace ombrevale
