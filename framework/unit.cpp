// Definitions for unit.h: the common unit model and the window model.
#include "framework/unit.h"

#include <algorithm>
#include <utility>

#include "framework/detail.h"
#include "framework/form.h"
#include "framework/units.h"

namespace fw {

using detail::Access;

// ---- PropertyBag -----------------------------------------------------------

void PropertyBag::Set(std::string_view name, std::any value) {
  auto it = values_.find(name);
  if (it == values_.end()) {
    values_.emplace(std::string(name), std::move(value));
  } else {
    // The old value is released after the new one is in place, so that a
    // value whose release looks at the bag finds it consistent.
    std::any old = std::exchange(it->second, std::move(value));
  }
}

const std::any* PropertyBag::Get(std::string_view name) const {
  auto it = values_.find(name);
  return it == values_.end() ? nullptr : &it->second;
}

void PropertyBag::Remove(std::string_view name) {
  auto it = values_.find(name);
  if (it == values_.end()) return;
  std::any old = std::move(it->second);
  values_.erase(it);
}

// ---- Control ---------------------------------------------------------------

Control::Control(Window& window, const UnitDef& def)
    : kind_(def.kind), name_(def.name), window_(&window), page_(def.page), def_(&def) {}

Control::~Control() = default;

bool Control::Loaded() const {
  return window_->IsLoaded();
}

int Control::Left() const {
  return rect_.left;
}
int Control::Top() const {
  return rect_.top;
}
int Control::Width() const {
  return rect_.width;
}
int Control::Height() const {
  return rect_.height;
}
Rect Control::Geometry() const {
  return rect_;
}

void Control::SetGeometry(const Rect& r) {
  detail::RequireGui();
  if (!Loaded() || r == rect_) return;
  rect_ = r;
  Notify(Prop::Geometry);
}
void Control::SetLeft(int v) {
  SetGeometry({v, rect_.top, rect_.width, rect_.height});
}
void Control::SetTop(int v) {
  SetGeometry({rect_.left, v, rect_.width, rect_.height});
}
void Control::SetWidth(int v) {
  SetGeometry({rect_.left, rect_.top, v, rect_.height});
}
void Control::SetHeight(int v) {
  SetGeometry({rect_.left, rect_.top, rect_.width, v});
}

bool Control::Visible() const {
  return visible_;
}
void Control::SetVisible(bool v) {
  detail::RequireGui();
  if (!Loaded() || v == visible_) return;
  visible_ = v;
  Notify(Prop::Visible);
}
bool Control::Disabled() const {
  return disabled_;
}
void Control::SetDisabled(bool v) {
  detail::RequireGui();
  if (!Loaded() || v == disabled_) return;
  disabled_ = v;
  Notify(Prop::Disabled);
}

std::string Control::Text() const {
  detail::RequireGui();
  return text_;
}
void Control::SetText(std::string_view gbk) {
  detail::RequireGui();
  if (!Loaded() || gbk == text_) return;
  text_.assign(gbk);
  Notify(Prop::Text);
}

const Font& Control::GetFont() const {
  return font_;
}
void Control::SetFont(const Font& f) {
  detail::RequireGui();
  if (!Loaded() || f == font_) return;
  font_ = f;
  Notify(Prop::Font);
}
Colour Control::TextColour() const {
  return textColour_;
}
Colour Control::BackColour() const {
  return backColour_;
}
void Control::SetTextColour(Colour c) {
  detail::RequireGui();
  if (!Loaded() || c == textColour_) return;
  textColour_ = c;
  Notify(Prop::Colours);
}
void Control::SetBackColour(Colour c) {
  detail::RequireGui();
  if (!Loaded() || c == backColour_) return;
  backColour_ = c;
  Notify(Prop::Colours);
}

bool Control::Reachable() const {
  if (!Loaded()) return false;
  for (const Window* w = window_; w != nullptr; w = w->EmbeddedIn()) {
    if (!w->IsLoaded() || !w->Visible() || w->Minimised()) return false;
  }
  if (window_->Blocked()) return false;
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_ || c->disabled_) return false;
    if (c->parent_ != nullptr && c->parent_->kind_ == Kind::Tabs &&
        static_cast<const Tabs*>(c->parent_)->Current() != c->page_)
      return false;
  }
  return true;
}

