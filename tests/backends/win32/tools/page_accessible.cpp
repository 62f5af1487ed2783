// Reads the program's window as a screen reader does on Windows, through the system's
// accessibility interface (oleacc): page_accessible TITLE prints the window's object and, under
// it, its client area's parts (role, name, description, state, default action, place), a line
// each, as UTF-8; page_accessible TITLE press also does the push button's default action.
// Status 1 when there is no such window, 3 when the system answers with no object for it.

#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  if (text == nullptr) return "";
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(length > 0 ? length - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
  return out;
}

// A text the object answers, or "" where it has none.
template <typename Get>
std::string Answer(Get get) {
  BSTR text = nullptr;
  if (get(&text) != S_OK || text == nullptr) return "";
  std::string out = Utf8(text);
  SysFreeString(text);
  return out;
}

std::string RoleText(IAccessible* object, VARIANT child) {
  VARIANT role;
  VariantInit(&role);
  if (object->get_accRole(child, &role) != S_OK || role.vt != VT_I4) return "?";
  wchar_t text[128] = {};
  GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
  return Utf8(text);
}

std::string StateText(IAccessible* object, VARIANT child) {
  VARIANT state;
  VariantInit(&state);
  if (object->get_accState(child, &state) != S_OK || state.vt != VT_I4) return "";
  std::string out;
  for (DWORD bit = 1; bit != 0 && bit <= static_cast<DWORD>(state.lVal); bit <<= 1) {
    if ((state.lVal & bit) == 0) continue;
    wchar_t text[128] = {};
    GetStateTextW(bit, text, 128);
    out += (out.empty() ? "" : ", ") + Utf8(text);
  }
  return out;
}

// One line for the object's child (CHILDID_SELF: the object itself).
void Print(IAccessible* object, long id, int depth) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  std::string line(2 * depth, ' ');
  line += '[';
  line += RoleText(object, child);
  line += "] \"";
  line += Answer([&](BSTR* t) { return object->get_accName(child, t); });
  line += '"';
  const std::string description =
      Answer([&](BSTR* t) { return object->get_accDescription(child, t); });
  if (!description.empty()) line += " (" + description + ")";
  const std::string action =
      Answer([&](BSTR* t) { return object->get_accDefaultAction(child, t); });
  if (!action.empty()) line += " action=" + action;
  const std::string states = StateText(object, child);
  if (!states.empty()) line += " {" + states + "}";
  long x = 0, y = 0, w = 0, h = 0;
  if (object->accLocation(&x, &y, &w, &h, child) == S_OK)
    line += " at " + std::to_string(w) + "x" + std::to_string(h);
  std::printf("%s\n", line.c_str());
}

// Does the default action of the client area's push button: whether there was one.
bool PressButton(IAccessible* client, long count) {
  for (long id = 1; id <= count; ++id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    VARIANT role;
    VariantInit(&role);
    if (client->get_accRole(child, &role) != S_OK || role.vt != VT_I4 ||
        role.lVal != ROLE_SYSTEM_PUSHBUTTON)
      continue;
    return client->accDoDefaultAction(child) == S_OK;
  }
  return false;
}

}  // namespace

// The interface is named by __uuidof, not IID_IAccessible, which oleacc's import library gives as
// an import that a plain reference reads wrong.
int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HWND window = FindWindowW(nullptr, argv[1]);
  if (window == nullptr) return 1;
  CoInitialize(nullptr);
  IAccessible* frame = nullptr;
  if (AccessibleObjectFromWindow(window, OBJID_WINDOW, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&frame)) == S_OK) {
    Print(frame, CHILDID_SELF, 0);
    frame->Release();
  }
  IAccessible* client = nullptr;
  if (AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&client)) != S_OK)
    return 3;
  long count = 0;
  client->get_accChildCount(&count);
  Print(client, CHILDID_SELF, 1);
  for (long id = 1; id <= count; ++id) Print(client, id, 2);
  VARIANT focus;
  VariantInit(&focus);
  if (client->get_accFocus(&focus) == S_OK && focus.vt == VT_I4)
    std::printf("focus: %ld\n", focus.lVal);
  int status = 0;
  if (argc > 2 && std::wstring(argv[2]) == L"press" && !PressButton(client, count)) status = 4;
  client->Release();
  CoUninitialize();
  return status;
}
