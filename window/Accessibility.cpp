// The controls' names and values for screen readers: the controls that need them, Windows'
// standard objects wrapped to give them, and the answer to a screen reader's request.
#include "window/Accessibility.h"

#include <oleacc.h>

#include <array>
#include <string_view>
#include <utility>

#include "colors/SchemeColors.h"
#include "core/ControlIds.h"
#include "window/Com.h"
#include "window/Late.h"
#include "window/Painting.h"

namespace quil {

namespace {

// A control's own text is read into a buffer of this many bytes: the longest label of the dialog
// (the Plugins page's explanation) fits.
constexpr std::size_t kTextCapacity = 512;

// The controls named by a text of their own: the profile box, whose label is not the control
// before it (the help text beside the box is), and the three "&Del" buttons, of which the profile's
// and a page's show at the same time.
struct NamedControl {
  Page page;
  int id;
  std::string_view name;
};
constexpr std::array<NamedControl, 4> kNamedControls{{
    {Page::Main, kProfileBox, "Use Profile"},
    {Page::Main, kDeleteProfileButton, "Del profile"},
    {Page::Colors, kDeleteSchemeButton, "Del scheme"},
    {Page::Plugins, kDeletePluginsButton, "Del plugins"},
}};

std::string TextOf(HWND window) {
  std::string text(kTextCapacity, '\0');
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(kTextCapacity));
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

bool IsClass(HWND window, std::string_view name) {
  std::array<char, 32> buffer{};
  const int length = GetClassNameA(window, buffer.data(), static_cast<int>(buffer.size()));
  return length > 0 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, buffer.data(), length,
                                      name.data(), static_cast<int>(name.size())) == CSTR_EQUAL;
}

// The nearest static text before `control` among its siblings: the label that a control names
// itself by where other controls (such as buttons beside it) come between the two.
std::string NearestLabel(HWND control) {
  for (HWND w = GetWindow(control, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (!IsClass(w, "Static")) continue;
    const std::string text = TextOf(w);
    if (!text.empty()) return WithoutAccessMarks(text);
  }
  return {};
}

// "R 147, G 169, B 47"
std::string ColorValue(Color color) {
  return "R " + std::to_string(RedOf(color)) + ", G " + std::to_string(GreenOf(color)) + ", B " +
         std::to_string(BlueOf(color));
}

// The OLE functions the answers need, found on the first request.
using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using SysAllocStringLenFunction = BSTR(WINAPI*)(const OLECHAR*, UINT);

HRESULT ToBstr(const std::string& text, BSTR* result) {
  static const auto allocate = Late<SysAllocStringLenFunction>("oleaut32.dll", "SysAllocStringLen");
  if (!result) return E_POINTER;
  *result = nullptr;
  if (!allocate) return E_FAIL;
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  *result = allocate(wide.data(), static_cast<UINT>(wide.size()));
  return *result ? S_OK : E_OUTOFMEMORY;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// Windows' standard object for a control, giving the control's own name and value where the
// dialog has one; everything else is the standard object's answer.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(IAccessible* standard, const AccessibleControls& names, HWND control)
      : standard_(standard), names_(names), control_(control) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown. The window and enumeration interfaces are the standard object's, so that a screen
  // reader finds the window and the children.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    if (iid == __uuidof(IOleWindow) || iid == __uuidof(IEnumVARIANT)) {
      return standard_->QueryInterface(iid, object);
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      standard_->Release();
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  // IDispatch.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
  }

  // IAccessible: the name and value of the control itself are the dialog's.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (IsSelf(child)) {
      if (const auto own = names_.NameOf(control_)) return ToBstr(*own, name);
    }
    return standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (IsSelf(child)) {
      if (const auto own = names_.ValueOf(control_)) return ToBstr(*own, value);
    }
    return standard_->get_accValue(child, value);
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  LONG references_ = 1;
  IAccessible* standard_;
  const AccessibleControls& names_;
  HWND control_;
};

// The window property under which a wrapped control keeps its AccessibleControls.
constexpr char kOwnerProperty[] = "QuilAccessibleControls";

}  // namespace