void Control::ResetFromDefinition() {
  rect_ = def_->rect;
  visible_ = def_->visible;
  disabled_ = def_->disabled;
  text_.assign(def_->text);
  font_ = def_->font;
  textColour_ = def_->textColour;
  backColour_ = def_->backColour;
}

void Control::Clear() {
  properties_.Clear();
  rect_ = {};
  visible_ = false;
  disabled_ = false;
  text_.clear();
  font_ = {};
  textColour_ = kDefaultColour;
  backColour_ = kDefaultColour;
}

void Control::SetProperty(std::string_view name, std::any value) {
  detail::RequireGui();
  if (Loaded()) properties_.Set(name, std::move(value));
}
const std::any* Control::Property(std::string_view name) const {
  return properties_.Get(name);
}
void Control::RemoveProperty(std::string_view name) {
  detail::RequireGui();
  properties_.Remove(name);
}

void Control::Notify(Prop p) {
  if (!Loaded()) return;
  Access::RuntimeOf(*window_).backend().Changed(*this, p);
  const UnitChangeHook& watch = Access::Of(*window_).unitChange;
  if (!watch) return;
  // A copy: the hook may replace itself while it runs.
  const UnitChangeHook hook = watch;
  hook(*this, p);
}

// ---- Window ----------------------------------------------------------------

namespace {

std::unique_ptr<Control> MakeControl(Window& w, const UnitDef& u) {
  switch (u.kind) {
    case Kind::Label:
      return std::make_unique<Label>(w, u);
    case Kind::GroupBox:
      return std::make_unique<GroupBox>(w, u);
    case Kind::Edit:
      return std::make_unique<Edit>(w, u);
    case Kind::Button:
      return std::make_unique<Button>(w, u);
    case Kind::PictureButton:
      return std::make_unique<PictureButton>(w, u);
    case Kind::SuperButton:
      return std::make_unique<SuperButton>(w, u);
    case Kind::Radio:
      return std::make_unique<Radio>(w, u);
    case Kind::Combo:
      return std::make_unique<Combo>(w, u);
    case Kind::Tabs:
      return std::make_unique<Tabs>(w, u);
    case Kind::Timer:
      return std::make_unique<Timer>(w, u);
    case Kind::Grid:
      return std::make_unique<Grid>(w, u);
    case Kind::RichEdit:
      return std::make_unique<RichEdit>(w, u);
    case Kind::DropTarget:
      return std::make_unique<DropTarget>(w, u);
    case Kind::Picture:
      return std::make_unique<Picture>(w, u);
  }
  return std::make_unique<Label>(w, u);
}

// Clears the window's own state to the not-loaded values.
void ClearWindowState(detail::WindowState& s) {
  s.rect = {};
  s.visible = false;
  s.caption.clear();
  s.backColour = kDefaultColour;
  s.backImage = {};
  s.minimised = false;
  s.embeddedIn = nullptr;
  s.owner = nullptr;
  s.modal = false;
  s.layered = false;
  s.frame = {};
  s.programTimers.clear();
  s.properties.Clear();
  s.rawInput = nullptr;
  s.unitChange = nullptr;
}

}  // namespace

Window::Window(Runtime& runtime, const WindowDef& def)
    : runtime_(&runtime), def_(&def), name_(def.name), state_(std::make_unique<State>()) {
  State& s = *state_;
  for (const UnitDef& u : def.units) {
    std::unique_ptr<Control> c = MakeControl(*this, u);
    s.indexOf.emplace(c.get(), static_cast<int>(s.units.size()));
    s.byName.emplace(c->name(), c.get());
    if (c->kind() == Kind::Timer) s.timers.push_back(static_cast<Timer*>(c.get()));
    s.units.push_back(std::move(c));
  }
  for (const auto& c : s.units) {
    const UnitDef& u = Access::Def(*c);
    if (!u.parent.empty()) Access::SetParent(*c, s.byName.find(u.parent)->second);
    c->Clear();
  }
  for (const Binding& b : def.bindings) {
    const int index = b.unit.empty() ? -1 : s.indexOf.at(s.byName.find(b.unit)->second);
    s.bindings.emplace(std::make_pair(index, b.event), b);
  }
}

Window::~Window() = default;

