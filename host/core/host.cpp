#include "host/core/host.h"

#include <algorithm>
#include <cstring>

#include "host/core/rules.h"


namespace host {
namespace {

Host* g_current = nullptr;

// Names come from module memory: read at most this much of them.
constexpr size_t max_name = 256;

std::string name_of(const char* name) {
  return name == nullptr ? std::string() : std::string(name, strnlen(name, max_name));
}

int32_t HOSTCALL op_trigger_key_event(uint32_t id, uint32_t value) {
  return g_current != nullptr ? g_current->trigger_key_event(id, value) : 0;
}
int32_t HOSTCALL op_register_var_by_name(void* storage, int32_t type, const char* name) {
  return g_current != nullptr ? g_current->register_var_by_name(storage, type, name) : 0;
}
int32_t HOSTCALL op_initialize_var_by_name(MODULE_VAR* var, const char* name) {
  return g_current != nullptr ? g_current->initialize_var_by_name(var, name) : 0;
}
void HOSTCALL op_lookup_var(MODULE_VAR* var) {
  if (g_current != nullptr) g_current->lookup_var(var);
}
int32_t HOSTCALL op_unregister_var_by_name(const char* name) {
  return g_current != nullptr ? g_current->unregister_var_by_name(name) : 0;
}

bool inside(const PIXBOX& b, PIXPOINT p) {
  return p.x >= b.x && p.y >= b.y && p.x - b.x < b.w && p.y - b.y < b.h;
}

constexpr int max_elements = Module::max_elements;

}  // namespace

// ---- instance ------------------------------------------------------------------------

Instance::Instance(Host& host, Module& module, std::string name, PIXPOINT position)
    : host_(&host), module_(&module), name_(std::move(name)), position_(position) {}

Size Instance::size() const {
  const Bitmap& b = module_->bitmap(module_->root()->bitmap);
  return {b.w, b.h};
}

void Instance::service(int32_t code, uint32_t extra) {
  GAUGEHDR* h = module_->header();
  if (Observer* o = host_->observer()) o->service(*this, code, extra);
  host_->call(*this, [&] { h->service(h, code, extra); });
  if (code == PANEL_SERVICE_PRE_KILL) killed_ = true;
  if (code == PANEL_SERVICE_PRE_INSTALL) killed_ = false;
}

void Instance::draw() {
  service(PANEL_SERVICE_PRE_DRAW);
  elements_.clear();
  evaluate(module_->root(), 0);
}

void Instance::evaluate(ELEMENT_HEADER* e, int depth) {
  if (static_cast<int>(elements_.size()) >= max_elements || depth >= max_elements)
    throw ModuleError(module_->name() + ": element tree deeper or larger than " +
                      std::to_string(max_elements));
  ElementState s;
  s.element = e;
  s.kind = e->kind;
  if (e->kind == ELEMENT_KIND_ICON) {
    auto* icon = reinterpret_cast<ELEMENT_ICON*>(e);
    host_->variables().read_into(icon->source);
    s.source = icon->source.value.d;
    if (icon->value_routine != nullptr)
      s.value = host_->call(*this, [&] { return icon->value_routine(icon); });
    s.frame = icon_frame(s.value, icon->frame_count);
  } else if (e->kind == ELEMENT_KIND_NEEDLE) {
    evaluate_needle(reinterpret_cast<ELEMENT_NEEDLE*>(e), s);
  } else if (e->kind == ELEMENT_KIND_STRING) {
    evaluate_string(reinterpret_cast<ELEMENT_STRING*>(e), s);
  } else if (e->kind == ELEMENT_KIND_SLIDER) {
    evaluate_slider(reinterpret_cast<ELEMENT_SLIDER*>(e), s);
  }
  if (Observer* o = host_->observer()) o->value(*this, elements_.size(), s);
  elements_.push_back(std::move(s));
  if (e->next == nullptr) return;
  for (int i = 0; e->next[i] != nullptr; ++i) {
    if (i >= max_elements) throw ModuleError(module_->name() + ": next list without its end");
    evaluate(e->next[i], depth + 1);
  }
}

void Instance::evaluate_needle(ELEMENT_NEEDLE* n, ElementState& s) {
  if (n->row_count < 1 || n->row_count > 16 || n->calibration == nullptr || !module_->contains(n->calibration))
    throw ModuleError(module_->name() + ": needle without a calibration table");
  // The host fills each row's degrees: the row's direction seen from the pivot.
  NeedleStop stops[16];
  for (int i = 0; i < n->row_count; ++i) {
    NONLINEARITY& r = n->calibration[i];
    r.degrees = direction(n->header.position.x, n->header.position.y, r.x, r.y);
    stops[i] = {r.degrees, r.value};
  }
  host_->variables().read_into(n->source);
  s.source = n->source.value.d;
  if (n->value_routine != nullptr)
    s.value = host_->call(*this, [&] { return n->value_routine(n); });
  s.degrees = needle_direction({stops, static_cast<size_t>(n->row_count)}, s.value);
}

void Instance::evaluate_string(ELEMENT_STRING* e, ElementState& s) {
  // The buffer is followed by guard bytes: a routine that writes past its buffer is a
  // fault of the module, reported, never a silent overwrite of the host's memory.
  constexpr size_t guard = 16;
  constexpr char fill = static_cast<char>(0xA5);
  std::vector<char>& buf = text_buffers_[&e->header];
  buf.assign(TEXT_BUFFER_SIZE + guard, fill);
  buf[0] = '\0';
  for (MODULE_VAR& v : e->sources) host_->variables().read_into(v);
  s.source = e->sources[0].value.d;
  e->text = buf.data();
  if (e->value_routine != nullptr) s.value = host_->call(*this, [&] { return e->value_routine(e); });
  for (size_t i = TEXT_BUFFER_SIZE; i < buf.size(); ++i)
    if (buf[i] != fill)
      throw GaugeFault(module_->name() + ": a string routine wrote past its " +
                       std::to_string(TEXT_BUFFER_SIZE) + "-byte text buffer");
  const size_t len = strnlen(buf.data(), TEXT_BUFFER_SIZE);
  if (len == TEXT_BUFFER_SIZE)
    throw GaugeFault(module_->name() + ": a string routine left its text without a terminator");
  s.text.assign(buf.data(), len);
}

void Instance::evaluate_slider(ELEMENT_SLIDER* e, ElementState& s) {
  host_->variables().read_into(e->source_x);
  host_->variables().read_into(e->source_y);
  s.source = e->source_x.value.d;
  if (e->value_routine_x != nullptr) s.value = host_->call(*this, [&] { return e->value_routine_x(e); });
  if (e->value_routine_y != nullptr) s.value_y = host_->call(*this, [&] { return e->value_routine_y(e); });
  s.offset_x = slider_offset(s.value, e->scale_x);
  s.offset_y = slider_offset(s.value_y, e->scale_y);
}

std::vector<const MOUSERECT*> Instance::areas() const {
  std::vector<const MOUSERECT*> out;
  for (const MOUSERECT* r : module_->mouse_records())
    if (r->kind == MOUSE_CHILD) out.push_back(r);
  return out;
}

const MOUSERECT* Instance::area_at(PIXPOINT p) const {
  for (const MOUSERECT* a : areas())
    if (inside(a->box, p)) return a;
  return nullptr;
}

// ---- host ----------------------------------------------------------------------------

Host::Host() : previous_(g_current) {
  panels_.trigger_key_event = op_trigger_key_event;
  panels_.register_var_by_name = op_register_var_by_name;
  panels_.initialize_var_by_name = op_initialize_var_by_name;
  panels_.lookup_var = op_lookup_var;
  panels_.unregister_var_by_name = op_unregister_var_by_name;
  g_current = this;
}

Host::~Host() {
  held_.reset();
  while (!instances_.empty()) remove(*instances_.back());
  while (!modules_.empty()) unload(*modules_.back());
  g_current = previous_;
}

Host* Host::current() { return g_current; }

const Host::Named* Host::named(std::string_view name) const {
  auto it = named_.find(name);
  return it == named_.end() ? nullptr : &it->second;
}

Module& Host::load(const std::string& path) {
  for (auto& m : modules_)
    if (m->path() == path) return *m;
  std::unique_ptr<Module> m = Module::load(path);
  m->import_table()->panels.pointer = &panels_;
  modules_.push_back(std::move(m));
  return *modules_.back();
}

void Host::unload(Module& module) {
  for (size_t i = instances_.size(); i-- > 0;)
    if (&instances_[i]->module() == &module) remove(*instances_[i]);
  drop_module_storage(module);
  auto it = std::find_if(modules_.begin(), modules_.end(), [&](auto& m) { return m.get() == &module; });
  if (it != modules_.end()) modules_.erase(it);
}

void Host::drop_module_storage(const Module& m) {
  for (auto it = named_.begin(); it != named_.end();) {
    if (m.contains(it->second.storage)) {
      const std::string name = it->first;
      ++it;
      withdraw_named(name.c_str());
    } else {
      ++it;
    }
  }
  std::erase_if(bindings_, [&](const Binding& b) { return m.contains(b.var); });
}

Instance& Host::place(Module& module, PIXPOINT at, std::string name) {
  if (name.empty()) {
    const std::string base = module.name();
    name = base;
    for (int n = 2; find(name) != nullptr; ++n) name = base + "#" + std::to_string(n);
  }
  instances_.push_back(std::make_unique<Instance>(*this, module, std::move(name), at));
  return *instances_.back();
}

void Host::remove(Instance& instance) {
  if (held_ && held_->instance == &instance) held_.reset();
  if (!instance.killed()) instance.kill();
  std::erase_if(instances_, [&](auto& i) { return i.get() == &instance; });
}

Instance* Host::find(std::string_view name) {
  for (auto& i : instances_)
    if (i->name() == name) return i.get();
  return nullptr;
}

void Host::install_all() {
  for (auto& i : instances_) i->install();
  for (auto& i : instances_) i->initialise();
}

void Host::update() {
  for (auto& i : instances_) i->update();
}

void Host::draw() {
  for (auto& i : instances_) i->draw();
}

// ---- mouse and time ---------------------------------------------------------------------

void Host::call_handler(const Held& h, uint32_t flags) {
  PIXPOINT p = h.point;
  MOUSE_HANDLER handler = h.area->handler;
  const int32_t result = call(*h.instance, [&] { return handler(&p, flags); });
  if (observer_ != nullptr) {
    const auto areas = h.instance->areas();
    const size_t index = std::find(areas.begin(), areas.end(), h.area) - areas.begin();
    observer_->handler(*h.instance, index, h.point, flags, result);
  }
}

bool Host::press(Instance& instance, PIXPOINT point, Button button) {
  held_.reset();
  if (button != Button::Left) return false;
  const MOUSERECT* area = instance.area_at(point);
  if (area == nullptr || area->handler == nullptr || (area->mouse_flags & MOUSE_LEFT_CLICK) == 0)
    return false;
  held_ = Held{&instance, area, point, now_ + repeat_delay};
  call_handler(*held_, MOUSE_LEFT_CLICK);
  return true;
}

bool Host::repeat() {
  if (!held_ || (held_->area->mouse_flags & MOUSE_REPEAT) == 0) return false;
  call_handler(*held_, MOUSE_LEFT_CLICK | MOUSE_REPEAT);
  return true;
}

void Host::release() { held_.reset(); }

bool Host::click(Instance& instance, PIXPOINT point, Button button) {
  const bool called = press(instance, point, button);
  release();
  return called;
}

void Host::advance(double seconds) {
  if (!(seconds > 0)) return;
  const double end = now_ + seconds;
  while (held_ && (held_->area->mouse_flags & MOUSE_REPEAT) != 0 && held_->next_repeat <= end) {
    now_ = held_->next_repeat;
    held_->next_repeat += repeat_interval;
    repeat();
  }
  now_ = end;
}

// ---- host operations -----------------------------------------------------------------

int32_t Host::trigger_key_event(uint32_t id, uint32_t value) {
  events_.push_back({id, value});
  if (observer_ != nullptr) observer_->key_event(calling_, events_.back());
  if (on_key_event) on_key_event(events_.back());
  return 1;
}

int32_t Host::register_var_by_name(void* storage, int32_t type, const char* name) {
  const int32_t r = register_named(storage, type, name);
  if (observer_ != nullptr) observer_->named(calling_, "register_var_by_name", name_of(name), r);
  return r;
}

int32_t Host::initialize_var_by_name(MODULE_VAR* var, const char* name) {
  const int32_t r = bind_named(var, name);
  if (observer_ != nullptr) observer_->named(calling_, "initialize_var_by_name", name_of(name), r);
  return r;
}

int32_t Host::unregister_var_by_name(const char* name) {
  const int32_t r = withdraw_named(name);
  if (observer_ != nullptr) observer_->named(calling_, "unregister_var_by_name", name_of(name), r);
  return r;
}

int32_t Host::register_named(void* storage, int32_t type, const char* name) {
  if (storage == nullptr || name == nullptr) return 0;
  const std::string n = name_of(name);
  named_[n] = Named{storage, type};
  for (Binding& b : bindings_)
    if (b.name == n) b.var->pointer = storage;
  return 1;
}

int32_t Host::bind_named(MODULE_VAR* var, const char* name) {
  if (var == nullptr) return 0;
  const std::string n = name_of(name);
  std::erase_if(bindings_, [&](const Binding& b) { return b.var == var; });
  auto it = named_.find(n);
  if (it == named_.end()) {
    // Nothing published under that name: the binding holds no address.
    var->pointer = nullptr;
    return 0;
  }
  var->pointer = it->second.storage;
  var->type = static_cast<uint32_t>(it->second.type);
  bindings_.push_back({var, n});
  return 1;
}

void Host::lookup_var(MODULE_VAR* var) {
  if (var == nullptr) return;
  variables_.read_into(*var);
  if (observer_ != nullptr) observer_->lookup(calling_, *var);
}

int32_t Host::withdraw_named(const char* name) {
  const std::string n = name_of(name);
  auto it = named_.find(n);
  if (it == named_.end()) return 0;
  named_.erase(it);
  // A withdrawn name leaves no dangling binding: every module variable bound to it
  // holds a null address from now on, which its module can test.
  for (Binding& b : bindings_)
    if (b.name == n) b.var->pointer = nullptr;
  std::erase_if(bindings_, [&](const Binding& b) { return b.name == n; });
  return 1;
}

}  // namespace host