void AccessibleControls::Attach(const DialogWindows& windows) {
  for (const NamedControl& named : kNamedControls) {
    Wrap(GetDlgItem(windows.Of(named.page), named.id), Naming::Text, std::string(named.name),
         false);
  }
  // Named by their labels, where the label is not the control before them: the plugin list (the
  // page's buttons come between) and the scheme box's edit field (inside the box).
  Wrap(GetDlgItem(windows.Of(Page::Plugins), kPluginList), Naming::Label, {}, false);
  Wrap(GetDlgItem(windows.Of(Page::Colors), kSchemeBox), Naming::Label, {}, false);

  const HWND colors = windows.Of(Page::Colors);
  for (int k = 1; k <= kStatusCount; ++k) {
    Wrap(GetDlgItem(colors, BoldStatusBox(k)), Naming::StatusBold, {}, false);
    Wrap(GetDlgItem(colors, ItalicStatusBox(k)), Naming::StatusItalic, {}, false);
  }
  // The swatches: named by their text, which for those whose label is painted in its place is
  // that label (the painting does not read the text, so not a pixel changes).
  for (HWND w = GetWindow(colors, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(w);
    if (!FindColorButton(id)) continue;
    const std::string_view painted = PaintedLabel(id);
    if (!painted.empty() && TextOf(w).empty()) SetWindowTextA(w, std::string(painted).c_str());
    Wrap(w, Naming::Own, {}, true);
  }
}

void AccessibleControls::Wrap(HWND window, Naming naming, std::string text, bool swatch) {
  if (!window || Find(window)) return;
  // A combo box's edit field, where the focus is, answers as the box does.
  if (IsClass(window, "ComboBox")) {
    Wrap(FindWindowExA(window, nullptr, "Edit", nullptr), naming, text, swatch);
  }
  SetPropA(window, kOwnerProperty, this);
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  controls_.push_back({window, previous, naming, std::move(text), swatch});
}

const AccessibleControls::Control* AccessibleControls::Find(HWND window) const {
  for (const Control& control : controls_) {
    if (control.window == window) return &control;
  }
  return nullptr;
}

std::optional<std::string> AccessibleControls::NameOf(HWND window) const {
  const Control* control = Find(window);
  if (!control || !IsWindow(window)) return std::nullopt;
  switch (control->naming) {
    case Naming::Text:
      return control->text;
    case Naming::Label: {
      // A combo box's edit field is labelled as the box is.
      const HWND parent = GetParent(window);
      return NearestLabel(IsClass(parent, "ComboBox") ? parent : window);
    }
    case Naming::StatusBold:
    case Naming::StatusItalic: {
      const HWND status =
          GetDlgItem(GetParent(window), StatusButton(StatusOfBox(GetDlgCtrlID(window))));
      return WithoutAccessMarks(TextOf(status)) +
             (control->naming == Naming::StatusBold ? " bold" : " italic");
    }
    case Naming::Own:
      break;
  }
  return std::nullopt;
}

std::optional<std::string> AccessibleControls::ValueOf(HWND window) const {
  const Control* control = Find(window);
  if (!control || !control->swatch) return std::nullopt;
  const auto button = FindColorButton(GetDlgCtrlID(window));
  if (!button) return std::nullopt;
  return ColorValue(app_.colors[button->entry]);
}

LRESULT AccessibleControls::Answer(const Control& control, WPARAM flags) {
  static const auto createStandard =
      Late<CreateStdAccessibleObjectFunction>("oleacc.dll", "CreateStdAccessibleObject");
  static const auto lresultFromObject =
      Late<LresultFromObjectFunction>("oleacc.dll", "LresultFromObject");
  // Handing an object to another process needs COM on this thread, the dialog's.
  UseCom();
  if (!createStandard || !lresultFromObject) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(createStandard(control.window, OBJID_CLIENT, __uuidof(IAccessible),
                            reinterpret_cast<void**>(&standard))) ||
      !standard) {
    return 0;
  }
  auto* named = new NamedAccessible(standard, *this, control.window);
  const LRESULT result = lresultFromObject(__uuidof(IAccessible), flags, named);
  named->Release();
  return result > 0 ? result : 0;
}

LRESULT CALLBACK AccessibleControls::Procedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  auto* owner = static_cast<AccessibleControls*>(GetPropA(window, kOwnerProperty));
  const Control* control = owner ? owner->Find(window) : nullptr;
  if (!control) return DefWindowProcA(window, message, wParam, lParam);
  const WNDPROC previous = control->previous;
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
    if (const LRESULT answer = owner->Answer(*control, wParam)) return answer;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(window, kOwnerProperty);
    std::erase_if(owner->controls_, [window](const Control& c) { return c.window == window; });
  }
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

}  // namespace quil