bool Window::Load(const LoadOptions& options) {
  detail::RequireGui();
  State& s = *state_;
  detail::RuntimeState& rs = Access::Of(*runtime_);
  if (s.loaded || rs.ending) return false;
  Backend& backend = runtime_->backend();

  for (const auto& c : s.units) {
    c->Clear();
    c->ResetFromDefinition();
  }
  ClearWindowState(s);
  s.rect = {def_->left, def_->top, def_->width, def_->height};
  if (def_->flags.centred) {
    s.rect.left = (backend.ScreenWidth() - def_->width) / 2;
    s.rect.top = (backend.ScreenHeight() - def_->height) / 2;
  }
  s.caption.assign(def_->caption);
  s.backColour = def_->backColour;
  s.backImage = def_->backImage;
  // An owner that is not loaded has no view to stay above or to block.
  s.owner = options.owner == this || options.owner == nullptr || !options.owner->IsLoaded()
                ? nullptr
                : options.owner;
  s.modal = options.modal;
  s.destroying = false;
  s.loaded = true;
  if (!backend.CreateView(*this)) {
    s.loaded = false;
    for (const auto& c : s.units) c->Clear();
    ClearWindowState(s);
    return false;
  }
  const std::uint64_t generation = s.generation.fetch_add(1) + 1;
  if (s.modal && s.owner != nullptr) detail::ModalStarted(*this);

  auto sameInstance = [&] { return s.loaded && s.generation.load() == generation; };
  detail::Raise(*this, nullptr, Event::Created, {});
  if (sameInstance() && def_->flags.visibleWhenLoaded) SetVisible(true);
  if (s.modal) detail::Loop([&] { return !sameInstance(); }, std::nullopt, true);
  return true;
}

void Window::Destroy() {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded || s.destroying) return;
  s.destroying = true;
  detail::Raise(*this, nullptr, Event::Destroying, {});
  // Windows embedded in this one go first, each with its own Destroying.
  for (const auto& w : Access::Of(*runtime_).windows) {
    if (w->IsLoaded() && w->EmbeddedIn() == this) w->Destroy();
  }
  if (!s.loaded) return;  // torn down meanwhile (exit road)
  detail::TearDown(*this);
}

bool Window::IsLoaded() const {
  return state_->loaded;
}
std::uint64_t Window::Generation() const {
  return state_->generation.load();
}

int Window::Left() const {
  return state_->rect.left;
}
int Window::Top() const {
  return state_->rect.top;
}
int Window::Width() const {
  return state_->rect.width;
}
int Window::Height() const {
  return state_->rect.height;
}
Rect Window::Geometry() const {
  return state_->rect;
}

void Window::SetGeometry(const Rect& r) {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded || r == s.rect) return;
  const bool moved = r.left != s.rect.left || r.top != s.rect.top;
  s.rect = r;
  runtime_->backend().WindowChanged(*this, Prop::Geometry);
  // A Moved handler that moves its own window is not told about that again.
  if (moved && s.movedDepth == 0) {
    ++s.movedDepth;
    struct Guard {
      int& depth;
      ~Guard() { --depth; }
    } guard{s.movedDepth};
    detail::Raise(*this, nullptr, Event::Moved, {});
  }
}
void Window::SetLeft(int v) {
  SetGeometry({v, Top(), Width(), Height()});
}
void Window::SetTop(int v) {
  SetGeometry({Left(), v, Width(), Height()});
}
void Window::SetWidth(int v) {
  SetGeometry({Left(), Top(), v, Height()});
}
void Window::SetHeight(int v) {
  SetGeometry({Left(), Top(), Width(), v});
}

bool Window::Visible() const {
  return state_->visible;
}
void Window::SetVisible(bool v) {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded || v == s.visible) return;
  s.visible = v;
  runtime_->backend().WindowChanged(*this, Prop::Visible);
}

std::string Window::Caption() const {
  return state_->caption;
}
void Window::SetCaption(std::string_view gbk) {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded || gbk == s.caption) return;
  s.caption.assign(gbk);
  runtime_->backend().WindowChanged(*this, Prop::Text);
}

Colour Window::BackColour() const {
  return state_->backColour;
}
void Window::SetBackColour(Colour c) {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded || c == s.backColour) return;
  s.backColour = c;
  runtime_->backend().WindowChanged(*this, Prop::Colours);
}

const Image& Window::BackImage() const {
  return state_->backImage;
}
void Window::SetBackImage(const Image& image) {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded || image == s.backImage) return;
  s.backImage = image;
  runtime_->backend().WindowChanged(*this, Prop::Images);
}

