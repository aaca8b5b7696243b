// Window services over the framework; see user.h.
#include "skin/user.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "framework/input.h"
#include "framework/runtime.h"
#include "framework/units.h"
#include "platform/codepage.h"
#include "skin/text.h"

namespace skin {

namespace {

// One handle: the instance it names, by names and generation, so that a
// handle of a destroyed window (or of an ended runtime) never reaches
// freed memory: it is looked up anew on every use.
struct Entry {
  std::string window;
  std::string unit;  // empty for the window itself
  std::uint64_t generation = 0;
  WndProc proc = &DefWindowProc;
};

std::map<Hwnd, Entry>& Entries() {
  static std::map<Hwnd, Entry> entries;
  return entries;
}
Hwnd g_nextHandle = 0x100;

Hwnd g_focus = 0;
Hwnd g_capture = 0;
Hwnd g_enabling = 0;  // the unit EnableWindow is changing, which sends WM_ENABLE itself
Hwnd g_tracked = 0;
Hwnd g_caretOwner = 0;

fw::Window* LiveWindow(const Entry& e) {
  if (!fw::OnGuiThread()) return nullptr;
  fw::Window* w = fw::Runtime::Current().FindWindow(e.window);
  if (w == nullptr || !w->IsLoaded() || w->Generation() != e.generation) return nullptr;
  return w;
}

const Entry* Find(Hwnd hwnd) {
  auto it = Entries().find(hwnd);
  return it == Entries().end() ? nullptr : &it->second;
}

// Forgets the handles of instances that are gone.
void Prune() {
  auto& all = Entries();
  for (auto it = all.begin(); it != all.end();) {
    it = LiveWindow(it->second) == nullptr ? all.erase(it) : std::next(it);
  }
}

Hwnd Handle(fw::Window& window, std::string_view unit) {
  if (!window.IsLoaded()) return 0;
  const std::uint64_t generation = window.Generation();
  for (const auto& [h, e] : Entries()) {
    if (e.generation == generation && e.window == window.name() && e.unit == unit) return h;
  }
  Prune();
  const Hwnd h = g_nextHandle++;
  Entries().emplace(h, Entry{window.name(), std::string(unit), generation, &DefWindowProc});
  return h;
}

// The direct children of a window or unit, in form order (bottom first).
std::vector<fw::Control*> Children(fw::Window& window, const fw::Control* parent) {
  std::vector<fw::Control*> out;
  for (const fw::UnitDef& def : window.definition().units) {
    fw::Control* c = window.Find(def.name);
    if (c == nullptr || c->parent() != parent) continue;
    if (c->kind() == fw::Kind::Timer || c->kind() == fw::Kind::DropTarget) continue;
    out.push_back(c);
  }
  return out;
}

// The top-left corner of a unit's client area in screen coordinates.
Point Origin(const fw::Control& unit) {
  Point p{unit.window().Left() + unit.Left(), unit.window().Top() + unit.Top()};
  for (const fw::Control* c = unit.parent(); c != nullptr; c = c->parent()) {
    p.x += c->Left();
    p.y += c->Top();
  }
  return p;
}

bool IsButtonKind(fw::Kind k) {
  return k == fw::Kind::Button || k == fw::Kind::PictureButton || k == fw::Kind::SuperButton;
}

// The font handle of a unit: its font as a GDI description, kept on the
// unit while it lives; 0 for the default font.
Hfont FontOf(fw::Control& unit) {
  const fw::Font& f = unit.GetFont();
  if (f.face.empty() && f.size <= 0) return nullptr;
  auto font = std::make_shared<LogFont>();
  if (f.size > 0) {
    const double pixels = f.unit == fw::FontUnit::Pixels ? f.size : f.size * 96.0 / 72.0;
    font->height = -static_cast<int>(std::lround(pixels));
  }
  font->weight = f.bold ? 700 : 400;
  font->italic = f.italic ? 1 : 0;
  font->underline = f.underline ? 1 : 0;
  font->strikeOut = f.strikeOut ? 1 : 0;
  std::memcpy(font->faceName, f.face.data(), std::min(f.face.size(), sizeof font->faceName));
  const LogFont* handle = font.get();
  unit.SetProperty("Skin_Font", std::shared_ptr<const LogFont>(std::move(font)));
  return handle;
}

// Removes the last character (one or two GBK bytes) of a text.
void DropLastCharacter(std::string& gbk) {
  if (gbk.empty()) return;
  std::size_t i = 0;
  std::size_t last = 0;
  while (i < gbk.size()) {
    last = i;
    i += platform::IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size() ? 2 : 1;
  }
  gbk.erase(last);
}

LResult UnitDefault(fw::Control& unit, Hwnd hwnd, unsigned message, WParam w, LParam l) {
  switch (message) {
    case WM_GETFONT:
      return reinterpret_cast<LResult>(FontOf(unit));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (IsButtonKind(unit.kind()) && unit.Reachable()) g_capture = hwnd;
      if (unit.kind() == fw::Kind::Edit && unit.Reachable()) SetFocus(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      if (!IsButtonKind(unit.kind()) || g_capture != hwnd) return 0;
      g_capture = 0;
      const int x = PointX(l);
      const int y = PointY(l);
      if (x >= 0 && y >= 0 && x < unit.Width() && y < unit.Height()) fw::input::Click(unit);
      return 0;
    }
    default:
      break;
  }
  if (unit.kind() != fw::Kind::Edit) return 0;
  auto& edit = static_cast<fw::Edit&>(unit);
  std::string text = edit.Text();
  switch (message) {
    case WM_CHAR:
      if (w == 0x08) {
        DropLastCharacter(text);
      } else if (w >= 0x20 && w <= 0xFF) {
        text.push_back(static_cast<char>(w));
      } else {
        return 0;
      }
      fw::input::EditText(edit, text);
      return 0;
    case WM_IME_CHAR:
      if (w > 0xFF) text.push_back(static_cast<char>((w >> 8) & 0xFF));
      text.push_back(static_cast<char>(w & 0xFF));
      fw::input::EditText(edit, text);
      return 0;
    case WM_PASTE:
      fw::input::EditText(edit, text + fw::ClipboardText());
      return 0;
    case WM_SETTEXT:
      edit.SetText(l == 0 ? std::string_view() : reinterpret_cast<const char*>(l));
      return 1;
    default:
      return 0;
  }
}

}  // namespace

// ---- Handles ----------------------------------------------------------------

void ForgetHandles() {
  Entries().clear();
  g_focus = g_capture = g_tracked = g_caretOwner = g_enabling = 0;
}

Hwnd HandleOf(fw::Window& window) {
  return Handle(window, {});
}

Hwnd HandleOf(fw::Control& unit) {
  return Handle(unit.window(), unit.name());
}

fw::Window* WindowOf(Hwnd hwnd) {
  const Entry* e = Find(hwnd);
  return e == nullptr || !e->unit.empty() ? nullptr : LiveWindow(*e);
}

fw::Control* ControlOf(Hwnd hwnd) {
  const Entry* e = Find(hwnd);
  if (e == nullptr || e->unit.empty()) return nullptr;
  fw::Window* w = LiveWindow(*e);
  return w == nullptr ? nullptr : w->Find(e->unit);
}

int IsWindow(Hwnd hwnd) {
  const Entry* e = Find(hwnd);
  return e != nullptr && LiveWindow(*e) != nullptr ? 1 : 0;
}

// ---- Geometry and order -----------------------------------------------------

bool GetWindowRect(Hwnd hwnd, Rect* rect) {
  if (rect == nullptr) return false;
  if (fw::Window* w = WindowOf(hwnd)) {
    Point o{w->Left(), w->Top()};
    for (const fw::Window* host = w->EmbeddedIn(); host != nullptr; host = host->EmbeddedIn()) {
      o.x += host->Left();
      o.y += host->Top();
    }
    *rect = {o.x, o.y, o.x + w->Width(), o.y + w->Height()};
    return true;
  }
  if (fw::Control* c = ControlOf(hwnd)) {
    const Point o = Origin(*c);
    *rect = {o.x, o.y, o.x + c->Width(), o.y + c->Height()};
    return true;
  }
  return false;
}

bool ScreenToClient(Hwnd hwnd, Point* point) {
  Rect r;
  if (point == nullptr || !GetWindowRect(hwnd, &r)) return false;
  point->x -= r.left;
  point->y -= r.top;
  return true;
}

Hwnd GetParent(Hwnd hwnd) {
  fw::Control* c = ControlOf(hwnd);
  if (c == nullptr) {
    fw::Window* w = WindowOf(hwnd);
    return w != nullptr && w->EmbeddedIn() != nullptr ? HandleOf(*w->EmbeddedIn()) : 0;
  }
  return c->parent() != nullptr ? HandleOf(*c->parent()) : HandleOf(c->window());
}

Hwnd GetWindow(Hwnd hwnd, unsigned command) {
  if (command == GW_CHILD) {
    fw::Window* w = WindowOf(hwnd);
    fw::Control* c = w == nullptr ? ControlOf(hwnd) : nullptr;
    if (w == nullptr && c == nullptr) return 0;
    const std::vector<fw::Control*> kids = Children(w != nullptr ? *w : c->window(), c);
    return kids.empty() ? 0 : HandleOf(*kids.back());
  }
  if (command == GW_HWNDNEXT) {
    fw::Control* c = ControlOf(hwnd);
    if (c == nullptr) return 0;
    const std::vector<fw::Control*> siblings = Children(c->window(), c->parent());
    auto it = std::find(siblings.begin(), siblings.end(), c);
    return it == siblings.begin() || it == siblings.end() ? 0 : HandleOf(**std::prev(it));
  }
  return 0;
}

bool SetWindowPos(Hwnd hwnd, Hwnd, int x, int y, int width, int height, unsigned flags) {
  fw::Window* w = WindowOf(hwnd);
  fw::Control* c = w == nullptr ? ControlOf(hwnd) : nullptr;
  if (w == nullptr && c == nullptr) return false;
  fw::Rect g = w != nullptr ? w->Geometry() : c->Geometry();
  if ((flags & SWP_NOMOVE) == 0) {
    g.left = x;
    g.top = y;
  }
  if ((flags & SWP_NOSIZE) == 0) {
    g.width = width;
    g.height = height;
  }
  if (w != nullptr) {
    w->SetGeometry(g);
  } else {
    c->SetGeometry(g);
  }
  return true;
}

bool EnableWindow(Hwnd hwnd, bool enable) {
  fw::Control* c = ControlOf(hwnd);
  if (c == nullptr) return false;
  const bool wasDisabled = c->Disabled();
  const Hwnd outer = std::exchange(g_enabling, hwnd);
  c->SetDisabled(!enable);
  g_enabling = outer;
  SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

void SendEnableOnFrameworkChanges(Hwnd window) {
  fw::Window* w = WindowOf(window);
  if (w == nullptr) return;
  w->SetUnitChangeHook([](fw::Control& unit, fw::Prop what) {
    if (what != fw::Prop::Disabled) return;
    const Hwnd hwnd = HandleOf(unit);
    if (hwnd != g_enabling) SendMessage(hwnd, WM_ENABLE, unit.Disabled() ? 0 : 1, 0);
  });
}

int GetWindowTextLength(Hwnd hwnd) {
  return static_cast<int>(GetWindowText(hwnd).size());
}

std::string GetWindowText(Hwnd hwnd) {
  if (fw::Control* c = ControlOf(hwnd)) return c->Text();
  if (fw::Window* w = WindowOf(hwnd)) return w->Caption();
  return {};
}

// ---- Properties -----------------------------------------------------------------

bool SetProp(Hwnd hwnd, std::string_view name, std::any value) {
  if (fw::Control* c = ControlOf(hwnd)) {
    c->SetProperty(name, std::move(value));
    return true;
  }
  if (fw::Window* w = WindowOf(hwnd)) {
    w->SetProperty(name, std::move(value));
    return true;
  }
  return false;
}

const std::any* GetPropValue(Hwnd hwnd, std::string_view name) {
  if (fw::Control* c = ControlOf(hwnd)) return c->Property(name);
  if (fw::Window* w = WindowOf(hwnd)) return w->Property(name);
  return nullptr;
}

std::intptr_t GetProp(Hwnd hwnd, std::string_view name) {
  const std::any* v = GetPropValue(hwnd, name);
  if (v == nullptr) return 0;
  if (const auto* i = std::any_cast<int>(v)) return *i;
  if (const auto* i = std::any_cast<std::int64_t>(v)) return static_cast<std::intptr_t>(*i);
  if (const auto* i = std::any_cast<std::intptr_t>(v)) return *i;
  if (const auto* i = std::any_cast<std::uint32_t>(v)) return static_cast<std::intptr_t>(*i);
  if (const auto* b = std::any_cast<bool>(v)) return *b ? 1 : 0;
  return 0;
}

void RemoveProp(Hwnd hwnd, std::string_view name) {
  if (fw::Control* c = ControlOf(hwnd)) {
    c->RemoveProperty(name);
  } else if (fw::Window* w = WindowOf(hwnd)) {
    w->RemoveProperty(name);
  }
}

// ---- Window procedures ----------------------------------------------------------

WndProc GetWindowProc(Hwnd hwnd) {
  auto it = Entries().find(hwnd);
  if (it == Entries().end() || LiveWindow(it->second) == nullptr) return nullptr;
  return it->second.proc;
}

WndProc SetWindowProc(Hwnd hwnd, WndProc proc) {
  auto it = Entries().find(hwnd);
  if (it == Entries().end() || LiveWindow(it->second) == nullptr || proc == nullptr) return nullptr;
  return std::exchange(it->second.proc, proc);
}

LResult CallWindowProc(WndProc proc, Hwnd hwnd, unsigned message, WParam w, LParam l) {
  return proc == nullptr ? 0 : proc(hwnd, message, w, l);
}

LResult SendMessage(Hwnd hwnd, unsigned message, WParam w, LParam l) {
  const WndProc proc = GetWindowProc(hwnd);
  return proc == nullptr ? 0 : proc(hwnd, message, w, l);
}

LResult DefWindowProc(Hwnd hwnd, unsigned message, WParam w, LParam l) {
  if (fw::Control* c = ControlOf(hwnd)) return UnitDefault(*c, hwnd, message, w, l);
  fw::Window* window = WindowOf(hwnd);
  if (window == nullptr) return 0;
  if (message == WM_NCLBUTTONDOWN && w == HTCAPTION) window->BeginUserMove();
  return 0;
}

// ---- Focus, mouse, caret, timers ----------------------------------------------

Hwnd SetFocus(Hwnd hwnd) {
  const Hwnd old = IsWindow(g_focus) != 0 ? g_focus : 0;
  if (hwnd == old) return old;
  if (hwnd != 0 && IsWindow(hwnd) == 0) return old;
  if (old != 0) SendMessage(old, WM_KILLFOCUS, static_cast<WParam>(hwnd), 0);
  g_focus = hwnd;
  if (hwnd != 0) SendMessage(hwnd, WM_SETFOCUS, static_cast<WParam>(old), 0);
  return old;
}

Hwnd GetFocus() {
  return IsWindow(g_focus) != 0 ? g_focus : 0;
}

bool TrackMouseEvent(Hwnd hwnd, unsigned flags) {
  if (IsWindow(hwnd) == 0) return false;
  if ((flags & TME_LEAVE) != 0) g_tracked = hwnd;
  return true;
}

Hwnd TrackedMouseLeave() {
  return IsWindow(g_tracked) != 0 ? g_tracked : 0;
}

bool ReleaseCapture() {
  g_capture = 0;
  return true;
}

Hwnd GetCapture() {
  return IsWindow(g_capture) != 0 ? g_capture : 0;
}

bool CreateCaret(Hwnd hwnd, int, int, int) {
  if (IsWindow(hwnd) == 0) return false;
  g_caretOwner = hwnd;
  return true;
}

bool GetCaretPos(Point* point) {
  if (point == nullptr) return false;
  *point = {};
  fw::Control* edit = ControlOf(GetFocus());
  if (edit == nullptr || edit->kind() != fw::Kind::Edit) return true;
  // An edit keeps its caret after its text.
  float advance = 0;
  if (TextRasteriser* text = CurrentTextRasteriser()) {
    TextStyle style;
    const fw::Font& f = edit->GetFont();
    style.family = f.face.empty() ? std::string("宋体") : platform::GbkToUtf8(f.face);
    if (f.size > 0)
      style.pixels = static_cast<float>(f.unit == fw::FontUnit::Pixels ? f.size : f.size * 96 / 72);
    style.bold = f.bold;
    advance =
        text->Advance(platform::GbkToUtf16(static_cast<const fw::Edit*>(edit)->TextRef()), style);
  }
  point->x = 1 + static_cast<int>(advance);
  point->y = 1;
  return true;
}

bool SetTimer(Hwnd hwnd, std::uintptr_t id, int periodMs, TimerProc proc) {
  fw::Window* w = WindowOf(hwnd);
  if (w == nullptr) {
    fw::Control* c = ControlOf(hwnd);
    if (c == nullptr) return false;
    w = &c->window();
  }
  if (proc == nullptr || periodMs <= 0) return false;
  w->StartTimer(static_cast<int>(id), periodMs, [hwnd, id, proc] {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    proc(hwnd, WM_TIMER, id,
         static_cast<std::uint32_t>(
             std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
  });
  return true;
}

// ---- Fonts of controls -----------------------------------------------------------

int GetObject(Hfont font, int size, LogFont* out) {
  if (font == nullptr || out == nullptr || size < static_cast<int>(sizeof(LogFont))) return 0;
  *out = *font;
  return static_cast<int>(sizeof(LogFont));
}

// ---- Window classes --------------------------------------------------------------

namespace {
std::map<std::string, std::pair<std::uint16_t, WndClassEx>, std::less<>>& Classes() {
  static std::map<std::string, std::pair<std::uint16_t, WndClassEx>, std::less<>> classes;
  return classes;
}
}  // namespace

std::uint16_t RegisterClassEx(const WndClassEx& cls) {
  if (cls.size != 48 || cls.className.empty() || cls.windowProc == nullptr) return 0;
  static std::uint16_t nextAtom = 0xC000;
  auto [it, added] = Classes().try_emplace(cls.className, nextAtom, cls);
  if (!added) return 0;
  return nextAtom++;
}

const WndClassEx* FindClass(std::string_view name) {
  auto it = Classes().find(name);
  return it == Classes().end() ? nullptr : &it->second.second;
}

std::intptr_t GetModuleHandle() {
  return 0x00400000;
}

std::intptr_t LoadCursor(std::intptr_t instance, std::intptr_t id) {
  return instance == 0 ? id : 0;
}

}  // namespace skin