void Window::PresentLayered(const Frame& frame) {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded) return;
  s.layered = true;
  s.frame = frame;
  runtime_->backend().WindowChanged(*this, Prop::Frame);
}
bool Window::Layered() const {
  return state_->layered;
}
const Frame& Window::LayeredFrame() const {
  return state_->frame;
}

void Window::SetProperty(std::string_view name, std::any value) {
  detail::RequireGui();
  if (state_->loaded) state_->properties.Set(name, std::move(value));
}
const std::any* Window::Property(std::string_view name) const {
  return state_->properties.Get(name);
}
void Window::RemoveProperty(std::string_view name) {
  detail::RequireGui();
  state_->properties.Remove(name);
}

void Window::StartTimer(int id, int periodMs, std::function<void()> tick) {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded) return;
  if (periodMs <= 0 || !tick) {
    StopTimer(id);
    return;
  }
  // A restarted timer is a new one, also when its old tick is running.
  s.programTimers[id] = {periodMs, runtime_->backend().NowMs() + periodMs, false,
                         std::make_shared<std::function<void()>>(std::move(tick))};
}
void Window::StopTimer(int id) {
  detail::RequireGui();
  state_->programTimers.erase(id);
}
bool Window::TimerRunning(int id) const {
  return state_->programTimers.count(id) != 0;
}

void Window::BeginUserMove() {
  detail::RequireGui();
  if (state_->loaded && state_->embeddedIn == nullptr)
    runtime_->backend().WindowChanged(*this, Prop::SystemMove);
}

void Window::SetRawInputHook(RawInputHook hook) {
  detail::RequireGui();
  if (state_->loaded) state_->rawInput = std::move(hook);
}
bool Window::HasRawInputHook() const {
  return static_cast<bool>(state_->rawInput);
}

void Window::SetUnitChangeHook(UnitChangeHook hook) {
  detail::RequireGui();
  if (state_->loaded) state_->unitChange = std::move(hook);
}

bool Window::Minimise() {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded || s.embeddedIn != nullptr) return false;
  if (!s.minimised) {
    s.minimised = true;
    runtime_->backend().WindowChanged(*this, Prop::Minimised);
  }
  return true;
}
bool Window::Minimised() const {
  return state_->minimised;
}

void Window::BringToFront() {
  detail::RequireGui();
  if (state_->loaded) runtime_->backend().WindowChanged(*this, Prop::ZOrder);
}

bool Window::EmbedIn(Window& parent, int left, int top, std::optional<int> width,
                     std::optional<int> height) {
  detail::RequireGui();
  State& s = *state_;
  if (!s.loaded || !parent.IsLoaded()) return false;
  for (const Window* p = &parent; p != nullptr; p = p->EmbeddedIn()) {
    if (p == this) return false;
  }
  s.embeddedIn = &parent;
  s.rect = {left, top, width.value_or(s.rect.width), height.value_or(s.rect.height)};
  s.minimised = false;
  runtime_->backend().WindowChanged(*this, Prop::Parent);
  return true;
}
Window* Window::EmbeddedIn() const {
  return state_->embeddedIn;
}

Control* Window::Find(std::string_view unitName) const {
  auto it = state_->byName.find(unitName);
  return it == state_->byName.end() ? nullptr : it->second;
}

bool Window::Blocked() const {
  return Access::Of(*runtime_).inputHolds > 0 || BlockedBy() != nullptr;
}

Window* Window::BlockedBy() const {
  const std::vector<Window*>& modals = Access::Of(*runtime_).modalsWithOwner;
  for (auto modal = modals.rbegin(); modal != modals.rend(); ++modal) {
    if (*modal == this) continue;
    for (const Window* w = this; w != nullptr; w = w->EmbeddedIn()) {
      if (w == (*modal)->Owner()) return *modal;
    }
  }
  return nullptr;
}

Window* Window::Owner() const {
  return state_->owner;
}
bool Window::Modal() const {
  return state_->modal;
}

namespace detail {

void TearDown(Window& window) {
  detail::WindowState& s = Access::Of(window);
  if (!s.loaded) return;
  s.loaded = false;
  s.generation.fetch_add(1);
  if (s.modal && s.owner != nullptr) ModalEnded(window);
  Access::RuntimeOf(window).backend().DestroyView(window);
  for (const auto& c : s.units) c->Clear();
  ClearWindowState(s);
  s.destroying = false;
}

}  // namespace detail

}  // namespace fw
